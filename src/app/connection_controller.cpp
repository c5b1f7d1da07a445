#include "app/connection_controller.h"

#include <QCoreApplication>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/command_controls.h"
#include "app/console_context.h"
#include "app/form_access.h"
#include "app/form_fields.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/result_reporter.h"
#include "app/status_bar.h"
#include "gate/connection_rules.h"
#include "gate/gate_library.h"
#include "util/conversions.h"

namespace app {

// Shows the busy pointer for the lifetime of the guard, so every path restores it.
class BusyPointer {
public:
    explicit BusyPointer(Prompter& prompter) : prompter_(prompter) { prompter_.SetBusy(true); }
    ~BusyPointer() { Release(); }
    void Release() {
        if (busy_) {
            prompter_.SetBusy(false);
            busy_ = false;
        }
    }

private:
    Prompter& prompter_;
    bool busy_ = true;
};

namespace {

QString LineText(QWidget& form, const char* name) {
    auto* edit = Control<QLineEdit>(form, name);
    return edit ? edit->text() : QString();
}

void ShowCommError(Prompter& prompter) {
    prompter.Message(QCoreApplication::translate("Connection", "通讯错误"),
                     QCoreApplication::translate("Connection", "信息提示"),
                     Prompter::Icon::Information);
}

}  // namespace

ConnectionController::ConnectionController(ConsoleContext& ctx, TForm1& form)
    : QObject(&form), ctx_(ctx), form_(form) {
    auto connectClick = [this](const char* name, void (ConnectionController::*handler)()) {
        if (auto* button = Control<QPushButton>(form_, name)) {
            connect(button, &QPushButton::clicked, this, handler);
        }
    };
    connectClick("OpenPort", &ConnectionController::OpenPortClick);
    connectClick("ClosePort", &ConnectionController::ClosePortClick);
    connectClick("Button18", &ConnectionController::Button18Click);
    connectClick("Button19", &ConnectionController::Button19Click);
    connect(&form_.PageControl2(), &QTabWidget::currentChanged, this,
            &ConnectionController::PageControl2Change);
}

void ConnectionController::ReleaseStaleLink() {
    gate::ConnectionState& c = ctx_.fields.connection;
    if (gate::IsSerialHandle(c.PortHandle)) {
        ctx_.library.CloseComPort();
    } else if (gate::IsNetworkHandle(c.PortHandle)) {
        ctx_.library.CloseNetPort(c.PortHandle);
    }
}

void ConnectionController::OpenPortClick() {
    gate::ConnectionState& c = ctx_.fields.connection;
    ReleaseStaleLink();
    c.PortHandle = -1;
    BusyPointer busy(ctx_.prompter);
    c.OperatingMode = 0;

    const QString addressText = LineText(form_, "editControlAddr");
    if (addressText.isEmpty()) {
        ctx_.prompter.Message(QCoreApplication::translate("Connection", "请输入要打开的控制器地址"),
                              QCoreApplication::translate("Connection", "提示"),
                              Prompter::Icon::Information);
        return;
    }
    const std::optional<std::uint8_t> address = gate::ParseControllerAddress(addressText);
    if (!address) {
        busy.Release();
        ctx_.prompter.ConversionError(addressText);
        return;
    }
    c.ControllerAddress = *address;

    auto* ports = Control<QComboBox>(form_, "ComboBox_Port");
    if (ports == nullptr || ports->currentIndex() <= 0) {
        std::int32_t found = 0;
        c.LastResult = ctx_.library.AutoOpenComPort(found, c.ControllerAddress, c.PortHandle);
    } else {
        const QString item = ports->currentText();
        const std::optional<std::int32_t> port = gate::ParseDecimal(item.mid(3));
        if (!port) {
            busy.Release();
            ctx_.prompter.ConversionError(item.mid(3));
            return;
        }
        c.LastResult = ctx_.library.OpenComPort(*port, c.ControllerAddress, c.PortHandle);
        if (c.LastResult != gate::result::kCommError) {
            c.PortHandle = *port;
        }
    }
    RefreshComPort();
    FinishOpen(busy, QCoreApplication::translate("Connection", "打开端口"), "OpenPort",
               "ClosePort");
}

void ConnectionController::Button18Click() {
    gate::ConnectionState& c = ctx_.fields.connection;
    ReleaseStaleLink();
    c.PortHandle = -1;
    BusyPointer busy(ctx_.prompter);
    c.OperatingMode = 0;
    c.ControllerAddress = 0xFF;

    const QString portText = LineText(form_, "Edit5");
    const std::optional<std::int32_t> port = gate::ParseDecimal(portText);
    if (!port) {
        busy.Release();
        ctx_.prompter.ConversionError(portText);
        return;
    }
    const QString address = LineText(form_, "Edit6").trimmed();
    c.LastResult = ctx_.library.OpenNetPort(*port, address, c.ControllerAddress, c.PortHandle);
    // Panel 2 follows the link that is now open (or shows it closed).
    RefreshComPort();
    FinishOpen(busy, QCoreApplication::translate("Connection", "打开网口"), "Button18", "Button19");
}

void ConnectionController::FinishOpen(BusyPointer& busy, const QString& caption,
                                      const char* openButton, const char* closeButton) {
    gate::ConnectionState& c = ctx_.fields.connection;
    if (c.LastResult == gate::result::kCommError) {
        busy.Release();
        ShowCommError(ctx_.prompter);
        return;
    }
    if (c.LastResult != 0) {
        ctx_.reporter.ShowCommandResult(caption, static_cast<std::uint8_t>(c.LastResult & 0xFF));
        return;
    }
    QueryIdentityAndMode();
    if (c.LastResult != 0) {
        return;
    }
    InvertEnabled(form_, openButton);
    InvertEnabled(form_, closeButton);
    EnableCommandControls();
    busy.Release();
    ctx_.reporter.ShowCommandResult(caption, 0);
}

void ConnectionController::QueryIdentityAndMode() {
    gate::ConnectionState& c = ctx_.fields.connection;
    gate::Byte product = 0;
    gate::Byte major = 0;
    gate::Byte minor = 0;
    if (ctx_.library.GetControllerInfo(c.ControllerAddress, product, major, minor, c.ReplyStatus,
                                       c.PortHandle) == 0) {
        if (auto* e = Control<QLineEdit>(form_, "Edit17")) {
            e->setText(QStringLiteral("%1").arg(product, 2, 16, QLatin1Char('0')).toUpper());
        }
        if (auto* e = Control<QLineEdit>(form_, "Edit18")) {
            e->setText(util::ZeroPadDec(major, 2) + QStringLiteral(".") +
                       util::ZeroPadDec(minor, 2));
        }
        if (major > 6) {
            SetEnabled(form_, "Btn_GetControllerParticInfo", true);
        }
    }
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (c.OperatingMode == 0) {
        SetEnabled(form_, "Button_C_Get", true);
    }
    if (c.OperatingMode == 1 || (c.OperatingMode & 0x02) != 0) {
        SetEnabled(form_, "Button13", true);
    }
}

void ConnectionController::EnableCommandControls() {
    for (int i = 0; i < static_cast<int>(kCommandControls.size()); ++i) {
        if (i == kCommandControlsIF2Split) {
            SetEnabled(form_, "Btn_OpenIF2", true);
            SetEnabled(form_, "Btn_CloseIF2", false);
        }
        SetEnabled(form_, kCommandControls[static_cast<std::size_t>(i)], true);
    }
}

void ConnectionController::ClosePortClick() {
    ctx_.library.CloseComPort();
    ctx_.fields.connection.PortHandle = -1;
    RefreshComPort();
    InvertEnabled(form_, "OpenPort");
    InvertEnabled(form_, "ClosePort");
    ctx_.reporter.ClearResult();
    ClearLastInfo();
}

void ConnectionController::Button19Click() {
    gate::ConnectionState& c = ctx_.fields.connection;
    const QString portText = LineText(form_, "Edit5");
    const std::optional<std::int32_t> port = gate::ParseDecimal(portText);
    if (!port) {
        ctx_.prompter.ConversionError(portText);
        return;
    }
    c.PortHandle = *port;
    c.LastResult = ctx_.library.CloseNetPort(*port);
    if (c.LastResult != 0) {
        return;
    }
    c.PortHandle = -1;
    RefreshComPort();
    InvertEnabled(form_, "Button18");
    InvertEnabled(form_, "Button19");
    ctx_.reporter.ClearResult();
    ClearLastInfo();
}

void ConnectionController::PageControl2Change() {
    const std::int32_t h = ctx_.fields.connection.PortHandle;
    if (gate::IsSerialHandle(h)) {
        ClosePortClick();
    } else if (gate::IsNetworkHandle(h)) {
        Button19Click();
    }
}

void ConnectionController::RefreshComPort() {
    ctx_.reporter.Bar().ShowPorts(ctx_.fields.connection.PortHandle, ctx_.fields.IF2Port);
}

void ConnectionController::ClearLastInfo() {
    // A poll left running would call the closed link every 50 ms and fill the status bar with
    // errors; the closed look stops both polls (the IF2 timer has a port of its own and runs on).
    form_.Timer1().stop();
    form_.Timer3().stop();
    for (const char* name : {"Button_C_Get", "Button13", "StopGet", "Button14"}) {
        SetEnabled(form_, name, false);
    }
    SetEnabled(form_, "OpenPort", true);
    SetEnabled(form_, "ClosePort", false);
    SetEnabled(form_, "Btn_GetControllerParticInfo", false);
    for (const char* name : kCommandControls) {
        SetEnabled(form_, name, false);
    }
    SetEnabled(form_, "Btn_OpenIF2", true);
    SetEnabled(form_, "Btn_CloseIF2", false);
    for (const char* name :
         {"Edit17", "Edit18", "Edit19", "edtConnectStatus", "edtANTStatus", "IRStatus", "Edit1",
          "Edit20", "Edit21", "Edit22", "Edit31", "Edit_year", "Edit_Month", "Edit_date",
          "Edit_Hour", "Edit_minute", "Edit_Sedcond"}) {
        if (auto* e = Control<QLineEdit>(form_, name)) {
            e->clear();
        }
    }
}

}  // namespace app
