#pragma once

#include "bridge/clock_sync.h"
#include "bridge/record_collection.h"
#include "bridge/site_config.h"

#include <QDateTime>

#include <memory>
#include <optional>

namespace bridge {

// The scheduled work of one gate besides its polls: the collection of its stored records and
// the sync of its clock, run by the gate's worker between two polls. The clock is never set in
// the middle of an export: a due sync waits for the export to end.
class GateChores {
public:
    struct Turn {
        RecordCollection::Step step = RecordCollection::Step::Idle;
        std::optional<RecordsOutcome> records;  // a collection that just ended
        std::optional<ClockSyncOutcome> clock;  // a clock sync that just ran
    };

    GateChores(const GateConfig& gate, const QString& stateDir, HostClock host,
               const QDateTime& start);

    bool Any() const { return records_ || clock_; }
    // One slice of what is due; Busy while more follows at once.
    Turn Advance(gate::GateLibrary& library, gate::Byte address, std::int32_t handle,
                 const QDateTime& now);
    // The link went down: a running collection ends without deleting.
    std::optional<RecordsOutcome> Abort(const QString& why);

private:
    std::unique_ptr<RecordCollection> records_;
    std::optional<ClockConfig> clock_;
    HostClock host_;
    QDateTime start_;
    QDateTime nextClock_;
};

}  // namespace bridge
