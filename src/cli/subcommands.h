#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace cli {

// One subcommand: its words after "gatectl" ("clock set"), a one-line summary, and the function
// that runs it on the arguments after its words, returning the exit code.
struct Subcommand {
    QString words;
    QString summary;
    int (*run)(const QString& words, const QStringList& arguments);
};

std::span<const Subcommand> Subcommands();

// Finds the subcommand that the arguments start with and runs it; answers --help and
// --version of gatectl and of a group ("gatectl clock --help"); an unknown subcommand is a
// usage error (exit code 2).
int Dispatch(const QStringList& arguments);

// The subcommands, one function per command (each file of src/cli defines its group's).
int RunInfo(const QString& words, const QStringList& arguments);
int RunClockGet(const QString& words, const QStringList& arguments);
int RunClockSet(const QString& words, const QStringList& arguments);
int RunClockSync(const QString& words, const QStringList& arguments);
int RunRecordsStatus(const QString& words, const QStringList& arguments);
int RunRecordsExport(const QString& words, const QStringList& arguments);
int RunRecordsDelete(const QString& words, const QStringList& arguments);
int RunSettingsBackup(const QString& words, const QStringList& arguments);
int RunSettingsRestore(const QString& words, const QStringList& arguments);
int RunSettingsDiff(const QString& words, const QStringList& arguments);
int RunMonitor(const QString& words, const QStringList& arguments);
int RunModulesSearch(const QString& words, const QStringList& arguments);
int RunModulesGet(const QString& words, const QStringList& arguments);
int RunModulesSet(const QString& words, const QStringList& arguments);
int RunModulesChangeIp(const QString& words, const QStringList& arguments);

}  // namespace cli
