#pragma once

#include "controller_state.h"
#include "shared_controller.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// The UID of a stamped passage: a marker byte, then the microseconds since the epoch (the
// system clock) at which the message was queued, in seven bytes, most significant first. A
// consumer on the same computer gets the latency from the event alone.
constexpr Byte kStampMarker = 0xB5;
Uid8 StampUid(std::int64_t queuedUs);
std::optional<std::int64_t> UidStamp(const Uid8& uid);

// Message n (from 0) of a steady stream at rate a second, started offsetUs into the period, is
// due at offsetUs + n / rate seconds; how many are due by elapsedUs (bounded by count when it is
// not 0).
std::int64_t DueMessages(std::int64_t elapsedUs, int rate, std::int64_t offsetUs,
                         std::int64_t count);

// A steady load for benchmarks: every controller queues `rate` tagged passages a second in
// channel-management mode (forward, no tag data), evenly spaced, the controllers staggered over
// one period so that the load is even. Each UID carries its queue time (StampUid). With count
// set, each controller stops after that many. A full queue refuses a message: it counts as
// dropped and is not retried. Runs on its own thread (a ServerThread), on a precise timer.
class SteadyTraffic : public QObject {
public:
    static constexpr int kTickMs = 2;

    SteadyTraffic(std::vector<SharedController*> controllers, int rate, std::int64_t count);

    std::int64_t Queued() const { return queued_; }
    std::int64_t Dropped() const { return dropped_; }

private:
    void Tick();

    std::vector<SharedController*> controllers_;
    int rate_;
    std::int64_t count_;
    std::vector<std::int64_t> sent_;
    std::int64_t queued_ = 0;
    std::int64_t dropped_ = 0;
    QElapsedTimer clock_;
    QTimer timer_;
};

}  // namespace sim
