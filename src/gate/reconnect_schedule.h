#pragma once

#include <QtGlobal>

#include <functional>

namespace gate {

// When a link that went down may be reopened. The link is reopened by the calls that come
// after the loss, never by a timer of its own: a call may try once the last try is at least
// the interval old (the first call after the loss tries at once), and every other call in
// between answers at once. Closing the link by hand ends the retries.
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

    // A link was opened (by hand or by a retry).
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
    qint64 lastTry_ = 0;
    int tries_ = 0;
};

}  // namespace gate
