#pragma once

#include "core/records/export_file.h"

#include <QObject>

#include <optional>

namespace gui {
struct ConsoleContext;
}

namespace records {

struct ExportOutcome;

// The two export buttons: all records to a new text file, and the same followed by the deletion
// of the log, which is offered only when every record reached the file and the log has not
// changed since.
class RecordExportController final : public QObject {
    Q_OBJECT
public:
    RecordExportController(gui::ConsoleContext& ctx, ExportDirectories dirs, QObject* parent);

public Q_SLOTS:
    void SaveRecordAsTextFileClick();
    void SaveAndDeleteAllClick();

private:
    // The whole export with its button handling and report. Nothing when a file error ended
    // it (the error has been shown).
    std::optional<ExportOutcome> RunExport();
    void ShowFileError(const ExportOutcome& outcome);

    gui::ConsoleContext& ctx_;
    ExportDirectories dirs_;
};

}  // namespace records
