#include "commands/switches_controller.h"

#include <QCoreApplication>

#include "app/form_fields.h"
#include "app/mode_buttons.h"
#include "app/result_reporter.h"
#include "commands/form_controls.h"
#include "commands/switch_values.h"
#include "gate/gate_library.h"
#include "util/clock.h"

#include <QAbstractButton>
#include <QRadioButton>

namespace commands {

SwitchesController::SwitchesController(app::ConsoleContext& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      channelMode_(FindControl<QRadioButton>(ctx.form, "rb1")),
      easMode_(FindControl<QRadioButton>(ctx.form, "rb2")),
      irReverse_(FindControl<QRadioButton>(ctx.form, "rb4")),
      lossAlarm_(FindControl<QRadioButton>(ctx.form, "rb10")),
      writeRecords_(FindControl<QRadioButton>(ctx.form, "rb14")),
      save_(FindControl<QRadioButton>(ctx.form, "RadioButton3")),
      autoLoad_(FindControl<QRadioButton>(ctx.form, "RadioButton5")) {
    const auto bind = [this](const char* name, void (SwitchesController::*handler)()) {
        connect(FindControl<QAbstractButton>(ctx_.form, name), &QAbstractButton::clicked, this,
                handler);
    };
    bind("Button5", &SwitchesController::Button5Click);
    bind("Button6", &SwitchesController::Button6Click);
    bind("Button7", &SwitchesController::Button7Click);
    bind("Button8", &SwitchesController::Button8Click);
    bind("Button9", &SwitchesController::Button9Click);
    bind("Button10", &SwitchesController::Button10Click);
    bind("btnSetBackRecord", &SwitchesController::btnSetBackRecordClick);
    bind("btnReadBackRecord", &SwitchesController::btnReadBackRecordClick);
    bind("Button16", &SwitchesController::Button16Click);
    bind("Button17", &SwitchesController::Button17Click);
}

void SwitchesController::showStamped(const QString& text) {
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
        showStamped(ModeForcedRefusalText());
        return;
    }
    if (channelMode_->isChecked()) {
        c.OperatingMode = SwitchSetRequest(false);
    } else if (easMode_->isChecked()) {
        c.OperatingMode = SwitchSetRequest(true);
    }
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        showStamped(ModeSetFailedText());
        return;
    }
    // Only the buttons follow the new mode; a running poll keeps running.
    app::SetMonitorButtonsByMode(ctx_.form, c.OperatingMode);
    showStamped(ModeSetDoneText());
}

void SwitchesController::Button6Click() {
    auto& c = ctx_.fields.connection;
    c.OperatingMode = kSwitchReadRequest;
    c.LastResult =
        ctx_.library.ModeSwitch(c.ControllerAddress, c.OperatingMode, c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk) {
        showStamped(ModeReadFailedText());
        return;
    }
    if (const auto text = ModeText(c.OperatingMode, util::TextTable::Display())) {
        showStamped(*text);
    }
}

void SwitchesController::Button7Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte request = SwitchSetRequest(irReverse_->isChecked());
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
        showStamped(*text);
    }
}

void SwitchesController::Button9Click() {
    auto& c = ctx_.fields.connection;
    gate::Byte request = SwitchSetRequest(lossAlarm_->isChecked());
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
        showStamped(*text);
    }
}

void SwitchesController::btnSetBackRecordClick() {
    auto& c = ctx_.fields.connection;
    gate::Byte write = writeRecords_->isChecked() ? 1 : 0;
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
    showStamped(BackRecordWritingText(status));
}

void SwitchesController::Button16Click() {
    auto& c = ctx_.fields.connection;
    const gate::Byte mode = save_->isChecked() ? 1 : 0;
    c.LastResult =
        ctx_.library.SaveRestoreConfig(c.ControllerAddress, mode, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(
        QCoreApplication::translate("Switches", "保存或恢复配置现场数据    "),
        static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void SwitchesController::Button17Click() {
    auto& c = ctx_.fields.connection;
    const gate::Byte enable = autoLoad_->isChecked() ? 1 : 0;
    c.LastResult =
        ctx_.library.SetAutoLoad(c.ControllerAddress, enable, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(
        QCoreApplication::translate("Switches", "设置后台配置信息自动加载   "),
        static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

}  // namespace commands
