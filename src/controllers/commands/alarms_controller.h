#pragma once

#include "core/commands/alarm_values.h"
#include "gui/console_context.h"

#include <QObject>

#include <array>

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace commands {

// The alarm page: the alarm mask (set or query, the query also bringing back all five
// patterns) and the pattern set.
class AlarmsController final : public QObject {
    Q_OBJECT
public:
    explicit AlarmsController(gui::ConsoleContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void Button12Click();  // mask set or query
    void Button11Click();  // pattern set

private:
    gui::ConsoleContext ctx_;
    std::array<QCheckBox*, kAlarmCount> enables_;
    std::array<QComboBox*, gate::kAlarmPatternSize> pattern_;
    QRadioButton* setMask_;  // RadioButton7
};

}  // namespace commands
