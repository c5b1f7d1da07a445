#pragma once

#include "core/records/export_file.h"
#include "gui/console_context.h"

#include <QObject>

#include <optional>

namespace Ui {
class PageCommand;
}

namespace records {

struct ExportOutcome;
struct LogState;

// The two export buttons: all records to a new text file, and the same followed by the deletion
// of the log, which is offered only when every record reached the file and the log has not
// changed since.
class RecordExportController final : public QObject {
    Q_OBJECT
public:
    RecordExportController(gui::ConsoleContext ctx, Ui::PageCommand& page, ExportDirectories dirs,
                           QObject* parent = nullptr);

public Q_SLOTS:
    void SaveRecordAsTextFileClick();
    void SaveAndDeleteAllClick();

Q_SIGNALS:
    // The records are about to be written: the window's command buttons are to be disabled,
    // each one's state remembered.
    void LockButtons();
    // The file is closed: the buttons are to be put back as they were.
    void RestoreButtons();

private:
    // The whole export with its button handling and report. Nothing when a file error ended
    // it (the error has been shown).
    std::optional<ExportOutcome> RunExport();
    void ShowFileError(const ExportOutcome& outcome);
    // A log-state reply whose count cannot be true: nothing is exported or deleted.
    void ShowCountOutOfRange(const LogState& log);
    // Why the deletion is not offered after this export.
    void ShowNotDeletable(const ExportOutcome& outcome);

    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
    ExportDirectories dirs_;
};

}  // namespace records
