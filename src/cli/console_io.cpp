#include "cli/console_io.h"

#include <QJsonDocument>

#include <cstdio>

namespace cli {

bool ConsoleIo::Out(const QByteArray& bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    const bool whole = std::fwrite(bytes.constData(), 1, size, stdout) == size;
    return std::fflush(stdout) == 0 && whole;
}

bool ConsoleIo::OutLine(const QString& line) {
    return Out(line.toUtf8() + '\n');
}

bool ConsoleIo::OutJson(const QJsonObject& object) {
    return Out(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
}

void ConsoleIo::ErrLine(const QString& command, const QString& message) {
    const QByteArray line = (command % QStringLiteral(": ") % message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

}  // namespace cli
