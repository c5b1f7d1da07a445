#include "gate/reconnect_schedule.h"

#include <QElapsedTimer>

#include <memory>

namespace gate {

ReconnectSchedule::ReconnectSchedule(Clock clock, qint64 intervalMs)
    : clock_(std::move(clock)), intervalMs_(intervalMs) {}

void ReconnectSchedule::Opened() {
    state_ = State::Up;
    tries_ = 0;
}

bool ReconnectSchedule::Lost() {
    if (state_ != State::Up) {
        return false;
    }
    state_ = State::Down;
    tries_ = 0;
    return true;
}

void ReconnectSchedule::Closed() {
    state_ = State::Idle;
    tries_ = 0;
    lastTry_.reset();
}

bool ReconnectSchedule::TryDue() {
    if (state_ != State::Down) {
        return false;
    }
    const qint64 now = clock_();
    if (lastTry_ && now - *lastTry_ < intervalMs_) {
        return false;
    }
    lastTry_ = now;
    ++tries_;
    return true;
}

ReconnectSchedule::Clock ReconnectSchedule::SteadyClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace gate
