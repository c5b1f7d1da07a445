#include "records/record_controllers.h"

#include "controllers/records/record_export_controller.h"
#include "controllers/records/record_retrieval_controller.h"

namespace records {

RecordControllers InstallRecordControllers(gui::ConsoleContext& ctx, QObject* parent,
                                           ExportDirectories dirs) {
    return {new RecordRetrievalController(ctx, parent),
            new RecordExportController(ctx, std::move(dirs), parent)};
}

}  // namespace records
