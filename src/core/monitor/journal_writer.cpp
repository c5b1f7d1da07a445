#include "core/monitor/journal_writer.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

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
    path_ = QDir(directory_).filePath(FileNameFor(day, extension_));
    file_.setFileName(path_);
    if (!OpenFile()) {
        return false;
    }
    // A line cut short by an earlier failure (or a crash) is ended before the next one.
    const qint64 size = file_.size();
    if (size > 0 && file_.seek(size - 1) && file_.read(1) != "\n") {
        return file_.write("\n") == 1;
    }
    return true;
}

bool JournalWriter::OpenFile() {
    openError_.clear();
#ifdef Q_OS_UNIX
    // Not world-readable, and never through a symbolic link in the file's own name (one planted
    // there would send the lines elsewhere); a linked folder is followed as usual.
    const int fd = ::open(QFile::encodeName(path_).constData(),
                          O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        openError_ = errno == ELOOP ? QStringLiteral("the file is a symbolic link")
                                    : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // O_APPEND puts every write at the end; QIODevice::Append would also seek there, which a
    // file that is a pipe refuses.
    if (!file_.open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        openError_ = file_.errorString();
        ::close(fd);
        return false;
    }
    return true;
#else
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Append)) {
        openError_ = file_.errorString();
        return false;
    }
    return true;
#endif
}

bool JournalWriter::Append(const QString& line, const QDate& day) {
    if (!OpenFor(day)) {
        Fail(openError_.isEmpty() ? file_.errorString() : openError_);
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

bool JournalWriter::AppendStamped(const std::function<QString(const QDateTime& at)>& lineAt) {
    const QDateTime at = clock_.now();
    return Append(lineAt(at), at.date());
}

void JournalWriter::Fail(const QString& why) {
    ++failedLines_;
    if (failing_) {
        return;
    }
    failing_ = true;
    if (onError_) {
        onError_(QDir::toNativeSeparators(path_) % QStringLiteral(": ") % why);
    }
}

}  // namespace monitor
