// gatectl clock get | set | sync: the controller's real-time clock.
#include "cli/controller_command.h"
#include "cli/subcommands.h"
#include "core/commands/clock_time.h"
#include "core/records/record_fields.h"

#include <QDateTime>
#include <QJsonObject>
#include <QThread>

namespace cli {

namespace {

const QString kGetCaption = QStringLiteral("查询实时时钟");
const QString kSetCaption = QStringLiteral("设置实时时钟");

// "YYYY-MM-DD hh:mm:ss" (or with a "T") in the years the controller can hold, 2000 to 2099.
std::optional<QDateTime> ParseClockText(const QString& text) {
    QDateTime t = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid()) {
        t = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    if (!t.isValid() || t.date().year() < 2000 || t.date().year() > 2099) {
        return std::nullopt;
    }
    return t;
}

QJsonObject ClockJson(const gate::Clock6& clock) {
    return {{QStringLiteral("clock"), records::IsoTimeText(clock)}};
}

std::int32_t ReadClock(GateConnection& conn, gate::Clock6& clock) {
    gate::ConnectionState& c = conn.State();
    c.LastResult = conn.Library().GetClock(c.ControllerAddress, clock, c.ReplyStatus, c.PortHandle);
    return c.LastResult;
}

std::int32_t WriteClock(GateConnection& conn, gate::Clock6 clock) {
    gate::ConnectionState& c = conn.State();
    c.LastResult = conn.Library().SetClock(c.ControllerAddress, clock, c.ReplyStatus, c.PortHandle);
    return c.LastResult;
}

}  // namespace

int RunClockGet(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Read the controller's real-time clock."));
    AddLinkOptions(cl);
    Opened opened = ParseAndOpen(cl, arguments);
    if (!opened.connection) {
        return opened.exitCode;
    }
    gate::Clock6 clock{};
    if (const std::int32_t r = ReadClock(*opened.connection, clock); r != 0) {
        return cl.Fail(ResultFailure(kGetCaption, r));
    }
    return cl.Succeed(ClockJson(clock), {TimeString(clock)});
}

int RunClockSet(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Set the controller's real-time clock."));
    AddLinkOptions(cl);
    cl.AddPositional(QStringLiteral("time"),
                     QStringLiteral("Local time \"YYYY-MM-DD hh:mm:ss\" (years 2000 to 2099)."),
                     QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    cl.SetPositionalCount(1, 1);
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return exitCode;
    }
    const auto time = ParseClockText(cl.Positional().first());
    if (!time) {
        return cl.Fail(UsageFailure(
            QStringLiteral("\"%1\" is not a time \"YYYY-MM-DD hh:mm:ss\" from 2000 to 2099")
                .arg(cl.Positional().first())));
    }
    const Opened opened = OpenLink(cl, *link);
    if (!opened) {
        return opened.exitCode;
    }
    const gate::Clock6 clock = commands::ClockOfLocalTime(*time);
    if (const std::int32_t r = WriteClock(*opened.connection, clock); r != 0) {
        return cl.Fail(ResultFailure(kSetCaption, r));
    }
    return cl.Succeed(ClockJson(clock), {QStringLiteral("clock set to ") + TimeString(clock)});
}

int RunClockSync(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Set the controller's clock to this computer's local "
                                         "time and show how far off it was."));
    AddLinkOptions(cl);
    Opened opened = ParseAndOpen(cl, arguments);
    if (!opened.connection) {
        return opened.exitCode;
    }
    gate::Clock6 before{};
    if (const std::int32_t r = ReadClock(*opened.connection, before); r != 0) {
        return cl.Fail(ResultFailure(kGetCaption, r));
    }
    const std::optional<qint64> drift =
        commands::ClockDriftSeconds(before, QDateTime::currentDateTime());

    // The clock counts whole seconds: set it as a second begins, so that it starts in step.
    const QDateTime now = QDateTime::currentDateTime();
    QThread::msleep(static_cast<unsigned long>(1000 - now.time().msec()));
    const QDateTime target = now.addMSecs(1000 - now.time().msec());
    const gate::Clock6 clock = commands::ClockOfLocalTime(target);
    if (const std::int32_t r = WriteClock(*opened.connection, clock); r != 0) {
        return cl.Fail(ResultFailure(kSetCaption, r));
    }

    QJsonObject json{{QStringLiteral("clock_before"), records::IsoTimeText(before)},
                     {QStringLiteral("clock"), records::IsoTimeText(clock)}};
    QStringList lines{QStringLiteral("controller clock was ") + TimeString(before)};
    if (drift) {
        json.insert(QStringLiteral("drift_seconds"), *drift);
        lines << QStringLiteral("drift: %1 s (%2)")
                     .arg(*drift > 0 ? QStringLiteral("+%1").arg(*drift) : QString::number(*drift),
                          *drift == 0  ? QStringLiteral("in step")
                          : *drift > 0 ? QStringLiteral("the controller was ahead")
                                       : QStringLiteral("the controller was behind"));
    } else {
        json.insert(QStringLiteral("drift_seconds"), QJsonValue::Null);
        lines << QStringLiteral("drift: unknown (the controller's clock was not a valid time)");
    }
    lines << QStringLiteral("clock set to ") + TimeString(clock);
    return cl.Succeed(json, lines);
}

}  // namespace cli
