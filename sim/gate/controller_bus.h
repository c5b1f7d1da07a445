#pragma once

#include "shared_controller.h"

#include "gate/wire_frame.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace sim {

// What one request puts on the line: bytes to send after a delay, or a hang-up.
struct LineOutput {
    QByteArray bytes;
    int delayMs = 0;
    bool disconnect = false;
};

// The controllers on one line (an RS-485 bus behind one serial port or one network module),
// each with its own state, lock and faults, at distinct addresses. A request reaches every
// controller it is addressed to; when more than one answers (a request to the broadcast address
// FF), their replies go out on the wire at the same time and collide: the line carries the
// bitwise OR of the frames (a driven 1 wins over the idle line's 0 in this model), which no
// receiver can take for a valid reply.
class ControllerBus {
public:
    ControllerBus() = default;
    explicit ControllerBus(std::vector<SharedController*> controllers)
        : controllers_(std::move(controllers)) {}

    // The line's answer to one request: nothing when no controller answers.
    std::optional<LineOutput> Answer(const gate::wire::Request& request) const;

    const std::vector<SharedController*>& Controllers() const { return controllers_; }

private:
    std::vector<SharedController*> controllers_;
};

// One controller's answer to a request, with its pending faults applied; nothing when the
// request is for another address or a fault swallows it.
std::optional<LineOutput> AnswerOne(SharedController& controller,
                                    const gate::wire::Request& request);

// What the line carries when several controllers answer at once (see ControllerBus).
LineOutput Collide(const std::vector<LineOutput>& answers);

}  // namespace sim
