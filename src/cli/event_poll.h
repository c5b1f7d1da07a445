#pragma once

#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace cli {

// One fetch of `gatectl monitor --format events`, handled as gate-bridge handles it: the message
// becomes the bridge's event object (core/monitor/live_event.h: gate, id, mode, event, the
// decoded fields, the console's lines, the body), one JSON line written before the message is
// acknowledged. Messages the console shows nothing for (a repeated no-person report, an unknown
// kind) are written, with empty lines, and acknowledged too, so nothing waits in the controller.
// An acknowledgement whose reply was lost is repeated by the gate library before its next fetch.
// Ids are "<run>-<gate>-<n>": a random run id, the gate's name and a count from 1, so unique
// within the run (and, with the random part, across runs).
class EventPoll {
public:
    struct Sink {
        std::function<bool(const QString& line)> write;  // false: not written, no acknowledgement
        std::function<void(const QString& message)> note;
    };

    EventPoll(gate::GateLibrary& library, gate::ConnectionState& connection, QString gate,
              std::optional<std::array<gate::Byte, 6>> ledBuzzer, Sink sink);

    // Fetches one message in the given mode; the fetch's result stays in the connection's
    // LastResult (a failed lamp command is only noted).
    void Poll(bool easMode);

private:
    gate::GateLibrary& library_;
    gate::ConnectionState& connection_;
    QString gate_;
    std::optional<std::array<gate::Byte, 6>> ledBuzzer_;
    Sink sink_;
    QString runId_;
    qint64 count_ = 0;
    QString lastNoPerson_;
};

}  // namespace cli
