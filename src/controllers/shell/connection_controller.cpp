#include "controllers/shell/connection_controller.h"

#include <QCoreApplication>

#include "core/commands/device_values.h"
#include "gate/connection_rules.h"
#include "gate/gate_library.h"
#include "gui/busy_pointer.h"
#include "gui/form_fields.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "ui_page_command.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace shell {

namespace {

void ShowCommError(gui::Prompter& prompter) {
    prompter.Message(QCoreApplication::translate("Connection", "通讯错误"),
                     QCoreApplication::translate("Connection", "信息提示"),
                     gui::Prompter::Icon::Information);
}

void InvertEnabled(QWidget& w) {
    w.setEnabled(!w.isEnabled());
}

}  // namespace

ConnectionController::ConnectionController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                           forms::CommandControlList commandControls,
                                           QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), commandControls_(commandControls) {
    connect(page_.OpenPort, &QPushButton::clicked, this, &ConnectionController::OpenPortClick);
    connect(page_.ClosePort, &QPushButton::clicked, this, &ConnectionController::ClosePortClick);
    connect(page_.Button18, &QPushButton::clicked, this, &ConnectionController::Button18Click);
    connect(page_.Button19, &QPushButton::clicked, this, &ConnectionController::Button19Click);
    connect(page_.PageControl2, &QTabWidget::currentChanged, this,
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
    gui::BusyPointer busy(ctx_.prompter);
    c.OperatingMode = 0;

    const QString addressText = page_.editControlAddr->text();
    if (addressText.isEmpty()) {
        ctx_.prompter.Message(QCoreApplication::translate("Connection", "请输入要打开的控制器地址"),
                              QCoreApplication::translate("Connection", "提示"),
                              gui::Prompter::Icon::Information);
        return;
    }
    const std::optional<std::uint8_t> address = gate::ParseControllerAddress(addressText);
    if (!address) {
        busy.Release();
        ctx_.prompter.ConversionError(addressText);
        return;
    }
    c.ControllerAddress = *address;

    const QComboBox& ports = *page_.ComboBox_Port;
    if (ports.currentIndex() <= 0) {
        std::int32_t found = 0;
        c.LastResult = ctx_.library.AutoOpenComPort(found, c.ControllerAddress, c.PortHandle);
    } else {
        const QString item = ports.currentText();
        const std::optional<std::int32_t> port = gate::ParseSignedDecimal(item.mid(3));
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
    FinishOpen(busy, QCoreApplication::translate("Connection", "打开端口"), *page_.OpenPort,
               *page_.ClosePort);
}

void ConnectionController::Button18Click() {
    gate::ConnectionState& c = ctx_.fields.connection;
    ReleaseStaleLink();
    c.PortHandle = -1;
    gui::BusyPointer busy(ctx_.prompter);
    c.OperatingMode = 0;
    c.ControllerAddress = 0xFF;

    const QString portText = page_.Edit5->text();
    const std::optional<std::int32_t> port = gate::ParseSignedDecimal(portText);
    if (!port) {
        busy.Release();
        ctx_.prompter.ConversionError(portText);
        return;
    }
    const QString address = page_.Edit6->text().trimmed();
    c.LastResult = ctx_.library.OpenNetPort(*port, address, c.ControllerAddress, c.PortHandle);
    // Panel 2 follows the link that is now open (or shows it closed).
    RefreshComPort();
    FinishOpen(busy, QCoreApplication::translate("Connection", "打开网口"), *page_.Button18,
               *page_.Button19);
}

void ConnectionController::FinishOpen(gui::BusyPointer& busy, const QString& caption,
                                      QAbstractButton& openButton, QAbstractButton& closeButton) {
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
    InvertEnabled(openButton);
    InvertEnabled(closeButton);
    for (QAbstractButton* b : commandControls_) {
        b->setEnabled(true);
    }
    Q_EMIT Connected();
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
        page_.Edit17->setText(commands::ProductCodeText(product));
        page_.Edit18->setText(commands::VersionText(major, minor));
        if (commands::AllowsDetailedInfo(major)) {
            page_.Btn_GetControllerParticInfo->setEnabled(true);
        }
    }
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    Q_EMIT OperatingModeRead(c.OperatingMode);
}

void ConnectionController::ClosePortClick() {
    ctx_.library.CloseComPort();
    ctx_.fields.connection.PortHandle = -1;
    RefreshComPort();
    InvertEnabled(*page_.OpenPort);
    InvertEnabled(*page_.ClosePort);
    ctx_.reporter.ClearResult();
    ClearLastInfo();
}

void ConnectionController::Button19Click() {
    const QString portText = page_.Edit5->text();
    const std::optional<std::int32_t> port = gate::ParseSignedDecimal(portText);
    if (!port) {
        ctx_.prompter.ConversionError(portText);
        return;
    }
    CloseNetwork(*port);
}

void ConnectionController::LinkClosedByLibrary(gate::LinkEvent why) {
    const std::int32_t h = ctx_.fields.connection.PortHandle;
    if (gate::IsSerialHandle(h)) {
        ClosePortClick();
    } else if (gate::IsNetworkHandle(h)) {
        CloseNetwork(h);
    } else {
        return;  // closed by hand meanwhile
    }
    const QString text =
        why == gate::LinkEvent::OtherController
            ? QCoreApplication::translate("Connection",
                                          "重新连接后应答的是另一台控制器（序列号不同），"
                                          "连接已关闭。请检查线路后重新打开。")
            : QCoreApplication::translate("Connection",
                                          "连接已断开。该控制器没有序列号，无法确认重新连接的"
                                          "是同一台控制器，请重新打开。");
    ctx_.prompter.Message(text, QCoreApplication::translate("Connection", "信息提示"),
                          gui::Prompter::Icon::Warning);
}

void ConnectionController::CloseNetwork(std::int32_t port) {
    gate::ConnectionState& c = ctx_.fields.connection;
    c.PortHandle = port;
    c.LastResult = ctx_.library.CloseNetPort(port);
    if (c.LastResult != 0) {
        return;
    }
    c.PortHandle = -1;
    RefreshComPort();
    InvertEnabled(*page_.Button18);
    InvertEnabled(*page_.Button19);
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
    // The polls stop and the monitoring and IF2 buttons take their closed look; the IF2 timer
    // has a port of its own and runs on.
    Q_EMIT Disconnected();
    page_.OpenPort->setEnabled(true);
    page_.ClosePort->setEnabled(false);
    page_.Btn_GetControllerParticInfo->setEnabled(false);
    for (QAbstractButton* b : commandControls_) {
        b->setEnabled(false);
    }
    for (QLineEdit* e :
         {page_.Edit17, page_.Edit18, page_.Edit19, page_.edtConnectStatus, page_.edtANTStatus,
          page_.IRStatus, page_.Edit1, page_.Edit20, page_.Edit21, page_.Edit22, page_.Edit31,
          page_.Edit_year, page_.Edit_Month, page_.Edit_date, page_.Edit_Hour, page_.Edit_minute,
          page_.Edit_Sedcond}) {
        e->clear();
    }
}

}  // namespace shell
