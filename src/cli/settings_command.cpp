// gatectl settings backup | restore | diff: every setting of a controller as one JSON document.
#include "cli/console_io.h"
#include "cli/controller_command.h"
#include "cli/subcommands.h"
#include "core/commands/settings_backup.h"
#include "core/commands/settings_diff.h"
#include "core/commands/settings_document.h"
#include "core/commands/settings_transfer.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSaveFile>

#include <array>

namespace cli {

namespace {

using commands::ControllerSettings;
using commands::SettingChange;
using commands::SettingsDocument;

const QCommandLineOption kOutput(QStringLiteral("output"),
                                 QStringLiteral("Write the document to FILE (put in place only "
                                                "when written whole) instead of standard output."),
                                 QStringLiteral("FILE"));
const QCommandLineOption kDryRun(QStringLiteral("dry-run"),
                                 QStringLiteral("Check the file and show what would change; "
                                                "write nothing."));
const QCommandLineOption kKeepAddress(
    QStringLiteral("keep-address"),
    QStringLiteral("Leave the address alone: restore does not write it, diff does not "
                   "compare it (for gates that share a line)."));

QJsonArray ChangesJson(const QList<SettingChange>& changes) {
    QJsonArray a;
    for (const SettingChange& c : changes) {
        a.append(QJsonObject{{QStringLiteral("path"), c.path},
                             {QStringLiteral("from"), c.from},
                             {QStringLiteral("to"), c.to}});
    }
    return a;
}

QStringList ChangeLines(const QList<SettingChange>& changes) {
    QStringList lines;
    for (const SettingChange& c : changes) {
        lines << QStringLiteral("  ") + commands::ChangeLine(c);
    }
    return lines;
}

using RequestState = commands::WriteRequest::State;

// The groups of a write by what became of their requests, for --json.
QJsonObject WriteStateJson(const commands::SettingsWrite& write) {
    QJsonObject o;
    const std::array<std::pair<RequestState, const char*>, 4> states{{
        {RequestState::Taken, "taken"},
        {RequestState::PossiblyTaken, "possibly_taken"},
        {RequestState::Refused, "refused"},
        {RequestState::NotSent, "not_sent"},
    }};
    for (const auto& [state, key] : states) {
        o.insert(QLatin1String(key), QJsonArray::fromStringList(write.GroupsIn(state)));
    }
    return o;
}

// Every request of a write that stopped, by what became of it: "taken: configuration, alarms
// (mask)", "possibly taken (no reply): alarms (patterns)", "not sent: operating_mode".
QStringList WriteStateLines(const commands::SettingsWrite& write) {
    const std::array<std::pair<RequestState, QString>, 4> states{{
        {RequestState::Taken, QStringLiteral("taken")},
        {RequestState::PossiblyTaken, QStringLiteral("possibly taken (no reply)")},
        {RequestState::Refused, QStringLiteral("refused")},
        {RequestState::NotSent, QStringLiteral("not sent")},
    }};
    QStringList lines;
    for (const auto& [state, label] : states) {
        QStringList names;
        for (const commands::WriteRequest& r : write.requests) {
            if (r.state == state) {
                names << r.Name();
            }
        }
        if (!names.isEmpty()) {
            lines << label % QStringLiteral(": ") % names.join(QStringLiteral(", "));
        }
    }
    return lines;
}

// Reads and checks a settings file; a failure names the file and the first bad field.
std::optional<SettingsDocument> LoadDocument(const CommandLine& cl, const QString& path,
                                             int* exitCode) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *exitCode = cl.Fail(
            FileFailure(QStringLiteral("cannot read %1: %2").arg(path, file.errorString())));
        return std::nullopt;
    }
    QString error;
    auto document = commands::ReadSettingsDocument(file.readAll(), &error);
    if (!document) {
        *exitCode = cl.Fail(FileFailure(path % QStringLiteral(": ") % error));
    }
    return document;
}

// Every setting of the controller; nothing when the link failed (reported).
std::optional<commands::SettingsRead> ReadAll(const CommandLine& cl, GateConnection& conn,
                                              int* exitCode) {
    commands::SettingsRead read = commands::ReadControllerSettings(conn.Library(), conn.State());
    if (read.linkResult != 0) {
        Failure f = ResultFailure(QString(), read.linkResult);
        f.message =
            QStringLiteral("reading %1: %2").arg(read.failedGroup, ExplainResult(read.linkResult));
        *exitCode = cl.Fail(f);
        return std::nullopt;
    }
    return read;
}

ControllerSettings Wanted(const SettingsDocument& document, bool keepAddress) {
    ControllerSettings wanted = document.settings;
    if (keepAddress) {
        wanted.address.reset();
    }
    return wanted;
}

// A document and the controller it is compared with: the file is checked whole before the
// controller is opened, then every setting is read from it.
struct Comparison {
    SettingsDocument document;
    std::unique_ptr<GateConnection> connection;
    commands::SettingsRead current;
};

