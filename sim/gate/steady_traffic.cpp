#include "steady_traffic.h"

#include <chrono>

namespace sim {

namespace {

constexpr Byte kForward = 0x01;

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

Uid8 StampUid(std::int64_t queuedUs) {
    Uid8 uid{};
    uid[0] = kStampMarker;
    for (int i = 7; i >= 1; --i) {
        uid[static_cast<std::size_t>(i)] = static_cast<Byte>(queuedUs & 0xFF);
        queuedUs >>= 8;
    }
    return uid;
}

std::optional<std::int64_t> UidStamp(const Uid8& uid) {
    if (uid[0] != kStampMarker) {
        return std::nullopt;
    }
    std::int64_t us = 0;
    for (std::size_t i = 1; i < uid.size(); ++i) {
        us = (us << 8) | uid[i];
    }
    return us;
}

std::int64_t DueMessages(std::int64_t elapsedUs, int rate, std::int64_t offsetUs,
                         std::int64_t count) {
    if (rate <= 0 || elapsedUs < offsetUs) {
        return 0;
    }
    // Message n is due at offset + n * 1e6 / rate: n <= (elapsed - offset) * rate / 1e6.
    const std::int64_t due = (elapsedUs - offsetUs) * rate / 1000000 + 1;
    return count > 0 ? std::min(due, count) : due;
}

SteadyTraffic::SteadyTraffic(std::vector<SharedController*> controllers, int rate,
                             std::int64_t count)
    : controllers_(std::move(controllers)),
      rate_(rate),
      count_(count),
      sent_(controllers_.size(), 0),
      timer_(this) {
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &SteadyTraffic::Tick);
    timer_.start();
    Tick();
}

void SteadyTraffic::Tick() {
    const std::int64_t elapsedUs = clock_.nsecsElapsed() / 1000;
    const std::int64_t periodUs = 1000000 / rate_;
    const auto n = static_cast<std::int64_t>(controllers_.size());
    for (std::size_t i = 0; i < controllers_.size(); ++i) {
        const std::int64_t offsetUs = periodUs * static_cast<std::int64_t>(i) / n;
        const std::int64_t due = DueMessages(elapsedUs, rate_, offsetUs, count_);
        for (; sent_[i] < due; ++sent_[i]) {
            const bool taken = controllers_[i]->With([&](ControllerModel& model, FaultPlan&) {
                const Clock6 now = model.Now();
                const Uid8 uid = StampUid(NowUs());
                QByteArray body(reinterpret_cast<const char*>(uid.data()), 8);
                body.append(static_cast<char>(kForward));
                body.append(reinterpret_cast<const char*>(now.data()), 6);
                return model.ChannelQueue().Push(0, body);
            });
            ++(taken ? queued_ : dropped_);
        }
    }
}

}  // namespace sim
