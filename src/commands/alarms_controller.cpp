#include "commands/alarms_controller.h"

#include <QCoreApplication>

#include "app/form_fields.h"
#include "app/prompter.h"
#include "app/result_reporter.h"
#include "commands/form_controls.h"
#include "gate/gate_library.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace commands {

AlarmsController::AlarmsController(app::ConsoleContext& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      enables_{},
      pattern_{},
      setMask_(FindControl<QRadioButton>(ctx.form, "RadioButton7")) {
    for (int i = 0; i < kAlarmCount; ++i) {
        enables_[static_cast<std::size_t>(i)] =
            FindControl<QCheckBox>(ctx.form, AlarmCheckBoxName(i));
    }
    for (int i = 0; i < gate::kAlarmPatternSize; ++i) {
        pattern_[static_cast<std::size_t>(i)] =
            FindControl<QComboBox>(ctx.form, AlarmPatternListName(i));
    }
    connect(FindControl<QAbstractButton>(ctx.form, "Button12"), &QAbstractButton::clicked, this,
            &AlarmsController::Button12Click);
    connect(FindControl<QAbstractButton>(ctx.form, "Button11"), &QAbstractButton::clicked, this,
            &AlarmsController::Button11Click);
}

void AlarmsController::Button12Click() {
    auto& c = ctx_.fields.connection;
    AlarmMaskReply reply{};
    if (setMask_->isChecked()) {
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
            SelectItemOrNone(*pattern_[i], pattern[i]);
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
