#include "controllers/commands/switches_controller.h"

#include <QCoreApplication>

#include "core/commands/switch_values.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/result_reporter.h"
#include "ui_page_command.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace commands {

SwitchesController::SwitchesController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                       QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page) {
    const auto bind = [this](QAbstractButton* button, void (SwitchesController::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    bind(page_.Button5, &SwitchesController::Button5Click);
    bind(page_.Button6, &SwitchesController::Button6Click);
    bind(page_.Button7, &SwitchesController::Button7Click);
    bind(page_.Button8, &SwitchesController::Button8Click);
    bind(page_.Button9, &SwitchesController::Button9Click);
    bind(page_.Button10, &SwitchesController::Button10Click);
    bind(page_.btnSetBackRecord, &SwitchesController::btnSetBackRecordClick);
    bind(page_.btnReadBackRecord, &SwitchesController::btnReadBackRecordClick);
    bind(page_.Button16, &SwitchesController::Button16Click);
    bind(page_.Button17, &SwitchesController::Button17Click);
}

void SwitchesController::ShowStamped(const QString& text) {
    ctx_.reporter.ShowText(StampedLine(ctx_.clock.now().time(), text));
}

void SwitchesController::Button5Click() {
    auto& c = ctx_.fields.connection;
    // Read first: a controller forced into EAS mode refuses every switch. The read's result is
    // not checked; a failed read leaves the mode at 0 and the set goes ahead.
    c.OperatingMode = kSwitchReadRequest;
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (IsForcedEas(c.OperatingMode)) {
        ShowStamped(ModeForcedRefusalText());
        return;
    }
    if (page_.rb1->isChecked()) {
        c.OperatingMode = SwitchSetRequest(false);
    } else if (page_.rb2->isChecked()) {
        c.OperatingMode = SwitchSetRequest(true);
    }
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        ShowStamped(ModeSetFailedText());
        return;
    }
    // Only the buttons follow the new mode; a running poll keeps running.
    Q_EMIT OperatingModeSet(c.OperatingMode);
    ShowStamped(ModeSetDoneText());
}

void SwitchesController::Button6Click() {
    auto& c = ctx_.fields.connection;
    c.OperatingMode = kSwitchReadRequest;
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        ShowStamped(ModeReadFailedText());
        return;
    }
    if (const auto text = ModeText(c.OperatingMode, util::TextTable::Display())) {
        ShowStamped(*text);
    }
}

void SwitchesController::Button7Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte request = SwitchSetRequest(page_.rb4->isChecked());
    c.LastResult =
        ctx_.library.IRDirectionSetting(c.ControllerAddress, request, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Switches", "红外探测方向设置"),
                                    static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void SwitchesController::Button8Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte value = kSwitchReadRequest;
    c.LastResult =
        ctx_.library.IRDirectionSetting(c.ControllerAddress, value, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Switches", "红外探测方向读取"),
                                        static_cast<std::uint8_t>(c.LastResult & 0xFF));
        return;
    }
    if (const auto text = InfraredDirectionText(value)) {
        ShowStamped(*text);
    }
}

void SwitchesController::Button9Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte request = SwitchSetRequest(page_.rb10->isChecked());
    c.LastResult = ctx_.library.ControllerReaderConnectionBrokenAlarm(c.ControllerAddress, request,
                                                                      c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(
        QCoreApplication::translate("Switches", "读写器连接中断报警设置"),
        static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void SwitchesController::Button10Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte value = kSwitchReadRequest;
    c.LastResult = ctx_.library.ControllerReaderConnectionBrokenAlarm(c.ControllerAddress, value,
                                                                      c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        ctx_.reporter.ShowCommandResult(
            QCoreApplication::translate("Switches", "读写器连接中断报警读取"),
            static_cast<std::uint8_t>(c.LastResult & 0xFF));
        return;
    }
    if (const auto text = ReaderLossAlarmText(value)) {
        ShowStamped(*text);
    }
}

void SwitchesController::btnSetBackRecordClick() {
    auto& c = ctx_.fields.connection;
    gate::Byte write = page_.rb14->isChecked() ? 1 : 0;
    c.LastResult =
        ctx_.library.SetBGLogDataStatus(c.ControllerAddress, write, c.ReplyStatus, c.PortHandle);
    const QString caption =
        c.LastResult == gate::result::kOk
            ? QCoreApplication::translate("Switches", "设置是否写后台记录")
            : QCoreApplication::translate("Switches", "设置是否写后台记录操作失败      ");
    ctx_.reporter.ShowCommandResult(caption, static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void SwitchesController::btnReadBackRecordClick() {
    auto& c = ctx_.fields.connection;
    gate::Byte status = 0;
    c.LastResult = ctx_.library.GetBGLogDataRecordingStatus(c.ControllerAddress, status,
                                                            c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        ctx_.reporter.ShowCommandResult(
            QCoreApplication::translate("Switches", "读取是否写后台记录操作失败    "),
            static_cast<std::uint8_t>(c.LastResult & 0xFF));
        return;
    }
    ShowStamped(BackRecordWritingText(status));
}

void SwitchesController::Button16Click() {
    auto& c = ctx_.fields.connection;
    const gate::Byte mode = page_.RadioButton3->isChecked() ? 1 : 0;
    c.LastResult =
        ctx_.library.SaveRestoreConfig(c.ControllerAddress, mode, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(
        QCoreApplication::translate("Switches", "保存或恢复配置现场数据    "),
        static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void SwitchesController::Button17Click() {
    auto& c = ctx_.fields.connection;
    const gate::Byte enable = page_.RadioButton5->isChecked() ? 1 : 0;
    c.LastResult =
        ctx_.library.SetAutoLoad(c.ControllerAddress, enable, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(
        QCoreApplication::translate("Switches", "设置后台配置信息自动加载   "),
        static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

}  // namespace commands
