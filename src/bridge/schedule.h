#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace bridge {

// When a recurring job of the bridge runs: daily at a local time (`at = "02:15"`), or at a
// fixed interval counted from the bridge's start (`every = "6h"`).
struct Schedule {
    std::optional<QTime> at;  // minutes only
    qint64 everyMs = 0;

    bool Enabled() const { return at.has_value() || everyMs > 0; }
    bool operator==(const Schedule&) const = default;
};

// "HH:MM", 00:00 to 23:59; nothing for another text.
std::optional<QTime> ParseTimeOfDay(const QString& text);
// "90s", "15m", "6h": a whole number and its unit; nothing for another text or zero.
std::optional<qint64> ParseInterval(const QString& text);

// The first moment after `after` at which the local clock reads `at`. On a day when that time
// does not exist (the clock jumps over it), the first minute after it that exists; on a day
// when it exists twice (the clock goes back), only the first of the two.
QDateTime NextDailyRun(QTime at, const QDateTime& after);

// When the job runs next. lastRun: the end of the last run (kept across restarts); start: when
// the bridge started; now: the current time. A run missed while the bridge was down (the
// scheduled time after lastRun has passed) is due at once; without a lastRun nothing was
// missed. `every` counts from the last run, and from the start when there is none.
// An invalid QDateTime when the schedule is off.
QDateTime NextRun(const Schedule& schedule, const std::optional<QDateTime>& lastRun,
                  const QDateTime& start, const QDateTime& now);

}  // namespace bridge
