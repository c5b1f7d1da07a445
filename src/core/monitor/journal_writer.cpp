#include "core/monitor/journal_writer.h"

#include <QDir>
#include <QFileInfo>

namespace monitor {

JournalWriter::JournalWriter(QString directory, QString extension, const util::Clock& clock)
    : directory_(std::move(directory)), extension_(std::move(extension)), clock_(clock) {}

QString JournalWriter::FileNameFor(const QDate& day, const QString& extension) {
    return day.toString(QStringLiteral("yyyy-MM-dd")) % u'.' % extension;
}

bool JournalWriter::Prepare(QString* error) {
    if (!QDir().mkpath(directory_)) {
        *error = directory_ % QStringLiteral(": cannot create the directory");
        return false;
    }
    const QFileInfo info(directory_);
    if (!info.isDir() || !info.isWritable()) {
        *error = directory_ % QStringLiteral(": the directory is not writable");
        return false;
    }
    return true;
}

bool JournalWriter::OpenFor(const QDate& day) {
    if (day == day_ && file_.isOpen()) {
        return true;
    }
    file_.close();
    day_ = day;
    file_.setFileName(QDir(directory_).filePath(FileNameFor(day, extension_)));
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Append)) {
        return false;
    }
    // A line cut short by an earlier failure (or a crash) is ended before the next one.
    const qint64 size = file_.size();
    if (size > 0 && file_.seek(size - 1) && file_.read(1) != "\n") {
        return file_.write("\n") == 1;
    }
    return true;
}

bool JournalWriter::Append(const QString& line, const QDate& day) {
    if (!OpenFor(day)) {
        Fail(file_.errorString());
        return false;
    }
    const QByteArray bytes = line.toUtf8() + '\n';
    if (file_.write(bytes) != bytes.size() || !file_.flush()) {
        const QString why = file_.errorString();
        // Part of the line may have reached the file: reopening ends it before the next one.
        file_.close();
        Fail(why);
        return false;
    }
    failing_ = false;
    return true;
}

void JournalWriter::Fail(const QString& why) {
    ++failedLines_;
    if (failing_) {
        return;
    }
    failing_ = true;
    if (onError_) {
        onError_(QDir::toNativeSeparators(file_.fileName()) % QStringLiteral(": ") % why);
    }
}

}  // namespace monitor