// pinAddress: the command writes, so it first asks the controller for its own address and
// talks to that alone (GateConnection::PinAddress).
std::optional<Comparison> Compare(CommandLine& cl, const QStringList& arguments, bool pinAddress,
                                  int* exitCode) {
    AddLinkOptions(cl);
    cl.AddPositional(QStringLiteral("file"), QStringLiteral("The settings document."),
                     QStringLiteral("FILE"));
    cl.SetPositionalCount(1, 1);
    const auto link = ParseWithLink(cl, arguments, exitCode);
    if (!link) {
        return std::nullopt;
    }
    auto document = LoadDocument(cl, cl.Positional().first(), exitCode);
    if (!document) {
        return std::nullopt;
    }
    Opened opened = OpenLink(cl, *link);
    if (!opened) {
        *exitCode = opened.exitCode;
        return std::nullopt;
    }
    if (pinAddress) {
        if (const auto failure = opened.connection->PinAddress()) {
            *exitCode = cl.Fail(*failure);
            return std::nullopt;
        }
    }
    auto current = ReadAll(cl, *opened.connection, exitCode);
    if (!current) {
        return std::nullopt;
    }
    return Comparison{std::move(*document), std::move(opened.connection), std::move(*current)};
}

}  // namespace

int RunSettingsBackup(const QString& words, const QStringList& arguments) {
    CommandLine cl(words,
                   QStringLiteral("Read every setting the controller can report into one JSON "
                                  "document, with the controller's identity and the time."));
    AddLinkOptions(cl);
    cl.AddOption(kOutput);
    int exitCode = 0;
    const auto link = ParseWithLink(cl, arguments, &exitCode);
    if (!link) {
        return exitCode;
    }
    const bool toFile = cl.IsSet(kOutput);
    QSaveFile file(cl.Value(kOutput));
    if (toFile && !file.open(QIODevice::WriteOnly)) {
        return cl.Fail(FileFailure(
            QStringLiteral("cannot write %1: %2").arg(cl.Value(kOutput), file.errorString())));
    }
    if (!toFile) {
        cl.StdoutCarriesData();
    }
    const Opened opened = OpenLink(cl, *link);
    if (!opened) {
        return opened.exitCode;
    }
    const auto read = ReadAll(cl, *opened.connection, &exitCode);
    if (!read) {
        return exitCode;
    }
    SettingsDocument document;
    document.backupTime = QDateTime::currentDateTime();
    document.controller = read->identity;
    document.settings = read->settings;
    document.notRead = read->notRead;
    // The backup is read back as restore and diff will read it: a group they would refuse is
    // left out (under not_read, with the reason), so that the file restores the rest.
    bool whole = false;
    const QList<commands::RefusedGroup> refused = commands::KeepReadableGroups(document, &whole);
    if (!whole) {
        return cl.Fail(FileFailure(QStringLiteral("the backup does not read back")));
    }
    const QByteArray bytes = commands::WriteSettingsDocument(document);

    QStringList lines;
    for (auto it = document.notRead.constBegin(); it != document.notRead.constEnd(); ++it) {
        if (it.key() != commands::group::kAutomaticLoading) {
            ConsoleIo::ErrLine(
                cl.Name(), QStringLiteral("warning: %1 not read: %2").arg(it.key(), it.value()));
        }
    }
    QStringList refusedNames;
    for (const commands::RefusedGroup& g : refused) {
        refusedNames << g.group;
    }
    const auto incomplete = [&] {
        return IncompleteFailure(
            QStringLiteral("backup written without %1: the controller reported values that "
                           "restore refuses (listed under not_read)")
                .arg(refusedNames.join(QStringLiteral(", "))));
    };
    if (!toFile) {
        if (!ConsoleIo::Out(bytes)) {
            return cl.Fail(FileFailure(QStringLiteral("cannot write to standard output")));
        }
        return refused.isEmpty() ? Code(ExitCode::Done) : cl.Fail(incomplete());
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return cl.Fail(FileFailure(
            QStringLiteral("cannot write %1: %2").arg(cl.Value(kOutput), file.errorString())));
    }
    QJsonObject notRead;
    for (auto it = document.notRead.constBegin(); it != document.notRead.constEnd(); ++it) {
        notRead.insert(it.key(), it.value());
    }
    if (!refused.isEmpty()) {
        return cl.Fail(incomplete(), {{QStringLiteral("output"), cl.Value(kOutput)},
                                      {QStringLiteral("not_read"), notRead}});
    }
    lines << QStringLiteral("settings of controller %1 (version %2) written to %3")
                 .arg(read->identity.product, read->identity.version, cl.Value(kOutput));
    return cl.Succeed(
        {{QStringLiteral("output"), cl.Value(kOutput)}, {QStringLiteral("not_read"), notRead}},
        lines);
}

