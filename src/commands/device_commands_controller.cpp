#include "commands/device_commands_controller.h"

#include <QCoreApplication>

#include "app/form_fields.h"
#include "app/prompter.h"
#include "app/result_reporter.h"
#include "commands/device_values.h"
#include "commands/form_controls.h"
#include "gate/gate_library.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace commands {

namespace {
gate::Byte indexByte(const QComboBox* list) {
    return static_cast<gate::Byte>(list->currentIndex());
}
}  // namespace

DeviceCommandsController::DeviceCommandsController(app::ConsoleContext& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      relay_(FindControl<QComboBox>(ctx.form, "ComboBox_Relay")),
      ledOn_(FindControl<QComboBox>(ctx.form, "ComboBox7")),
      ledOff_(FindControl<QComboBox>(ctx.form, "ComboBox4")),
      flashCount_(FindControl<QComboBox>(ctx.form, "ComboBox2")),
      buzzerOn_(FindControl<QComboBox>(ctx.form, "ComboBox6")),
      buzzerOff_(FindControl<QComboBox>(ctx.form, "ComboBox8")),
      beepCount_(FindControl<QComboBox>(ctx.form, "ComboBox3")),
      red_(FindControl<QRadioButton>(ctx.form, "RadioButton_red")),
      clock_{FindControl<QLineEdit>(ctx.form, "Edit_year"),
             FindControl<QLineEdit>(ctx.form, "Edit_Month"),
             FindControl<QLineEdit>(ctx.form, "Edit_date"),
             FindControl<QLineEdit>(ctx.form, "Edit_Hour"),
             FindControl<QLineEdit>(ctx.form, "Edit_minute"),
             FindControl<QLineEdit>(ctx.form, "Edit_Sedcond")},
      setClock_(FindControl<QRadioButton>(ctx.form, "RadioButton_SetClock")),
      irStatus_(FindControl<QLineEdit>(ctx.form, "IRStatus")),
      product_(FindControl<QLineEdit>(ctx.form, "Edit17")),
      version_(FindControl<QLineEdit>(ctx.form, "Edit18")),
      serial_(FindControl<QLineEdit>(ctx.form, "Edit19")),
      detailedInfo_(FindControl<QAbstractButton>(ctx.form, "Btn_GetControllerParticInfo")),
      connectStatus_(FindControl<QLineEdit>(ctx.form, "edtConnectStatus")),
      antStatus_(FindControl<QLineEdit>(ctx.form, "edtANTStatus")) {
    const auto bind = [this](const char* name, void (DeviceCommandsController::*handler)()) {
        connect(FindControl<QAbstractButton>(ctx_.form, name), &QAbstractButton::clicked, this,
                handler);
    };
    bind("SetRealy", &DeviceCommandsController::SetRealyClick);
    bind("LEDAndBuzTest", &DeviceCommandsController::LEDAndBuzTestClick);
    bind("ClockCMD", &DeviceCommandsController::ClockCMDClick);
    bind("CloseIR", &DeviceCommandsController::CloseIRClick);
    bind("OpenIR", &DeviceCommandsController::OpenIRClick);
    bind("Btn_GetIRStatus", &DeviceCommandsController::Btn_GetIRStatusClick);
    bind("Btn_GetControllerInfo", &DeviceCommandsController::Btn_GetControllerInfoClick);
    bind("Btn_GetControllerParticInfo",
         &DeviceCommandsController::Btn_GetControllerParticInfoClick);
    bind("Btn_ClearBuffer", &DeviceCommandsController::Btn_ClearBufferClick);
    bind("btnGetReaderStatus", &DeviceCommandsController::btnGetReaderStatusClick);
}

void DeviceCommandsController::SetRealyClick() {
    const QString text = relay_->currentText();
    const auto time = ParseDecimal(text);
    if (!time) {
        ctx_.prompter.ConversionError(text);
        return;
    }
    auto& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.SetRelay(c.ControllerAddress, *time, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "设置继电器"), c.LastResult,
                         c.ReplyStatus);
}

