#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

namespace gate {

// When a link that went down may be reopened. The link is reopened by the calls that come
// after the loss, never by a timer of its own: a call may try once the last try is at least
// the interval old, and every other call in between answers at once. The first call after a
// loss tries at once unless a try was made less than the interval ago: a link that comes back
// and drops again straight away is tried no more than once per interval. Closing the link by
// hand ends the retries.
class ReconnectSchedule {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<qint64()>;

    enum class State {
        Idle,  // no link, or closed by hand: nothing to reopen
        Up,    // the link is open
        Down,  // the link went down by itself: later calls try to reopen it
    };

    // intervalMs: LinkTiming::reopenIntervalMs.
    ReconnectSchedule(Clock clock, qint64 intervalMs);

    // A link was opened by hand, or a retry proved it back (its first whole reply came).
    void Opened();
    // The open link went down by itself; false when it was not up (nothing changes then).
    bool Lost();
    // The link was closed or replaced by hand: no more retries.
    void Closed();

    // Whether a call may try to reopen now; when it may, the try is counted from now.
    bool TryDue();

    State Current() const { return state_; }
    // Tries since the link went down.
    int Tries() const { return tries_; }

    // A monotonic clock of the process.
    static Clock SteadyClock();

private:
    Clock clock_;
    qint64 intervalMs_;
    State state_ = State::Idle;
    std::optional<qint64> lastTry_;  // kept across reopens: the interval holds through them
    int tries_ = 0;
};

}  // namespace gate
