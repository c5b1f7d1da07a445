#pragma once

#include "cli/failure.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace cli {

// The command line of one gatectl subcommand: its options and positional arguments, --help,
// --version and --json. A bad line is reported in one line on stderr with exit code 2.
class CommandLine {
public:
    // command: the words after "gatectl" ("clock set"); summary: one line for --help.
    CommandLine(QString command, QString summary);

    void AddOption(const QCommandLineOption& option);
    void AddPositional(const QString& name, const QString& description, const QString& syntax);
    // How many positional arguments the command takes; max -1 for any number.
    void SetPositionalCount(int min, int max);

    // Parses the arguments that follow the subcommand's words. Nothing when the command should
    // go on; otherwise the exit code (--help and --version answered: 0; a bad line: 2).
    std::optional<int> Parse(const QStringList& arguments);

    const QCommandLineParser& Parser() const { return parser_; }
    bool IsSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
    QString Value(const QCommandLineOption& option) const { return parser_.value(option); }
    QStringList Values(const QCommandLineOption& option) const { return parser_.values(option); }
    QStringList Positional() const { return parser_.positionalArguments(); }
    bool Json() const { return json_; }

    // "gatectl clock set"
    QString Name() const;

    // Standard output carries the command's data (an export to "-"): results and errors then
    // go to stderr only, as text.
    void StdoutCarriesData() { dataOnStdout_ = true; }

    // Reports a failure (one line on stderr; with --json also {"error": ...} on stdout) and
    // returns its exit code.
    int Fail(const Failure& failure) const;
    // The same, with more members in the JSON object beside "error".
    int Fail(const Failure& failure, QJsonObject json) const;
    // Prints the result: the JSON object with --json, the text lines otherwise. Exit code 4 when
    // standard output cannot take them.
    int Succeed(const QJsonObject& json, const QStringList& lines) const;

    // The help text, with the usage line naming the whole subcommand.
    QString HelpText() const;

private:
    QString command_;
    QCommandLineParser parser_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
    QCommandLineOption jsonOption_;
    int minPositional_ = 0;
    int maxPositional_ = 0;
    bool json_ = false;
    bool dataOnStdout_ = false;
};

// The value of a step that may fail; nothing when it failed, with the failure reported through
// the command line and its exit code in *exitCode.
template <typename T>
std::optional<T> Take(const CommandLine& commandLine, std::variant<T, Failure> step,
                      int* exitCode) {
    if (const auto* failure = std::get_if<Failure>(&step)) {
        *exitCode = commandLine.Fail(*failure);
        return std::nullopt;
    }
    return std::get<T>(std::move(step));
}

// "gatectl <version>": the project's version.
QString VersionLine();

}  // namespace cli
