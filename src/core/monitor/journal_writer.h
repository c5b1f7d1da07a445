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
// exists is continued. The day is taken from the injected clock at each line, or given by the
// caller from the same reading as the line's own time stamp. A new file is created readable by
// its owner and group only (0640 before the umask); a symbolic link in the file's own name is
// refused (on Unix), a linked folder is not.
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
    // Reads the clock once and appends the line made from that reading to the file of its day,
    // so that a line stamped just before midnight never lands in the next day's file.
    bool AppendStamped(const std::function<QString(const QDateTime& at)>& lineAt);

    void SetErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }

    // The file the last line went to (or would have gone to).
    QString CurrentPath() const { return path_; }
    // Lines that could not be written since the start.
    qint64 FailedLines() const { return failedLines_; }

    // "YYYY-MM-DD.<extension>"
    static QString FileNameFor(const QDate& day, const QString& extension);

    static constexpr int kFileMode = 0640;

private:
    bool OpenFor(const QDate& day);
    bool OpenFile();
    void Fail(const QString& why);

    QString directory_;
    QString extension_;
    const util::Clock& clock_;
    QDate day_;
    QString path_;
    QFile file_;
    QString openError_;
    bool failing_ = false;
    qint64 failedLines_ = 0;
    ErrorHandler onError_;
};

}  // namespace monitor
