#include "app/controllers.h"

#include <QLineEdit>

#include "app/form_access.h"
#include "app/main_window.h"
#include "commands/install_command_controllers.h"
#include "controllers/netcfg/netcfg_controller.h"
#include "controllers/records/record_retrieval_controller.h"
#include "controllers/shell/connection_controller.h"
#include "controllers/shell/startup_controller.h"
#include "forms/secondary_windows.h"
#include "gui/console_context.h"
#include "gui/digit_key_filter.h"
#include "monitor/install_monitor_controllers.h"
#include "records/record_controllers.h"

namespace app {

namespace {

// The key filters of the entry fields: decimal digits (Edit_dateKeyPress) and hexadecimal
// digits (Edit14KeyPress). Enter in Edit31 first runs its Enter action.
void InstallKeyFilters(gui::ConsoleContext& ctx, TForm1& form) {
    auto* decimal = new gui::DigitKeyFilter(util::DigitFilter::Decimal, ctx.prompter, &form);
    auto* hexadecimal =
        new gui::DigitKeyFilter(util::DigitFilter::Hexadecimal, ctx.prompter, &form);
    auto* recordIndex = new gui::DigitKeyFilter(util::DigitFilter::Decimal, ctx.prompter, &form);
    recordIndex->SetEnterAction([&form] { Q_EMIT form.Edit31EnterPressed(); });
    for (const char* name :
         {"Edit_year", "Edit_Month", "Edit_date", "Edit_Hour", "Edit_minute", "Edit_Sedcond",
          "Edit2", "Edit3", "Edit4", "Edit5", "Edit15", "Edit16"}) {
        if (auto* edit = Control<QLineEdit>(form, name)) {
            edit->installEventFilter(decimal);
        }
    }
    for (const char* name : {"editControlAddr", "editNewConAddr", "Edit14"}) {
        if (auto* edit = Control<QLineEdit>(form, name)) {
            edit->installEventFilter(hexadecimal);
        }
    }
    if (auto* edit = Control<QLineEdit>(form, "Edit31")) {
        edit->installEventFilter(recordIndex);
    }
}

}  // namespace

void InstallControllers(gui::ConsoleContext& ctx, TForm1& form) {
    auto* startup = new StartupController(ctx, form);
    new ConnectionController(ctx, form);
    InstallKeyFilters(ctx, form);
    new netcfg::NetcfgController({form, form, form.locateForm(), form.fSetdlg(), form.fNhSetDlg(),
                                  form.fPhSetDlg(), form.ChangeIPdlg()},
                                 ctx.prompter, &form);
    monitor::InstallMonitorControllers(ctx, form);
    const records::RecordControllers rec = records::InstallRecordControllers(ctx, &form);
    QObject::connect(&form, &TForm1::Edit31EnterPressed, rec.retrieval,
                     &records::RecordRetrievalController::SearchInRecordClick);
    commands::InstallCommandControllers(ctx);
    startup->FormCreate();
}

}  // namespace app
