#include "controllers/commands/configuration_controller.h"

#include <QCoreApplication>

#include "forms/control_groups.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/list_selection.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "ui_page_command.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace commands {

ConfigurationController::ConfigurationController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                                                 QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), lists_(forms::ConfigurationLists(page)) {
    connect(page_.ControllerInfo, &QAbstractButton::clicked, this,
            &ConfigurationController::ControllerInfoClick);
    for (QAbstractButton* b :
         std::initializer_list<QAbstractButton*>{page_.btnSetControAddr, page_.btnGetControAddr}) {
        connect(b, &QAbstractButton::clicked, this, [this, b] { btnSetControAddrClick(b); });
    }
}

void ConfigurationController::ControllerInfoClick() {
    auto& c = ctx_.fields.connection;
    const bool set = page_.RadioButton2->isChecked();
    // The values of the lists as they stand; an unselected list has nothing to send, and a
    // read simply starts it at 0.
    std::array<gate::Byte, kConfigFieldCount> v{};
    for (int i = 0; i < kConfigFieldCount; ++i) {
        const QComboBox* list = lists_[static_cast<std::size_t>(i)];
        const auto value = ConfigValueFromSelection(i, list->currentIndex(), list->currentText());
        if (value) {
            v[static_cast<std::size_t>(i)] = *value;
        } else if (set) {
            ctx_.prompter.Message(NoSelectionMessage(QCoreApplication::translate(
                                      "Configuration", ConfigFieldOf(i).label)),
                                  InputCaption(), gui::Prompter::Icon::Information);
            return;
        }
    }
    if (set) {
        c.LastResult =
            ctx_.library.ConfigureController(c.ControllerAddress, v[0], v[1], v[2], v[3], v[4],
                                             v[5], v[6], v[7], c.ReplyStatus, c.PortHandle);
        ctx_.reporter.ReportChange(
            QCoreApplication::translate("Configuration", "设置控制器配置信息"), c.LastResult,
            c.ReplyStatus);
        return;
    }
    c.LastResult =
        ctx_.library.GetControllerConfig(c.ControllerAddress, v[0], v[1], v[2], v[3], v[4], v[5],
                                         v[6], v[7], c.ReplyStatus, c.PortHandle);
    // Applied whatever the result: a failed read leaves the values it started from.
    for (int i = 0; i < kConfigFieldCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        gui::SelectItemOrNone(*lists_[k], ConfigIndexFromValue(i, v[k]));
    }
    ctx_.reporter.Report(QCoreApplication::translate("Configuration", "获取控制器配置信息"),
                         c.LastResult, c.ReplyStatus);
}

void ConfigurationController::btnSetControAddrClick(QAbstractButton* sender) {
    auto& c = ctx_.fields.connection;
    // Each direction has its own caption: the buttons' texts are too short to say what was done.
    QString caption = QCoreApplication::translate("Configuration", "读取地址");
    if (sender == page_.btnSetControAddr) {
        caption = QCoreApplication::translate("Configuration", "设置地址");
        const QString text = page_.editNewConAddr->text();
        const AddressEntry entry = AddressFromText(text);
        if (entry.error == AddressEntry::Error::Empty) {
            ctx_.prompter.Message(AddressEmptyMessage(), InputCaption(),
                                  gui::Prompter::Icon::Information);
            return;
        }
        if (entry.error == AddressEntry::Error::NotANumber) {
            ctx_.prompter.ConversionError(text);
            return;
        }
        c.LastResult = ctx_.library.SetControllerAddr(c.ControllerAddress, 1, entry.address,
                                                      c.ReplyStatus, c.PortHandle);
        if (c.LastResult == gate::result::kOk) {
            c.ControllerAddress = entry.address;  // every later command goes to the new address
            page_.Edit4->setText(AddressText(c.ControllerAddress));  // no stale address
        }
    } else {
        c.LastResult =
            ctx_.library.SetControllerAddr(c.ControllerAddress, 0, 0, c.ReplyStatus, c.PortHandle);
        if (c.LastResult == gate::result::kOk) {
            page_.Edit4->setText(AddressText(c.ControllerAddress));
        }
    }
    ctx_.reporter.Report(caption, c.LastResult, c.ReplyStatus);
}

}  // namespace commands
