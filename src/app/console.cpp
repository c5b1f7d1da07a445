#include "app/console.h"

#include "app/link_status_watch.h"
#include "app/live_lists.h"
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
#include "forms/command_controls.h"
#include "forms/secondary_windows.h"
#include "gui/button_lock.h"
#include "gui/console_context.h"
#include "gui/digit_key_filter.h"
#include "gui/result_reporter.h"
#include "ui_page_alarm.h"
#include "ui_page_channel.h"
#include "ui_page_command.h"
#include "ui_page_eas.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace app {

namespace {

// The key filters of the entry fields: decimal digits (Edit_dateKeyPress) and hexadecimal
// digits (Edit14KeyPress). Enter in Edit31 first runs its Enter action.
void InstallKeyFilters(gui::Prompter& prompter, TForm1& form) {
    Ui::PageCommand& c = form.CommandPage();
    Ui::PageChannel& m = form.ChannelPage();
    auto* decimal = new gui::DigitKeyFilter(util::DigitFilter::Decimal, prompter, &form);
    for (QLineEdit* edit :
         {c.Edit_year, c.Edit_Month, c.Edit_date, c.Edit_Hour, c.Edit_minute, c.Edit_Sedcond,
          c.Edit2, c.Edit3, c.Edit4, c.Edit5, m.Edit15, m.Edit16}) {
        edit->installEventFilter(decimal);
    }
    auto* hexadecimal = new gui::DigitKeyFilter(util::DigitFilter::Hexadecimal, prompter, &form);
    for (QLineEdit* edit : {c.editControlAddr, c.editNewConAddr, m.Edit14}) {
        edit->installEventFilter(hexadecimal);
    }
    auto* recordIndex = new gui::DigitKeyFilter(util::DigitFilter::Decimal, prompter, &form);
    recordIndex->SetEnterAction([&form] { Q_EMIT form.Edit31EnterPressed(); });
    c.Edit31->installEventFilter(recordIndex);
}

// What a record export disables while it writes and then puts back: the command controls
// except its own "存储...并删除所有记录" (the export handles that one itself) and the alarm page's
// two buttons, plus "详细信息" and the four monitoring start and stop buttons.
QList<QWidget*> ExportLockedControls(TForm1& form, const forms::CommandControlList& commands,
                                     const monitor::MonitorButtons& monitoring) {
    QList<QWidget*> locked;
    for (QAbstractButton* b : monitoring.Buttons()) {
        locked.append(b);
    }
    locked.append(form.CommandPage().Btn_GetControllerParticInfo);
    const QList<QAbstractButton*> notLocked{form.CommandPage().SaveAndDeleteAll,
                                            form.AlarmPage().Button11, form.AlarmPage().Button12};
    for (QAbstractButton* b : commands) {
        if (!notLocked.contains(b)) {
            locked.append(b);
        }
    }
    return locked;
}

}  // namespace

// The status-bar reporter and the context, which refers to it.
struct Console::Parts {
    Parts(gate::GateLibrary& library, gui::Prompter& prompter, const util::Clock& clock,
          TForm1& form)
        : reporter(form.StatusBar(), clock),
          context{library, form.Fields(), reporter, prompter, clock} {}

    gui::ResultReporter reporter;
    gui::ConsoleContext context;
};