int RunSettingsRestore(const QString& words, const QStringList& arguments) {
    CommandLine cl(words,
                   QStringLiteral("Check a settings document whole, show what will change, "
                                  "write it to the controller, read everything back and fail "
                                  "if anything differs."));
    cl.AddOption(kDryRun);
    cl.AddOption(kKeepAddress);
    int exitCode = 0;
    const auto compared = Compare(cl, arguments, true, &exitCode);
    if (!compared) {
        return exitCode;
    }
    const SettingsDocument& document = compared->document;
    const commands::SettingsRead& current = compared->current;
    GateConnection& conn = *compared->connection;
    ControllerSettings wanted = Wanted(document, cl.IsSet(kKeepAddress));
    // What the first read already tells is settled before anything is written: a controller
    // with forced EAS refuses channel mode, so the mode is left out and everything else goes.
    QJsonObject notWritten;
    QStringList lines;
    if (current.identity.forcedEas && wanted.easMode == false) {
        wanted.easMode.reset();
        const QString why = QStringLiteral("the controller's EAS mode is forced");
        notWritten.insert(commands::group::kOperatingMode, why);
        lines << QStringLiteral("not written: %1 (%2)").arg(commands::group::kOperatingMode, why);
    }
    const QList<SettingChange> changes = commands::DiffSettings(current.settings, wanted);
    QJsonObject json{{QStringLiteral("changes"), ChangesJson(changes)},
                     {QStringLiteral("dry_run"), cl.IsSet(kDryRun)},
                     {QStringLiteral("not_written"), notWritten}};
    if (changes.isEmpty()) {
        lines << QStringLiteral("nothing to change: the controller already has these settings");
    } else {
        lines << (cl.IsSet(kDryRun) ? QStringLiteral("would change:") : QStringLiteral("changing:"))
              << ChangeLines(changes);
    }
    for (auto it = document.notRead.constBegin(); it != document.notRead.constEnd(); ++it) {
        lines << QStringLiteral("not in the document, left as it is: ") + it.key();
    }
    if (cl.IsSet(kDryRun) || changes.isEmpty()) {
        return cl.Succeed(json, lines);
    }
    if (!cl.Json()) {
        for (const QString& line : lines) {
            ConsoleIo::OutLine(line);
        }
        lines.clear();
    }

    const commands::SettingsWrite write = commands::WriteControllerSettings(
        conn.Library(), conn.State(), wanted, current.settings, !cl.IsSet(kKeepAddress));
    if (write.result != 0) {
        Failure f = ResultFailure(QString(), write.result);
        f.message =
            QStringLiteral("writing %1: %2").arg(write.failedGroup, ExplainResult(write.result));
        if (!cl.Json()) {
            for (const QString& line : WriteStateLines(write)) {
                ConsoleIo::OutLine(line);
            }
        }
        return cl.Fail(f, {{QStringLiteral("groups"), WriteStateJson(write)},
                           {QStringLiteral("not_written"), notWritten}});
    }
    const auto after = ReadAll(cl, conn, &exitCode);
    if (!after) {
        return exitCode;
    }
    const QList<SettingChange> left = commands::DiffSettings(after->settings, wanted);
    if (!left.isEmpty()) {
        QStringList paths;
        for (const SettingChange& c : left) {
            paths << commands::ChangeLine(c);
        }
        return cl.Fail(VerificationFailure(QStringLiteral("read back differs from the document: ") +
                                           paths.join(QStringLiteral("; "))));
    }
    json.insert(QStringLiteral("written"), QJsonArray::fromStringList(write.written));
    json.insert(QStringLiteral("groups"), WriteStateJson(write));
    json.insert(QStringLiteral("verified"), true);
    lines << QStringLiteral("written and read back: ") + write.written.join(QStringLiteral(", "));
    return cl.Succeed(json, lines);
}

int RunSettingsDiff(const QString& words, const QStringList& arguments) {
    CommandLine cl(words, QStringLiteral("Show what differs between a settings document and the "
                                         "controller. Exit code 5 when something differs."));
    cl.AddOption(kKeepAddress);
    int exitCode = 0;
    const auto compared = Compare(cl, arguments, false, &exitCode);
    if (!compared) {
        return exitCode;
    }
    const SettingsDocument& document = compared->document;
    const commands::SettingsRead& current = compared->current;
    const QList<SettingChange> changes =
        commands::DiffSettings(current.settings, Wanted(document, cl.IsSet(kKeepAddress)));
    QStringList lines;
    if (changes.isEmpty()) {
        lines << QStringLiteral("no differences");
    } else {
        lines << QStringLiteral("controller -> document:") << ChangeLines(changes);
    }
    const int code = cl.Succeed({{QStringLiteral("differences"), ChangesJson(changes)}}, lines);
    if (code != 0 || changes.isEmpty()) {
        return code;
    }
    return Code(ExitCode::Verification);
}

}  // namespace cli
