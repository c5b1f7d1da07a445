#pragma once

#include "shared_controller.h"

#include "gate/wire_frame.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace sim {

// What one request puts on the line: bytes to send after a delay, or a hang-up.
struct LineOutput {
    QByteArray bytes;
    int delayMs = 0;
    bool disconnect = false;
};

// The controller's side of one line: cuts request frames out of the incoming bytes
// (resynchronising after garbage), lets the model answer them and applies pending faults.
// Used by the TCP connections and the pseudo-terminal alike; holds no I/O.
class RequestProcessor {
public:
    explicit RequestProcessor(SharedController& shared) : shared_(shared) {}

    std::vector<LineOutput> Feed(QByteArrayView bytes);
    void Reset() { scanner_.Clear(); }

private:
    std::optional<LineOutput> Answer(const gate::wire::Request& request);

    SharedController& shared_;
    gate::wire::RequestScanner scanner_;
};

}  // namespace sim
