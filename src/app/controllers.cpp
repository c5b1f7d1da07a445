#include "app/controllers.h"

#include "app/console_context.h"
#include "app/main_window.h"
#include "records/record_controllers.h"
#include "records/record_retrieval_controller.h"

namespace app {

void InstallControllers(ConsoleContext& ctx, TForm1& form) {
    (void)ctx;
    (void)form;
    const records::RecordControllers rec = records::InstallRecordControllers(ctx, &form);
    QObject::connect(&form, &TForm1::Edit31EnterPressed, rec.retrieval,
                     &records::RecordRetrievalController::SearchInRecordClick);
}

}  // namespace app
