#include "cli/command_line.h"

#include "cli/console_io.h"
#include "util/command_line.h"

#include <QCoreApplication>

namespace cli {

CommandLine::CommandLine(QString command, QString summary)
    : command_(std::move(command)),
      helpOption_(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                  QStringLiteral("Show this help and exit.")),
      versionOption_(QStringLiteral("version"), QStringLiteral("Show the version and exit.")),
      jsonOption_(QStringLiteral("json"),
                  QStringLiteral("Machine-readable output: one JSON object on standard output.")) {
    parser_.setApplicationDescription(summary);
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(helpOption_);
    parser_.addOption(versionOption_);
    parser_.addOption(jsonOption_);
}

void CommandLine::AddOption(const QCommandLineOption& option) {
    parser_.addOption(option);
}

void CommandLine::AddPositional(const QString& name, const QString& description,
                                const QString& syntax) {
    parser_.addPositionalArgument(name, description, syntax);
}

void CommandLine::SetPositionalCount(int min, int max) {
    minPositional_ = min;
    maxPositional_ = max;
}

QString CommandLine::Name() const {
    return command_.isEmpty() ? QStringLiteral("gatectl") : QStringLiteral("gatectl ") + command_;
}

QString CommandLine::HelpText() const {
    return util::WithPlainProgramName(parser_.helpText(), Name());
}

std::optional<int> CommandLine::Parse(const QStringList& arguments) {
    json_ = arguments.contains(QStringLiteral("--json"));
    if (!parser_.parse(QStringList{Name()} + arguments)) {
        return Fail(UsageFailure(parser_.errorText()));
    }
    // A closed standard output (| head) is a file error, as for any output.
    if (parser_.isSet(helpOption_)) {
        return ConsoleIo::Out(HelpText().toUtf8()) ? 0 : Code(ExitCode::File);
    }
    if (parser_.isSet(versionOption_)) {
        return ConsoleIo::OutLine(VersionLine()) ? 0 : Code(ExitCode::File);
    }
    const auto count = parser_.positionalArguments().size();
    if (count < minPositional_) {
        return Fail(UsageFailure(QStringLiteral("missing argument; see %1 --help").arg(Name())));
    }
    if (maxPositional_ >= 0 && count > maxPositional_) {
        return Fail(UsageFailure(QStringLiteral("unexpected argument \"%1\"")
                                     .arg(parser_.positionalArguments().at(maxPositional_))));
    }
    return std::nullopt;
}

int CommandLine::Fail(const Failure& failure) const {
    return Fail(failure, {});
}

int CommandLine::Fail(const Failure& failure, QJsonObject json) const {
    ConsoleIo::ErrLine(Name(), failure.message);
    if (json_ && !dataOnStdout_) {
        json.insert(QStringLiteral("error"), failure.ToJson());
        ConsoleIo::OutJson(json);
    }
    return Code(failure.code);
}

int CommandLine::Succeed(const QJsonObject& json, const QStringList& lines) const {
    bool written = true;
    if (dataOnStdout_) {
        for (const QString& line : lines) {
            ConsoleIo::ErrLine(Name(), line);
        }
    } else if (json_) {
        written = ConsoleIo::OutJson(json);
    } else {
        for (const QString& line : lines) {
            written = ConsoleIo::OutLine(line) && written;
        }
    }
    if (!written) {
        ConsoleIo::ErrLine(Name(), QStringLiteral("cannot write to standard output"));
        return Code(ExitCode::File);
    }
    return Code(ExitCode::Done);
}

QString VersionLine() {
    return QStringLiteral("gatectl ") + QCoreApplication::applicationVersion();
}

}  // namespace cli
