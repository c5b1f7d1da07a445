#include "bridge/clock_sync.h"

#include "core/commands/clock_time.h"

#include <sys/timex.h>

namespace bridge {

namespace {

std::optional<qint64> Drift(gate::GateLibrary& library, gate::Byte address, std::int32_t handle,
                            const HostClock& host, std::int32_t* result) {
    gate::Byte a = address, s = 0;
    gate::Clock6 clock{};
    *result = library.GetClock(a, clock, s, handle);
    if (*result != gate::result::kOk) {
        return std::nullopt;
    }
    return commands::ClockDriftSeconds(clock, host.now());
}

bool KernelSynchronised() {
    const QByteArray forced = qgetenv("GATE_BRIDGE_HOST_SYNC");
    if (forced == "synchronised") {
        return true;
    }
    if (forced == "unsynchronised") {
        return false;
    }
    timex tx{};
    const int state = ::adjtimex(&tx);
    return state >= 0 && state != TIME_ERROR && (tx.status & STA_UNSYNC) == 0;
}

}  // namespace

HostClock HostClock::System() {
    return HostClock{KernelSynchronised, [] { return QDateTime::currentDateTime(); }};
}

QJsonObject ClockSyncOutcome::Json() const {
    const auto seconds = [](const std::optional<qint64>& v) {
        return v ? QJsonValue(*v) : QJsonValue();
    };
    return QJsonObject{
        {QStringLiteral("time"), time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate)},
        {QStringLiteral("drift_before_s"), seconds(driftBefore)},
        {QStringLiteral("drift_after_s"), seconds(driftAfter)},
        {QStringLiteral("set"), set},
        {QStringLiteral("why"), why.isEmpty() ? QJsonValue() : QJsonValue(why)},
    };
}

ClockSyncOutcome SyncControllerClock(gate::GateLibrary& library, gate::Byte address,
                                     std::int32_t handle, const ClockConfig& config,
                                     const HostClock& host) {
    ClockSyncOutcome out;
    out.time = host.now();
    std::int32_t r = 0;
    out.driftBefore = Drift(library, address, handle, host, &r);
    if (r != gate::result::kOk) {
        out.why = QStringLiteral("reading the clock failed (result %1)").arg(r);
        return out;
    }
    out.driftAfter = out.driftBefore;
    if (out.driftBefore && std::abs(*out.driftBefore) <= config.maxDriftS) {
        return out;  // in step: left alone
    }
    if (config.requireHostSync && !host.synchronised()) {
        out.why = QStringLiteral("this computer's clock is not synchronised");
        return out;
    }
    const QDateTime now = host.now();
    if (now.date().year() < 2000 || now.date().year() > 2099) {
        out.why =
            QStringLiteral("this computer's year %1 is outside 2000-2099").arg(now.date().year());
        return out;
    }
    gate::Byte a = address, s = 0;
    gate::Clock6 clock = commands::ClockOfLocalTime(now);
    r = library.SetClock(a, clock, s, handle);
    if (r != gate::result::kOk) {
        out.why = QStringLiteral("setting the clock failed (result %1)").arg(r);
        return out;
    }
    out.set = true;
    out.driftAfter = Drift(library, address, handle, host, &r);
    return out;
}

}  // namespace bridge
