#include "controllers/commands/device_commands_controller.h"

#include <QCoreApplication>

#include "core/commands/device_values.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "ui_page_command.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace commands {

namespace {
gate::Byte IndexByte(const QComboBox& list) {
    return static_cast<gate::Byte>(list.currentIndex());
}
}  // namespace

DeviceCommandsController::DeviceCommandsController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                                   QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), clock_{page.Edit_year,   page.Edit_Month,
                                                      page.Edit_date,   page.Edit_Hour,
                                                      page.Edit_minute, page.Edit_Sedcond} {
    const auto bind = [this](QAbstractButton* button, void (DeviceCommandsController::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    bind(page_.SetRealy, &DeviceCommandsController::SetRealyClick);
    bind(page_.LEDAndBuzTest, &DeviceCommandsController::LEDAndBuzTestClick);
    bind(page_.ClockCMD, &DeviceCommandsController::ClockCMDClick);
    bind(page_.CloseIR, &DeviceCommandsController::CloseIRClick);
    bind(page_.OpenIR, &DeviceCommandsController::OpenIRClick);
    bind(page_.Btn_GetIRStatus, &DeviceCommandsController::Btn_GetIRStatusClick);
    bind(page_.Btn_GetControllerInfo, &DeviceCommandsController::Btn_GetControllerInfoClick);
    bind(page_.Btn_GetControllerParticInfo,
         &DeviceCommandsController::Btn_GetControllerParticInfoClick);
    bind(page_.Btn_ClearBuffer, &DeviceCommandsController::Btn_ClearBufferClick);
    bind(page_.btnGetReaderStatus, &DeviceCommandsController::btnGetReaderStatusClick);
}

void DeviceCommandsController::SetRealyClick() {
    const QString text = page_.ComboBox_Relay->currentText();
    const auto time = ParseDigits(text);
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
    const gate::Byte colour = page_.RadioButton_red->isChecked() ? 0 : 1;
    c.LastResult = ctx_.library.BuzzerAndLEDControl(
        c.ControllerAddress, IndexByte(*page_.ComboBox6), IndexByte(*page_.ComboBox8),
        IndexByte(*page_.ComboBox3), IndexByte(*page_.ComboBox7), IndexByte(*page_.ComboBox4),
        IndexByte(*page_.ComboBox2), colour, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "控制LED、蜂鸣器"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::ClockCMDClick() {
    auto& c = ctx_.fields.connection;
    if (page_.RadioButton_SetClock->isChecked()) {
        std::array<QString, 6> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = clock_[i]->text();
        }
        ClockEntry entry = ClockFromTexts(texts);
        switch (entry.error) {
            case ClockEntry::Error::EmptyField:
                ctx_.prompter.Message(ClockEmptyMessage(), ClockCaption(),
                                      gui::Prompter::Icon::Information);
                return;
            case ClockEntry::Error::NotANumber:
                ctx_.prompter.ConversionError(entry.badText);
                return;
            case ClockEntry::Error::YearOutOfRange:
                ctx_.prompter.Message(ClockYearMessage(), ClockCaption(),
                                      gui::Prompter::Icon::Information);
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

void DeviceCommandsController::SetInfrared(std::uint8_t action, const QString& caption) {
    auto& c = ctx_.fields.connection;
    c.LastResult = ctx_.library.SetIR(c.ControllerAddress, action, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.Report(caption, c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::CloseIRClick() {
    SetInfrared(1, QCoreApplication::translate("DeviceCommands", "关闭红外"));
}

void DeviceCommandsController::OpenIRClick() {
    SetInfrared(2, QCoreApplication::translate("DeviceCommands", "打开红外"));
}

void DeviceCommandsController::Btn_GetIRStatusClick() {
    auto& c = ctx_.fields.connection;
    page_.IRStatus->clear();
    gate::Byte state = 0;
    c.LastResult =
        ctx_.library.GetIRStatus(c.ControllerAddress, state, c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        page_.IRStatus->setText(InfraredStateText(state));
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "查询红外"), c.LastResult,
                         c.ReplyStatus);
}

void DeviceCommandsController::ClearIdentity() {
    page_.Edit17->clear();
    page_.Edit18->clear();
    page_.Edit19->clear();
}

void DeviceCommandsController::Btn_GetControllerInfoClick() {
    auto& c = ctx_.fields.connection;
    ClearIdentity();
    gate::Byte product = 0;
    gate::Byte major = 0;
    gate::Byte minor = 0;
    c.LastResult = ctx_.library.GetControllerInfo(c.ControllerAddress, product, major, minor,
                                                  c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        page_.Edit17->setText(ProductCodeText(product));
        page_.Edit18->setText(VersionText(major, minor));
    }
    // The detailed request exists from version 7 on; this never disables the button.
    if (AllowsDetailedInfo(major)) {
        page_.Btn_GetControllerParticInfo->setEnabled(true);
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "获取控制器基本信息"),
                         c.LastResult, c.ReplyStatus);
}

void DeviceCommandsController::Btn_GetControllerParticInfoClick() {
    auto& c = ctx_.fields.connection;
    ClearIdentity();
    gate::Byte product = 0;
    gate::Byte major = 0;
    gate::Byte minor = 0;
    std::array<gate::Byte, 4> serial{};
    c.LastResult = ctx_.library.GetControllerDetailedInfo(
        c.ControllerAddress, product, major, minor, serial, c.ReplyStatus, c.PortHandle);
    if ((c.LastResult & 0x3F) == 0) {
        page_.Edit17->setText(ProductCodeText(product));
        page_.Edit18->setText(VersionText(major, minor));
        page_.Edit19->setText(SerialNumberText(serial));
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
    page_.edtConnectStatus->clear();
    page_.edtANTStatus->clear();
    gate::Byte link = 0;
    gate::Byte rf = 0;
    c.LastResult = ctx_.library.GetControllerReaderConnectionStatus(c.ControllerAddress, link, rf,
                                                                    c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        const ReaderStatusTexts texts = ReaderStatusText(link, rf, util::TextTable::Display());
        page_.edtConnectStatus->setText(texts.connection);
        page_.edtANTStatus->setText(texts.rfField);
    }
    ctx_.reporter.Report(QCoreApplication::translate("DeviceCommands", "获取读写器状态"),
                         c.LastResult, c.ReplyStatus);
}

}  // namespace commands
