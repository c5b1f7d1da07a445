#include "app/console.h"

#include <QLineEdit>

#include "app/form_access.h"
#include "app/main_window.h"
#include "controllers/commands/alarms_controller.h"
#include "controllers/commands/configuration_controller.h"
#include "controllers/commands/detection_settings_controller.h"
#include "controllers/commands/device_commands_controller.h"
#include "controllers/commands/switches_controller.h"
#include "controllers/monitor/if2_controller.h"
#include "controllers/monitor/monitor_buttons.h"
#include "controllers/monitor/polling_controller.h"
#include "controllers/monitor/tag_block_controller.h"
#include "controllers/netcfg/netcfg_controller.h"
#include "controllers/records/record_export_controller.h"
#include "controllers/records/record_retrieval_controller.h"
#include "controllers/shell/connection_controller.h"
#include "controllers/shell/startup_controller.h"
#include "forms/secondary_windows.h"
#include "gui/console_context.h"
#include "gui/digit_key_filter.h"
#include "gui/result_reporter.h"

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

// The status-bar reporter and the context, which refers to it.
struct Console::Parts {
    Parts(gate::GateLibrary& library, gui::Prompter& prompter, const util::Clock& clock,
          TForm1& form)
        : reporter(form.StatusBar(), clock), context{library,  form.Fields(), reporter,
                                                     prompter, clock,         form} {}

    gui::ResultReporter reporter;
    gui::ConsoleContext context;
};

Console::Console(gate::GateLibrary& library, gui::Prompter& prompter, const util::Clock& clock,
                 Options options)
    : window_(std::make_unique<TForm1>()) {
    TForm1& form = *window_;
    form.SetComPorts(std::move(options.comPorts));
    parts_ = std::make_unique<Parts>(library, prompter, clock, form);
    gui::ConsoleContext& ctx = parts_->context;

    auto* startup = new StartupController(ctx, form);
    auto* connection = new ConnectionController(ctx, form);
    InstallKeyFilters(ctx, form);
    controllers_.netcfg =
        new netcfg::NetcfgController({form, form, form.locateForm(), form.fSetdlg(),
                                      form.fNhSetDlg(), form.fPhSetDlg(), form.ChangeIPdlg()},
                                     ctx.prompter, &form);

    auto* monitorButtons = new monitor::MonitorButtons(form.ChannelPage(), form.EasPage(), &form);
    auto* polling =
        new monitor::PollingController(ctx,
                                       {form, form.ChannelPage(), form.EasPage(),
                                        form.CommandPage(), form.Timer1(), form.Timer3()},
                                       *monitorButtons, &form);
    auto* if2 =
        new monitor::IF2Controller(ctx, form.ChannelPage(), form.Timer2(), form.ComPorts(), &form);
    new monitor::TagBlockController(ctx, form.ChannelPage(), form.Form3(), &form);

    controllers_.retrieval = new records::RecordRetrievalController(ctx, &form);
    controllers_.exporter =
        new records::RecordExportController(ctx, std::move(options.exportDirectories), &form);
    QObject::connect(&form, &TForm1::Edit31EnterPressed, controllers_.retrieval,
                     &records::RecordRetrievalController::SearchInRecordClick);

    new commands::DeviceCommandsController(ctx, form.CommandPage(), &form);
    new commands::ConfigurationController(ctx, form.CommandPage(), &form);
    new commands::DetectionSettingsController(ctx, form.CommandPage(), &form);
    auto* switches = new commands::SwitchesController(ctx, form.CommandPage(), &form);
    new commands::AlarmsController(ctx, form.AlarmPage(), &form);

    // What passes between the subsystems.
    QObject::connect(connection, &ConnectionController::OperatingModeRead, monitorButtons,
                     &monitor::MonitorButtons::ModeRead);
    QObject::connect(connection, &ConnectionController::Connected, if2,
                     &monitor::IF2Controller::ResetButtons);
    QObject::connect(connection, &ConnectionController::Disconnected, polling,
                     &monitor::PollingController::StopPolls);
    QObject::connect(connection, &ConnectionController::Disconnected, monitorButtons,
                     &monitor::MonitorButtons::DisableAll);
    QObject::connect(connection, &ConnectionController::Disconnected, if2,
                     &monitor::IF2Controller::ResetButtons);
    QObject::connect(switches, &commands::SwitchesController::OperatingModeSet, monitorButtons,
                     &monitor::MonitorButtons::ShowMode);
    QObject::connect(startup, &StartupController::PageChangedWhileConnected, monitorButtons,
                     &monitor::MonitorButtons::ShowMode);

    startup->FormCreate();
}

Console::~Console() = default;

}  // namespace app
