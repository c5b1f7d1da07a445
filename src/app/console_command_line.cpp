#include "app/console_command_line.h"

#include <QCommandLineParser>

#include "util/command_line.h"

namespace app {

namespace {

// The parser with gate-console's options, and the standard --help and --version.
struct ConsoleParser {
    QCommandLineParser parser;
    util::ProgramCommandLine standard{parser, QStringLiteral("gate-console")};
    QCommandLineOption demo{
        QStringLiteral("demo"),
        QStringLiteral("Start with a simulated gate controller on this computer (loopback TCP "
                       "and pseudo-terminals, mapped onto the lowest free COM numbers) sending "
                       "lifelike traffic, for training and demonstrations.")};
    QCommandLineOption com{
        QStringLiteral("com"),
        QStringLiteral("Map COM number N (1 to 255) onto the serial device PATH; repeatable. "
                       "When given, these mappings are the whole COM port list. Without it, "
                       "USB serial adapters (/dev/ttyUSB*), then USB modems (/dev/ttyACM*), "
                       "then the on-board ports (/dev/ttyS*) get COM1, COM2, ... in order."),
        QStringLiteral("N=PATH")};
    QCommandLineOption journal{
        QStringLiteral("journal"),
        QStringLiteral("Keep an event journal in DIR (created if missing): every line added to "
                       "a live list as the list shows it (in the language of the windows), with "
                       "the local time it was shown and the list's caption, "
                       "is appended to DIR/YYYY-MM-DD.log, one UTF-8 file per local day, "
                       "flushed per line. A journal that cannot be written is reported once and "
                       "never stops the monitoring. Off unless given: without it the console "
                       "keeps nothing between runs."),
        QStringLiteral("DIR")};
    QCommandLineOption lang{
        QStringLiteral("lang"),
        QStringLiteral("Language of the windows: zh (Simplified Chinese, the default) or en "
                       "(English). Qt's own texts (standard buttons, context menus, file "
                       "dialogs) follow it. Nothing else chooses the language: neither LANG nor "
                       "the system locale. Record exports, the wire protocol and the module "
                       "protocol stay the same in either language; the event journal keeps the "
                       "lines as the lists show them."),
        QStringLiteral("LANG")};

    ConsoleParser() {
        parser.setApplicationDescription(QStringLiteral(
            "Desktop console for an RFID passage gate: connect to one gate controller over a\n"
            "serial line or the network, send commands, read and write its settings, watch its\n"
            "live events, export its stored records, and find and configure serial-to-Ethernet\n"
            "modules on the local network.\n"
            "Record exports go to the program's folder; when that is not writable, or the\n"
            "program is installed in the system, to the user's documents folder."));
        parser.addOption(demo);
        parser.addOption(com);
        parser.addOption(journal);
        parser.addOption(lang);
    }
};

// Parses and checks; the COM table is built only when wanted (discovery probes the devices).
ConsoleOptions Parse(const QStringList& arguments, bool buildComTable) {
    ConsoleParser console;
    ConsoleOptions options;
    options.exitCode = console.standard.Parse(arguments);
    if (options.exitCode) {
        return options;
    }
    QMap<int, QString> mappings;
    for (const QString& value : console.parser.values(console.com)) {
        const auto mapping = gate::ComPortTable::ParseMapping(value);
        if (!mapping) {
            options.exitCode = console.standard.UsageError(
                QStringLiteral("--com wants N=PATH with N from 1 to 255: ") + value);
            return options;
        }
        mappings.insert(mapping->first, mapping->second);
    }
    options.demo = console.parser.isSet(console.demo);
    if (console.parser.isSet(console.journal)) {
        options.journalDirectory = console.parser.value(console.journal);
        if (options.journalDirectory.isEmpty()) {
            options.exitCode =
                console.standard.UsageError(QStringLiteral("--journal wants a folder"));
            return options;
        }
    }
    if (console.parser.isSet(console.lang)) {
        const QString name = console.parser.value(console.lang);
        const std::optional<ConsoleLanguage> language = ParseConsoleLanguage(name);
        if (!language) {
            options.exitCode =
                console.standard.UsageError(QStringLiteral("--lang wants en or zh: ") + name);
            return options;
        }
        options.language = *language;
    }
    if (buildComTable) {
        options.comPorts =
            mappings.isEmpty() ? gate::ComPortTable::Discover() : gate::ComPortTable(mappings);
    }
    return options;
}

}  // namespace

std::optional<int> AnswerBeforeApplication(int argc, char** argv) {
    const QStringList arguments = util::ArgumentList(argc, argv);
    const ConsoleParser console;
    if (const std::optional<int> answered = console.standard.AnswerHelpOrVersion(arguments)) {
        return answered;
    }
    for (const QString& a : arguments.mid(1)) {
        if (a == u"--") {
            break;
        }
        if (a.size() > 2 && a.startsWith(u'-') && a[1] != u'-') {
            return std::nullopt;  // perhaps one of Qt's options: checked after Qt took them
        }
    }
    return Parse(arguments, false).exitCode;
}

ConsoleOptions ParseConsoleOptions(const QStringList& arguments) {
    return Parse(arguments, true);
}

}  // namespace app
