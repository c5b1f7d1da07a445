#pragma once

#include "controller_bus.h"

#include "gate/wire_frame.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace sim {

// The controllers' side of one line: cuts request frames out of the incoming bytes
// (resynchronising after garbage) and lets the line's controllers answer them, pending faults
// applied. Used by the TCP connections and the pseudo-terminal alike; holds no I/O. The bus
// must outlive it.
class RequestProcessor {
public:
    explicit RequestProcessor(const ControllerBus& bus) : bus_(bus) {}

    std::vector<LineOutput> Feed(QByteArrayView bytes);
    void Reset() { scanner_.Clear(); }

private:
    const ControllerBus& bus_;
    gate::wire::RequestScanner scanner_;
};

}  // namespace sim
