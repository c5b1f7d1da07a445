#include "util/command_line.h"

#include <cstdio>

namespace util {

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

bool Requests(const QStringList& arguments, const QCommandLineOption& option) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) {
            return false;
        }
        for (const QString& name : option.names()) {
            if (a == (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

QString WithPlainProgramName(const QString& helpText, const QString& program) {
    const qsizetype lineEnd = helpText.indexOf(u'\n');
    const QString firstLine = helpText.left(lineEnd);
    if (!firstLine.startsWith(QLatin1String("Usage: "))) {
        return helpText;
    }
    const qsizetype options = firstLine.indexOf(QLatin1String(" [options]"));
    const QString rest = options < 0 ? QString() : firstLine.mid(options);
    return QStringLiteral("Usage: ") % program % rest %
           (lineEnd < 0 ? QString() : helpText.mid(lineEnd));
}

QString ProgramVersion() {
    return QStringLiteral(GATE_VERSION);
}

ProgramCommandLine::ProgramCommandLine(QCommandLineParser& parser, QString program)
    : parser_(parser),
      program_(std::move(program)),
      help_({QStringLiteral("h"), QStringLiteral("help")},
            QStringLiteral("Show this help and exit.")),
      version_({QStringLiteral("v"), QStringLiteral("version")},
               QStringLiteral("Show the version and exit.")) {
    parser_.addOption(help_);
    parser_.addOption(version_);
}

QString ProgramCommandLine::VersionText() const {
    return program_ % u' ' % ProgramVersion() % u'\n';
}

QString ProgramCommandLine::HelpText() const {
    return WithPlainProgramName(parser_.helpText(), program_) %
           QStringLiteral(
               "\nExit status:\n"
               "  0  normal end, or help or version shown\n"
               "  1  failure while starting or running (for example a port that cannot be "
               "opened)\n"
               "  2  bad command line: nothing was started\n");
}

std::optional<int> ProgramCommandLine::Parse(const QStringList& arguments) const {
    if (!parser_.parse(arguments)) {
        // Help and version win over a mistake elsewhere on the line.
        if (const std::optional<int> answered = AnswerHelpOrVersion(arguments)) {
            return answered;
        }
        QString why = parser_.errorText();
        if (why.endsWith(u'.')) {
            why.chop(1);
        }
        if (!why.isEmpty()) {
            why[0] = why[0].toLower();
        }
        return UsageError(why);
    }
    if (const std::optional<int> answered = AnswerHelpOrVersion(arguments)) {
        return answered;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        return UsageError(QStringLiteral("unexpected argument '%1'")
                              .arg(parser_.positionalArguments().constFirst()));
    }
    return std::nullopt;
}

std::optional<int> ProgramCommandLine::AnswerHelpOrVersion(const QStringList& arguments) const {
    if (Requests(arguments, help_)) {
        Print(stdout, HelpText());
        return kExitOk;
    }
    if (Requests(arguments, version_)) {
        Print(stdout, VersionText());
        return kExitOk;
    }
    return std::nullopt;
}

int ProgramCommandLine::UsageError(const QString& why) const {
    Print(stderr, program_ % QStringLiteral(": ") % why % QStringLiteral(" (see ") % program_ %
                      QStringLiteral(" --help)\n"));
    return kExitUsage;
}

QStringList ArgumentList(int argc, const char* const* argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i) {
        list.append(QString::fromLocal8Bit(argv[i]));
    }
    return list;
}

}  // namespace util
