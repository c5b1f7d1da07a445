#include "controllers/commands/alarms_controller.h"

#include <QCoreApplication>

#include "forms/control_groups.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/list_selection.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "ui_page_alarm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace commands {

AlarmsController::AlarmsController(gui::ConsoleContext ctx, Ui::PageAlarm& page, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      page_(page),
      enables_(forms::AlarmEnableBoxes(page)),
      pattern_(forms::AlarmPatternLists(page)) {
    connect(page_.Button12, &QAbstractButton::clicked, this, &AlarmsController::Button12Click);
    connect(page_.Button11, &QAbstractButton::clicked, this, &AlarmsController::Button11Click);
}

void AlarmsController::Button12Click() {
    auto& c = ctx_.fields.connection;
    AlarmMaskReply reply{};
    if (page_.RadioButton7->isChecked()) {
        AlarmEnables enables{};
        for (std::size_t i = 0; i < enables.size(); ++i) {
            enables[i] = enables_[i]->isChecked();
        }
        c.LastResult = ctx_.library.SetAlarmMask(c.ControllerAddress, AlarmMaskSetByte(enables),
                                                 reply, c.ReplyStatus, c.PortHandle);
        ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Alarms", "设置  "),
                                        static_cast<std::uint8_t>(c.LastResult & 0xFF));
        return;
    }
    c.LastResult = ctx_.library.SetAlarmMask(c.ControllerAddress, kAlarmMaskQuery, reply,
                                             c.ReplyStatus, c.PortHandle);
    if (c.LastResult == gate::result::kOk) {
        const AlarmEnables enables = AlarmEnablesFromMask(reply[0]);
        for (std::size_t i = 0; i < enables.size(); ++i) {
            enables_[i]->setChecked(enables[i]);
        }
        const AlarmPattern pattern = AlarmPatternFromReply(reply);
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            gui::SelectItemOrNone(*pattern_[i], pattern[i]);
        }
    }
    ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Alarms", "询查 "),
                                    static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

void AlarmsController::Button11Click() {
    QStringList texts;
    for (const QComboBox* list : pattern_) {
        texts.append(list->currentText());
    }
    int bad = 0;
    auto pattern = AlarmPatternFromTexts(texts, &bad);
    if (!pattern) {
        ctx_.prompter.ConversionError(texts.value(bad));
        return;
    }
    auto& c = ctx_.fields.connection;
    c.LastResult =
        ctx_.library.SetAlarmPattern(c.ControllerAddress, *pattern, c.ReplyStatus, c.PortHandle);
    ctx_.reporter.ShowCommandResult(QCoreApplication::translate("Alarms", "报警设置   "),
                                    static_cast<std::uint8_t>(c.LastResult & 0xFF));
}

}  // namespace commands
