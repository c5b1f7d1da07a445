#include "bridge/gate_chores.h"
namespace bridge {

GateChores::GateChores(const GateConfig& gate, const QString& stateDir, HostClock host,
                       const QDateTime& start)
    : clock_(gate.clock), host_(std::move(host)), start_(start) {
    if (gate.records) {
        records_ = std::make_unique<RecordCollection>(gate.name, *gate.records, stateDir, start);
    }
    if (clock_) {
        nextClock_ = NextRun(clock_->schedule, std::nullopt, start_, start_);
    }
}

GateChores::Turn GateChores::Advance(gate::GateLibrary& library, gate::Byte address,
                                     std::int32_t handle, const QDateTime& now) {
    Turn turn;
    if (records_) {
        turn.step = records_->Advance(library, address, handle, now);
        turn.records = records_->Finished();
        if (records_->Running() || turn.step == RecordCollection::Step::LinkTrouble) {
            return turn;
        }
    }
    if (clock_ && nextClock_.isValid() && now >= nextClock_) {
        turn.clock = SyncControllerClock(library, address, handle, *clock_, host_);
        nextClock_ = NextRun(clock_->schedule, turn.clock->time, start_, turn.clock->time);
    }
    return turn;
}

std::optional<RecordsOutcome> GateChores::Abort(const QString& why) {
    if (!records_ || !records_->Running()) {
        return std::nullopt;
    }
    records_->Abort(why);
    return records_->Finished();
}

}  // namespace bridge