Console::Console(gate::GateLibrary& library, gui::Prompter& prompter, const util::Clock& clock,
                 Options options)
    : window_(std::make_unique<TForm1>()) {
    TForm1& form = *window_;
    form.SetComPorts(std::move(options.comPorts));
    parts_ = std::make_unique<Parts>(library, prompter, clock, form);
    const gui::ConsoleContext& ctx = parts_->context;
    const forms::CommandControlList commandControls =
        forms::CommandControls(form.CommandPage(), form.ChannelPage(), form.AlarmPage());

    // Application shell: the connection and the window's start-up.
    auto* connection =
        new shell::ConnectionController(ctx, form.CommandPage(), commandControls, &form);
    auto* startup =
        new shell::StartupController(ctx,
                                     {form.PageControl1(), form.CommandPage(), form.AlarmPage(),
                                      form.Timer1(), form.Timer2(), form.Timer3(), form.ComPorts()},
                                     *connection, &form);
    auto* linkWatch = new LinkStatusWatch(library, form.StatusBar(), ctx.fields.connection, &form);
    QObject::connect(linkWatch, &LinkStatusWatch::LinkClosed, connection,
                     &shell::ConnectionController::LinkClosedByLibrary);
    InstallKeyFilters(prompter, form);
    InstallLiveListServices(form, prompter);

    // Module configuration.
    controllers_.netcfg =
        new netcfg::NetcfgController({form, form.TcpipPage(), form.locateForm(), form.fSetdlg(),
                                      form.fNhSetDlg(), form.fPhSetDlg(), form.ChangeIPdlg()},
                                     prompter, &form);

    // Live monitoring.
    auto* monitorButtons = new monitor::MonitorButtons(form.ChannelPage(), form.EasPage(), &form);
    auto* polling =
        new monitor::PollingController(ctx,
                                       {form, form.ChannelPage(), form.EasPage(),
                                        form.CommandPage(), form.Timer1(), form.Timer3()},
                                       *monitorButtons, &form);
    auto* if2 =
        new monitor::IF2Controller(ctx, form.ChannelPage(), form.Timer2(), form.ComPorts(), &form);
    new monitor::TagBlockController(ctx, form.ChannelPage(), form.Form3(), &form);

    // Background records.
    controllers_.retrieval = new records::RecordRetrievalController(ctx, form.CommandPage(), &form);
    controllers_.exporter = new records::RecordExportController(
        ctx, form.CommandPage(), std::move(options.exportDirectories), &form);

    // Controller commands and settings.
    new commands::DeviceCommandsController(ctx, form.CommandPage(), &form);
    new commands::ConfigurationController(ctx, form.CommandPage(), &form);
    new commands::DetectionSettingsController(ctx, form.CommandPage(), &form);
    auto* switches = new commands::SwitchesController(ctx, form.CommandPage(), &form);
    new commands::AlarmsController(ctx, form.AlarmPage(), &form);

    // What passes between the subsystems.
    QObject::connect(&form, &TForm1::CloseQuery, startup,
                     &shell::StartupController::FormCloseQuery);
    QObject::connect(connection, &shell::ConnectionController::OperatingModeRead, monitorButtons,
                     &monitor::MonitorButtons::ModeRead);
    QObject::connect(connection, &shell::ConnectionController::Connected, if2,
                     &monitor::IF2Controller::ResetButtons);
    QObject::connect(connection, &shell::ConnectionController::Disconnected, polling,
                     &monitor::PollingController::StopPolls);
    QObject::connect(connection, &shell::ConnectionController::Disconnected, monitorButtons,
                     &monitor::MonitorButtons::DisableAll);
    QObject::connect(connection, &shell::ConnectionController::Disconnected, if2,
                     &monitor::IF2Controller::ResetButtons);
    QObject::connect(switches, &commands::SwitchesController::OperatingModeSet, monitorButtons,
                     &monitor::MonitorButtons::ShowMode);
    QObject::connect(startup, &shell::StartupController::PageChangedWhileConnected, monitorButtons,
                     &monitor::MonitorButtons::ShowMode);
    auto* exportLock =
        new gui::ButtonLock(ExportLockedControls(form, commandControls, *monitorButtons), &form);
    QObject::connect(controllers_.exporter, &records::RecordExportController::LockButtons,
                     exportLock, &gui::ButtonLock::Lock);
    QObject::connect(controllers_.exporter, &records::RecordExportController::RestoreButtons,
                     exportLock, &gui::ButtonLock::Restore);
    QObject::connect(&form, &TForm1::Edit31EnterPressed, controllers_.retrieval,
                     &records::RecordRetrievalController::SearchInRecordClick);

    startup->FormCreate();
}

gui::ResultReporter& Console::Reporter() {
    return parts_->reporter;
}

Console::~Console() = default;

}  // namespace app
