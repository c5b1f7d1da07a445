#pragma once

#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <cstdint>

namespace records {

// The state of the controller's record memory: how many records it holds and the times of the
// earliest and the latest one.
struct LogState {
    std::int32_t count = 0;
    gate::Clock6 earliest{};
    gate::Clock6 latest{};

    // Same log as far as the controller tells: equal counts and, when there are records, equal
    // earliest and latest times (the times of an empty log mean nothing).
    bool SameLogAs(const LogState& other) const {
        if (count != other.count) {
            return false;
        }
        return count == 0 || (earliest == other.earliest && latest == other.latest);
    }
};

// Calls GetBGLogDataStatus with the connection's fields; the result goes into LastResult. The
// count is 0 unless the library wrote one.
inline LogState QueryLogState(gate::GateLibrary& library, gate::ConnectionState& c) {
    LogState state;
    c.LastResult = library.GetBGLogDataStatus(c.ControllerAddress, state.count, state.earliest,
                                              state.latest, c.ReplyStatus, c.PortHandle);
    return state;
}

}  // namespace records
