#pragma once

#include "bridge/collection_config.h"
#include "gate/gate_library.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

namespace bridge {

// This computer's clock as the clock sync sees it; tests put in their own.
struct HostClock {
    std::function<bool()> synchronised;  // the kernel's NTP state says the clock is in step
    std::function<QDateTime()> now;

    // The kernel's view (adjtimex: STA_UNSYNC clear) and the local time. For tests, the
    // environment variable GATE_BRIDGE_HOST_SYNC=synchronised|unsynchronised replaces the
    // kernel's answer.
    static HostClock System();
};

// What one clock sync of a gate did, for its state topic.
struct ClockSyncOutcome {
    QDateTime time;
    std::optional<qint64> driftBefore;  // the controller's clock minus this computer's, seconds
    std::optional<qint64> driftAfter;
    bool set = false;
    QString why;  // why it was not set, or why it failed

    QJsonObject Json() const;
};

// Reads the controller's clock and sets it to this computer's local time when it is off by more
// than max_drift_s, as `gatectl clock sync` does, but only while this computer's clock is
// synchronised (with require_host_sync) and its year lies within the controller's 2000-2099, so
// that a wrong clock here never spreads to every gate.
ClockSyncOutcome SyncControllerClock(gate::GateLibrary& library, gate::Byte address,
                                     std::int32_t handle, const ClockConfig& config,
                                     const HostClock& host);

}  // namespace bridge
