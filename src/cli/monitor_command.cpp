// gatectl monitor: the console's live monitoring without the window.
#include "cli/controller_command.h"
#include "cli/monitor_session.h"
#include "cli/subcommands.h"
#include "core/commands/device_values.h"

#include <QRegularExpression>

namespace cli {

namespace {

// "a,b,c,d,e,f": buzzer on, buzzer off, beep count, LED on, LED off, flash count, as the
// console's lamp and buzzer lists hold them (flash count 0 to 127, the others 0 to 255).
std::optional<std::array<gate::Byte, 6>> ParseLedBuzzer(const QString& text) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 6) {
        return std::nullopt;
    }
    std::array<gate::Byte, 6> values{};
    for (int i = 0; i < 6; ++i) {
        const auto v = commands::ParseDigits(parts.at(i).trimmed());
        const int max = i == 5 ? 127 : 255;
        if (!v || *v > max) {
            return std::nullopt;
        }
        values[static_cast<std::size_t>(i)] = static_cast<gate::Byte>(*v);
    }
    return values;
}

}  // namespace

int RunMonitor(const QString& words, const QStringList& arguments) {
    CommandLine cl(words,
                   QStringLiteral("Poll the controller's live messages in its mode, like the "
                                  "console, and print each display line (or JSON object) as it "
                                  "comes. Runs until SIGINT or SIGTERM; a lost link is reopened."));
    AddLinkOptions(cl);
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("lines (the console's display lines, the "
                                                   "default), jsonl (the lines as JSON), or "
                                                   "events (gate-bridge's event objects)."),
                                    QStringLiteral("FORMAT"), QStringLiteral("lines"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("Write to one UTF-8 file per local day in DIR, YYYY-MM-DD.log (or "
                       ".jsonl), flushed per line, instead of standard output."),
        QStringLiteral("DIR"));
    const QCommandLineOption noAck(QStringLiteral("no-ack"),
                                   QStringLiteral("Watch only: acknowledge nothing, so the "
                                                  "messages stay for another reader."));
    const QCommandLineOption ledBuzzer(
        QStringLiteral("led-buzzer"),
        QStringLiteral("Drive the red lamp and the buzzer for each tagged passage, as the "
                       "console does: buzzer on, buzzer off, beeps, LED on, LED off, flashes "
                       "(x100 ms and counts; flashes up to 127). Off unless given."),
        QStringLiteral("a,b,c,d,e,f"));
    const QCommandLineOption gateName(
        QStringLiteral("gate"),
        QStringLiteral("With --format events: the gate's name in each event and its id "
                       "(letters, digits, '-', '_'; default \"gate\")."),
        QStringLiteral("NAME"), QStringLiteral("gate"));
    for (const auto& o : {format, output, noAck, ledBuzzer, gateName}) {
        cl.AddOption(o);
    }
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return exitCode;
    }
    MonitorOptions options;
    const QString formatName = cl.Value(format);
    if (formatName != u"lines" && formatName != u"jsonl" && formatName != u"events") {
        return cl.Fail(UsageFailure(
            QStringLiteral("--format %1: expected lines, jsonl or events").arg(formatName)));
    }
    options.events = formatName == u"events";
    options.jsonLines = !options.events && (formatName == u"jsonl" || cl.Json());
    options.gateName = cl.Value(gateName);
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z0-9_-]+$"));
    if (!kName.match(options.gateName).hasMatch()) {
        return cl.Fail(UsageFailure(
            QStringLiteral("--gate %1: letters, digits, '-' and '_' only").arg(options.gateName)));
    }
    if (options.events && cl.IsSet(noAck)) {
        return cl.Fail(UsageFailure(QStringLiteral(
            "--format events and --no-ack do not go together: an event's id names one message, "
            "and without acknowledging it a message delivered again cannot be told from a new "
            "one")));
    }
    options.outputDirectory = cl.Value(output);
    if (cl.IsSet(output) && options.outputDirectory.isEmpty()) {
        return cl.Fail(UsageFailure(QStringLiteral("--output wants a directory")));
    }
    options.acknowledge = !cl.IsSet(noAck);
    if (cl.IsSet(ledBuzzer)) {
        options.ledBuzzer = ParseLedBuzzer(cl.Value(ledBuzzer));
        if (!options.ledBuzzer) {
            return cl.Fail(UsageFailure(
                QStringLiteral("--led-buzzer %1: expected six numbers a,b,c,d,e,f (0 to 255, "
                               "the last 0 to 127)")
                    .arg(cl.Value(ledBuzzer))));
        }
        if (!options.acknowledge) {
            return cl.Fail(UsageFailure(
                QStringLiteral("--led-buzzer and --no-ack do not go together: a watcher that "
                               "leaves the messages to another reader must not drive the gate")));
        }
    }
    const util::SystemClock clock;
    if (!options.outputDirectory.isEmpty()) {
        monitor::JournalWriter probe(options.outputDirectory, QStringLiteral("log"), clock);
        QString error;
        if (!probe.Prepare(&error)) {
            return cl.Fail(FileFailure(error));
        }
    }
    const Opened opened = OpenLink(cl, *link);
    if (!opened) {
        return opened.exitCode;
    }
    MonitorSession session(*opened.connection, options, clock, cl.Name());
    return session.Run();
}

}  // namespace cli
