#pragma once

#include "gate/connection_state.h"
#include "gate/gate_library.h"

#include <QString>

#include <cstdint>

namespace records {

// The most records a controller's log is taken to hold. The count travels as an unsigned 32-bit
// number; a larger one is a corrupt or hostile reply, and acting on it (exporting nothing and
// calling that complete, then deleting) would lose the real log.
inline constexpr std::uint32_t kMaxRecordCount = 10'000'000;

// The state of the controller's record memory: how many records it holds and the times of the
// earliest and the latest one.
struct LogState {
    std::int32_t count = 0;  // 0 unless the reported count is within kMaxRecordCount
    gate::Clock6 earliest{};
    gate::Clock6 latest{};
    std::uint32_t reportedCount = 0;  // the count as the controller sent it
    bool countOutOfRange = false;     // reportedCount exceeds kMaxRecordCount

    // The query succeeded and its count can be believed: only then may the log be exported,
    // compared or deleted.
    static bool Usable(std::int32_t result, const LogState& state) {
        return result == gate::result::kOk && !state.countOutOfRange;
    }

    // Same log as far as the controller tells: equal counts and, when there are records, equal
    // earliest and latest times (the times of an empty log mean nothing).
    bool SameLogAs(const LogState& other) const {
        if (count != other.count) {
            return false;
        }
        return count == 0 || (earliest == other.earliest && latest == other.latest);
    }
};

// The state a GetBGLogDataStatus reply gives: the count is read as the unsigned number it is
// on the wire; one above kMaxRecordCount is marked out of range (the query then counts as
// failed, see LogState::Usable) and leaves count 0.
inline LogState LogStateOfReply(std::int32_t result, std::int32_t rawCount,
                                const gate::Clock6& earliest, const gate::Clock6& latest) {
    LogState state;
    state.earliest = earliest;
    state.latest = latest;
    state.reportedCount = static_cast<std::uint32_t>(rawCount);
    if (state.reportedCount > kMaxRecordCount) {
        state.countOutOfRange = result == gate::result::kOk;
    } else {
        state.count = rawCount;
    }
    return state;
}

// Calls GetBGLogDataStatus with the connection's fields; the result goes into LastResult.
inline LogState QueryLogState(gate::GateLibrary& library, gate::ConnectionState& c) {
    std::int32_t raw = 0;
    gate::Clock6 earliest{}, latest{};
    c.LastResult = library.GetBGLogDataStatus(c.ControllerAddress, raw, earliest, latest,
                                              c.ReplyStatus, c.PortHandle);
    return LogStateOfReply(c.LastResult, raw, earliest, latest);
}

// "the controller reports 4294967295 records, more than the 10000000 a log can hold": why an
// out-of-range count is refused, for messages in English.
inline QString OutOfRangeCountText(const LogState& state) {
    return QStringLiteral(
               "the controller reports %1 records, more than the %2 a log can hold; "
               "nothing was exported or deleted")
        .arg(state.reportedCount)
        .arg(kMaxRecordCount);
}

}  // namespace records
