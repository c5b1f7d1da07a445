#pragma once

#include "util/clock.h"

#include <QDate>
#include <QFile>
#include <QString>

#include <functional>

namespace monitor {

// Keeps a journal of text lines in one UTF-8 file per local day, "YYYY-MM-DD.<extension>" in a
// directory: each line is written and flushed before Append returns, so a line that was
// appended is on disk whatever happens to the program next. A file of the day that already
// exists is continued. The day is taken from the injected clock at each line.
//
// A write that fails is reported once through the error handler, with the file and the
// system's reason; the writer then goes on trying with every later line (the disk may have
// room again) and reports the next failure only after a line got through. It never waits or
// retries on its own, so a full disk cannot hold up whoever feeds it.
class JournalWriter {
public:
    using ErrorHandler = std::function<void(const QString& message)>;

    JournalWriter(QString directory, QString extension, const util::Clock& clock);

    // Creates the directory when it does not exist; false (with the reason in error) when it
    // cannot be created or is not writable.
    bool Prepare(QString* error);

    // Appends line and a line feed to the file of the clock's current day. False when the line
    // could not be written whole.
    bool Append(const QString& line) { return Append(line, clock_.now().date()); }
    // The same into the file of the given day (the day the line was stamped with, when it is
    // written a moment later).
    bool Append(const QString& line, const QDate& day);

    void SetErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }

    // The file the last line went to (or would have gone to).
    QString CurrentPath() const { return file_.fileName(); }
    // Lines that could not be written since the start.
    qint64 FailedLines() const { return failedLines_; }

    // "YYYY-MM-DD.<extension>"
    static QString FileNameFor(const QDate& day, const QString& extension);

private:
    bool OpenFor(const QDate& day);
    void Fail(const QString& why);

    QString directory_;
    QString extension_;
    const util::Clock& clock_;
    QDate day_;
    QFile file_;
    bool failing_ = false;
    qint64 failedLines_ = 0;
    ErrorHandler onError_;
};

}  // namespace monitor
