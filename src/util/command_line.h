#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace util {

// Exit codes of every program of the project, listed in each program's --help.
inline constexpr int kExitOk = 0;       // normal end, or --help / --version answered
inline constexpr int kExitFailure = 1;  // could not start or run (a port taken, a file unreadable)
inline constexpr int kExitUsage = 2;    // the command line was refused; nothing was started

// The project's version, set by the build.
QString ProgramVersion();

// Qt's help text begins "Usage: <the path the program was started by> [options]"; this puts the
// program's plain name (or a subcommand's words, "gatectl clock set") in place of the path,
// which reads better and keeps manual pages free of build paths.
QString WithPlainProgramName(const QString& helpText, const QString& program);

// The standard options every program answers, and what they print. The help text names the
// program plainly (not the path it was started by), so manual pages made from it read well.
class ProgramCommandLine {
public:
    // Adds --help and --version to parser, which must outlive this object.
    ProgramCommandLine(QCommandLineParser& parser, QString program);

    // "NAME VERSION": the whole --version output.
    QString VersionText() const;
    // Usage, description, options, then the exit status section.
    QString HelpText() const;

    // Parses arguments (the first is the program path). Answers --help and --version on
    // standard output; refuses an unknown option, a missing value or any positional argument
    // with one line on standard error. Returns the exit code when the program should end now.
    std::optional<int> Parse(const QStringList& arguments) const;

    // Answers --help or --version when one of them is on the command line, whatever else is
    // there; for a program that must answer them before it can parse the rest (a windowed
    // program answers them before it connects to a display).
    std::optional<int> AnswerHelpOrVersion(const QStringList& arguments) const;

    // Prints "PROGRAM: WHY (see PROGRAM --help)" on standard error; returns kExitUsage.
    int UsageError(const QString& why) const;

private:
    QCommandLineParser& parser_;
    QString program_;
    QCommandLineOption help_;
    QCommandLineOption version_;
};

// The arguments of main() as a list, for parsing before an application object exists.
QStringList ArgumentList(int argc, const char* const* argv);

}  // namespace util
