#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace cli {

// Standard output and standard error of gatectl. Text goes out as UTF-8, one line at a time,
// flushed at once, so that a pipeline or a log sees each line as soon as it is known.
class ConsoleIo {
public:
    // False when the bytes could not be written whole (a closed pipe, a full disk).
    static bool Out(const QByteArray& bytes);
    static bool OutLine(const QString& line);
    // A JSON object on one line.
    static bool OutJson(const QJsonObject& object);
    // One line on stderr, prefixed with the command ("gatectl clock set: ...").
    static void ErrLine(const QString& command, const QString& message);
};

}  // namespace cli
