#pragma once

#include "core/records/export_file.h"

class QObject;

namespace gui {
struct ConsoleContext;
}

namespace records {

class RecordRetrievalController;
class RecordExportController;

struct RecordControllers {
    RecordRetrievalController* retrieval;
    RecordExportController* exporter;
};

// Binds the command page's record controls of ctx.form; the controllers are children of
// parent. Export files go to dirs (by default the executable's directory, else the documents).
RecordControllers InstallRecordControllers(gui::ConsoleContext& ctx, QObject* parent,
                                           ExportDirectories dirs = DefaultExportDirectories());

}  // namespace records
