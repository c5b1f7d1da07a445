#include "core/commands/clock_time.h"

namespace commands {

gate::Clock6 ClockOfLocalTime(const QDateTime& time) {
    const QDate d = time.date();
    const QTime t = time.time();
    return {static_cast<gate::Byte>(d.year() % 100), static_cast<gate::Byte>(d.month()),
            static_cast<gate::Byte>(d.day()),        static_cast<gate::Byte>(t.hour()),
            static_cast<gate::Byte>(t.minute()),     static_cast<gate::Byte>(t.second())};
}

std::optional<QDateTime> LocalTimeOfClock(const gate::Clock6& clock) {
    const QDate d(2000 + clock[0], clock[1], clock[2]);
    const QTime t(clock[3], clock[4], clock[5]);
    if (clock[0] > 99 || !d.isValid() || !t.isValid()) {
        return std::nullopt;
    }
    return QDateTime(d, t);
}

std::optional<qint64> ClockDriftSeconds(const gate::Clock6& clock, const QDateTime& now) {
    const std::optional<QDateTime> controller = LocalTimeOfClock(clock);
    if (!controller) {
        return std::nullopt;
    }
    QDateTime whole = now;
    whole.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    return whole.secsTo(*controller);
}

}  // namespace commands
