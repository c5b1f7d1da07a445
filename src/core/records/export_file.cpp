#include "core/records/export_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace records {

namespace {

// Enough for any number of exports an operator starts within one minute.
constexpr int kMaxNameAttempts = 1000;

bool TryCreateIn(const QString& dir, const QDateTime& localTime, CreatedExportFile& out) {
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        out.path = QDir(dir).filePath(ExportFileName(localTime));
        out.error = QCoreApplication::translate("Records", "目录不存在或无法创建");
        return false;
    }
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        const QString path = QDir(dir).absoluteFilePath(ExportFileName(localTime, attempt));
        if (QFileInfo::exists(path)) {
            continue;
        }
        auto file = std::make_unique<QFile>(path);
        // NewOnly fails instead of opening a file that appeared since the check above.
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            out.file = std::move(file);
            out.path = path;
            out.error.clear();
            return true;
        }
        out.path = path;
        out.error = file->errorString();
        if (!QFileInfo::exists(path)) {
            return false;  // the directory refuses new files
        }
    }
    return false;
}

}  // namespace

ExportDirectories DefaultExportDirectories() {
    return ExportDirectoriesFor(
        QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

ExportDirectories ExportDirectoriesFor(const QString& programDir, const QString& documentsDir) {
    const QString dir = QDir::cleanPath(programDir);
    const bool systemFolder = dir == u"/usr" || dir.startsWith(u"/usr/") || dir == u"/opt" ||
                              dir.startsWith(u"/opt/") || dir == u"/bin" || dir == u"/sbin";
    if (systemFolder) {
        return {documentsDir, documentsDir};
    }
    return {programDir, documentsDir};
}

QString ExportFileName(const QDateTime& localTime, int attempt) {
    const QString stem = localTime.toString(QStringLiteral("MMddhhmm"));
    if (attempt <= 0) {
        return stem % QStringLiteral(".txt");
    }
    return stem % u'-' % QString::number(attempt + 1) % QStringLiteral(".txt");
}

CreatedExportFile CreateExportFile(const ExportDirectories& dirs, const QDateTime& localTime) {
    CreatedExportFile out;
    if (TryCreateIn(dirs.primary, localTime, out)) {
        return out;
    }
    if (!dirs.fallback.isEmpty() && dirs.fallback != dirs.primary &&
        TryCreateIn(dirs.fallback, localTime, out)) {
        return out;
    }
    return out;
}

namespace {

bool SyncPath(const QString& path, int flags, QString* error) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (error != nullptr) {
            *error = path % QStringLiteral(": ") % QString::fromLocal8Bit(std::strerror(errno));
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace

bool SyncToDisk(const QString& path, QString* error) {
    return SyncPath(path, O_RDONLY, error) &&
           SyncPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY, error);
}

}  // namespace records