void DeviceCommandsController::LEDAndBuzTestClick() {
    auto& c = ctx_.fields.connection;
    const gate::Byte colour = red_->isChecked() ? 0 : 1;
    c.LastResult = ctx_.library.BuzzerAndLEDControl(
        c.ControllerAddress, indexByte(buzzerOn_), indexByte(buzzerOff_), indexByte(beepCount_),
        indexByte(ledOn_), indexByte(ledOff_), indexByte(flashCount_), colour, c.ReplyStatus,
        c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "控制LED、蜂鸣器"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::ClockCMDClick() {
    auto& c = ctx_.fields.connection;
    if (setClock_->isChecked()) {
        std::array<QString, 6> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = clock_[i]->text();
        }
        ClockEntry entry = ClockFromTexts(texts);
        switch (entry.error) {
            case ClockEntry::Error::EmptyField:
                ctx_.prompter.Message(ClockEmptyMessage(), ClockCaption(),
                                      app::Prompter::Icon::Information);
                return;
            case ClockEntry::Error::NotANumber:
                ctx_.prompter.ConversionError(entry.badText);
                return;
            case ClockEntry::Error::YearOutOfRange:
                ctx_.prompter.Message(ClockYearMessage(), ClockCaption(),
                                      app::Prompter::Icon::Information);
                return;
            case ClockEntry::Error::None:
                break;
        }
        c.LastResult =
            ctx_.library.SetClock(c.ControllerAddress, entry.clock, c.ReplyStatus, c.PortHandle);
        ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "设置实时时钟"),
                             c.LastResult, c.ReplyStatus);
        return;
    }
    gate::Clock6 record{};
    c.LastResult = ctx_.library.GetClock(c.ControllerAddress, record, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        const auto texts = ClockTexts(record);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            clock_[i]->setText(texts[i]);
        }
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "查询实时时钟"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::setInfrared(std::uint8_t action, const QString& caption) {
    auto& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.SetIR(c.ControllerAddress, action, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(caption, c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::CloseIRClick() {
    setInfrared(1, QCoreApplication::translate("DeviceCommands", "关闭红外"));
}

void DeviceCommandsController::OpenIRClick() {
    setInfrared(2, QCoreApplication::translate("DeviceCommands", "打开红外"));
}

void DeviceCommandsController::Btn_GetIRStatusClick() {
    auto& c = ctx_.fields.connection;
    irStatus_->clear();
    gate::Byte state = 0;
    c.LastResult =
        ctx_.library.GetIRStatus(c.ControllerAddress, state, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        irStatus_->setText(InfraredStateText(state));
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "查询红外"), c.LastResult,
                         c.ReplyStatus);
}

void DeviceCommandsController::clearIdentity() {
    product_->clear();
    version_->clear();
    serial_->clear();
}

void DeviceCommandsController::Btn_GetControllerInfoClick() {
    auto& c = ctx_.fields.connection;
    clearIdentity();
    gate::Byte product = 0;
    gate::Byte major = 0;
    gate::Byte minor = 0;
    c.LastResult = ctx_.library.GetControllerInfo(c.ControllerAddress, product, major, minor,
                                                  c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        product_->setText(ProductCodeText(product));
        version_->setText(VersionText(major, minor));
    }
    // The detailed request exists from version 7 on; this never disables the button.
    if (AllowsDetailedInfo(major)) {
        detailedInfo_->setEnabled(true);
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "获取控制器基本信息"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::Btn_GetControllerParticInfoClick() {
    auto& c = ctx_.fields.connection;
    clearIdentity();
    gate::Byte product = 0;
    gate::Byte major = 0;
    gate::Byte minor = 0;
    std::array<gate::Byte, 4> serial{};
    c.LastResult = ctx_.library.GetControllerDetailedInfo(
        c.ControllerAddress, product, major, minor, serial, c.ReplyStatus, c.PortHandle);
    if ((c.LastResult & 0x3F) == 0) {
        product_->setText(ProductCodeText(product));
        version_->setText(VersionText(major, minor));
        serial_->setText(SerialNumberText(serial));
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "获取控制器详细信息"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::Btn_ClearBufferClick() {
    auto& c = ctx_.fields.connection;
    c.LastResult =
        ctx_.library.ClearControllerBuffer(c.ControllerAddress, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "清除控制器队列中的缓存"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::btnGetReaderStatusClick() {
    auto& c = ctx_.fields.connection;
    connectStatus_->clear();
    antStatus_->clear();
    gate::Byte link = 0;
    gate::Byte rf = 0;
    c.LastResult = ctx_.library.GetControllerReaderConnectionStatus(c.ControllerAddress, link, rf,
                                                                    c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        const ReaderStatusTexts texts = ReaderStatusText(link, rf, util::TextTable::Display());
        connectStatus_->setText(texts.connection);
        antStatus_->setText(texts.rfField);
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "获取读写器状态"),
                         c.LastResult, c.ReplyStatus);
}

}  // namespace commands
