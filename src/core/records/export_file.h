#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>

namespace records {

// Where export files go: the directory of the executable, and the user's documents folder
// when that one is not writable (an installed program).
struct ExportDirectories {
    QString primary;
    QString fallback;
};

ExportDirectories DefaultExportDirectories();

// The rule behind DefaultExportDirectories: the program's folder first, then the documents
// folder. A program installed in the system's own folders (under /usr or /opt, or /bin, /sbin)
// writes straight to the documents folder, even when it runs with the rights to write there:
// those folders belong to the package manager, not to the operator's files.
ExportDirectories ExportDirectoriesFor(const QString& programDir, const QString& documentsDir);

// "MMDDhhmm.txt" of the local time; attempt n > 0 gives "MMDDhhmm-<n+1>.txt", so a later export
// in the same minute never replaces an earlier file.
QString ExportFileName(const QDateTime& localTime, int attempt = 0);

struct CreatedExportFile {
    std::unique_ptr<QFile> file;  // open for writing and empty; null when nothing was created
    QString path;                 // the created file, or the last path tried
    QString error;                // the system's reason when nothing was created
};

// Syncs a written file to the disk, then its folder (so that its name survives a power loss
// too): fsync of both. False, with the system's reason in *error when given, when either fails.
// Nothing is deleted on the strength of a file that may still sit in the page cache only.
bool SyncToDisk(const QString& path, QString* error);

// Creates a new, empty export file in the first directory that takes it. An existing file is
// never opened or replaced: a taken name moves on to the next suffix.
CreatedExportFile CreateExportFile(const ExportDirectories& dirs, const QDateTime& localTime);

}  // namespace records
