#include "cli/subcommands.h"

#include "cli/command_line.h"
#include "cli/console_io.h"
#include "cli/global_options.h"

#include <array>

namespace cli {

namespace {

const std::array<Subcommand, 15> kSubcommands{{
    {QStringLiteral("info"), QStringLiteral("Identity, mode, reader, infrared and record memory."),
     RunInfo},
    {QStringLiteral("clock get"), QStringLiteral("Read the controller's clock."), RunClockGet},
    {QStringLiteral("clock set"), QStringLiteral("Set the controller's clock."), RunClockSet},
    {QStringLiteral("clock sync"),
     QStringLiteral("Set the controller's clock to this computer's local time."), RunClockSync},
    {QStringLiteral("records status"), QStringLiteral("State of the stored records."),
     RunRecordsStatus},
    {QStringLiteral("records export"),
     QStringLiteral("Export the stored records (text, csv, jsonl), optionally deleting them."),
     RunRecordsExport},
    {QStringLiteral("records delete"), QStringLiteral("Delete all stored records."),
     RunRecordsDelete},
    {QStringLiteral("settings backup"), QStringLiteral("Save every setting to a JSON document."),
     RunSettingsBackup},
    {QStringLiteral("settings restore"),
     QStringLiteral("Write a settings document to the controller and verify it."),
     RunSettingsRestore},
    {QStringLiteral("settings diff"),
     QStringLiteral("Show what differs between a settings document and the controller."),
     RunSettingsDiff},
    {QStringLiteral("monitor"),
     QStringLiteral("Poll live events like the console, to standard output or daily files."),
     RunMonitor},
    {QStringLiteral("modules search"), QStringLiteral("Find the network modules by broadcast."),
     RunModulesSearch},
    {QStringLiteral("modules get"), QStringLiteral("Read every parameter of a network module."),
     RunModulesGet},
    {QStringLiteral("modules set"), QStringLiteral("Change parameters of a network module."),
     RunModulesSet},
    {QStringLiteral("modules change-ip"), QStringLiteral("Change a network module's IP address."),
     RunModulesChangeIp},
}};

QString Overview(const QString& group) {
    QStringList lines{
        group.isEmpty()
            ? QStringLiteral("Usage: gatectl [global options] SUBCOMMAND [options]")
            : QStringLiteral("Usage: gatectl [global options] %1 SUBCOMMAND [options]").arg(group),
        QString(), QStringLiteral("The gate console's companion on the command line."), QString(),
        QStringLiteral("Subcommands:")};
    for (const Subcommand& s : kSubcommands) {
        if (group.isEmpty() || s.words.startsWith(group + u' ')) {
            lines << QStringLiteral("  %1%2").arg(s.words.leftJustified(20), s.summary);
        }
    }
    lines << QString()
          << QStringLiteral(
                 "Global options, before or after the subcommand: --tcp HOST:PORT, --serial "
                 "PATH, --com N, --address HEX (the connection; not for modules) and --json.")
          << QString()
          << QStringLiteral(
                 "Each subcommand answers --help. Exit codes: 0 done, 1 the controller "
                 "refused, 2 usage, 3 communication failure, 4 file error, "
                 "5 verification failed, 6 written but incomplete.");
    return lines.join(u'\n') + u'\n';
}

bool IsGroup(const QString& word) {
    for (const Subcommand& s : kSubcommands) {
        if (s.words.startsWith(word + u' ')) {
            return true;
        }
    }
    return false;
}

int UnknownSubcommand(const QString& words) {
    ConsoleIo::ErrLine(QStringLiteral("gatectl"),
                       QStringLiteral("unknown subcommand \"%1\"; see gatectl --help").arg(words));
    return Code(ExitCode::Usage);
}

// Help and version go to standard output; one that is closed (| head) is a file error.
int Print(const QString& text) {
    if (!ConsoleIo::Out(text.toUtf8())) {
        return Code(ExitCode::File);
    }
    return Code(ExitCode::Done);
}

// Runs a subcommand with the global options given before it.
int Run(const Subcommand& s, const LeadingOptions& leading, const QStringList& own) {
    if (leading.HasConnection() && s.words.startsWith(QStringLiteral("modules "))) {
        ConsoleIo::ErrLine(QStringLiteral("gatectl ") + s.words,
                           QStringLiteral("takes no controller connection (--tcp, --serial, "
                                          "--com, --address)"));
        return Code(ExitCode::Usage);
    }
    const auto merged = MergeLeadingOptions(leading, own);
    if (const auto* why = std::get_if<QString>(&merged)) {
        ConsoleIo::ErrLine(QStringLiteral("gatectl ") + s.words, *why);
        return Code(ExitCode::Usage);
    }
    return s.run(s.words, std::get<QStringList>(merged));
}

}  // namespace

std::span<const Subcommand> Subcommands() {
    return kSubcommands;
}

int Dispatch(const QStringList& allArguments) {
    const auto taken = TakeLeadingOptions(allArguments);
    if (const auto* why = std::get_if<QString>(&taken)) {
        ConsoleIo::ErrLine(QStringLiteral("gatectl"), *why);
        return Code(ExitCode::Usage);
    }
    const LeadingOptions& leading = std::get<LeadingOptions>(taken);
    const QStringList& arguments = leading.rest;
    if (arguments.isEmpty()) {
        ConsoleIo::ErrLine(QStringLiteral("gatectl"),
                           QStringLiteral("missing subcommand; see gatectl --help"));
        return Code(ExitCode::Usage);
    }
    const QString first = arguments.first();
    if (first == u"--help" || first == u"-h" || first == u"help") {
        return Print(Overview({}));
    }
    if (first == u"--version") {
        return Print(VersionLine() + u'\n');
    }
    if (IsGroup(first)) {
        const QString second = arguments.value(1);
        if (second.isEmpty()) {
            ConsoleIo::ErrLine(
                QStringLiteral("gatectl ") + first,
                QStringLiteral("missing subcommand; see gatectl %1 --help").arg(first));
            return Code(ExitCode::Usage);
        }
        if (second == u"--help" || second == u"-h") {
            return Print(Overview(first));
        }
        if (second == u"--version") {
            return Print(VersionLine() + u'\n');
        }
        const QString words = first + u' ' + second;
        for (const Subcommand& s : kSubcommands) {
            if (s.words == words) {
                return Run(s, leading, arguments.mid(2));
            }
        }
        return UnknownSubcommand(words);
    }
    for (const Subcommand& s : kSubcommands) {
        if (s.words == first) {
            return Run(s, leading, arguments.mid(1));
        }
    }
    return UnknownSubcommand(first);
}

}  // namespace cli
