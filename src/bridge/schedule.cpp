#include "bridge/schedule.h"

#include <QRegularExpression>

namespace bridge {

std::optional<QTime> ParseTimeOfDay(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([01][0-9]|2[0-3]):([0-5][0-9])$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return QTime(m.captured(1).toInt(), m.captured(2).toInt());
}

std::optional<qint64> ParseInterval(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,6})([smh])$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const qint64 n = m.captured(1).toLongLong();
    const QChar unit = m.captured(2).at(0);
    const qint64 ms = n * (unit == u's' ? 1000 : unit == u'm' ? 60'000 : 3'600'000);
    return ms > 0 ? std::optional<qint64>(ms) : std::nullopt;
}

namespace {

// The first minute from `at` on, on `day`, that the local clock shows; nothing when none does.
std::optional<QDateTime> RunOnDay(QDate day, QTime at) {
    for (QTime t = at; t.isValid() && t >= at; t = t.addSecs(60)) {
        const QDateTime candidate(day, t);
        // A time the clock jumps over either comes back invalid or moved to another time.
        if (candidate.isValid() && candidate.date() == day && candidate.time() == t) {
            return candidate;
        }
        if (t == QTime(23, 59)) {
            break;
        }
    }
    return std::nullopt;
}

}  // namespace

QDateTime NextDailyRun(QTime at, const QDateTime& after) {
    const QDate today = after.toLocalTime().date();
    for (QDate day = today.addDays(-1); day <= today.addDays(2); day = day.addDays(1)) {
        // On a day when `at` exists twice, QDateTime names one moment for it, always the same:
        // once that one has passed, the next run is the next day's.
        const std::optional<QDateTime> run = RunOnDay(day, at);
        if (run && *run > after) {
            return *run;
        }
    }
    return {};
}

QDateTime NextRun(const Schedule& schedule, const std::optional<QDateTime>& lastRun,
                  const QDateTime& start, const QDateTime& now) {
    QDateTime next;
    if (schedule.everyMs > 0) {
        next = (lastRun ? *lastRun : start).addMSecs(schedule.everyMs);
    } else if (schedule.at) {
        next = NextDailyRun(*schedule.at, lastRun ? *lastRun : start);
    } else {
        return {};
    }
    return next <= now ? now : next;
}

}  // namespace bridge
