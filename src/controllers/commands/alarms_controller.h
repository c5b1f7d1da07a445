#pragma once

#include "core/commands/alarm_values.h"
#include "gui/console_context.h"

#include <QObject>

#include <array>

class QCheckBox;
class QComboBox;

namespace Ui {
class PageAlarm;
}

namespace commands {

// The alarm page: the alarm mask (set or query, the query also bringing back all five
// patterns) and the pattern set.
class AlarmsController final : public QObject {
    Q_OBJECT
public:
    AlarmsController(gui::ConsoleContext ctx, Ui::PageAlarm& page, QObject* parent = nullptr);

public Q_SLOTS:
    void Button12Click();  // mask set or query
    void Button11Click();  // pattern set

private:
    gui::ConsoleContext ctx_;
    Ui::PageAlarm& page_;
    std::array<QCheckBox*, kAlarmCount> enables_;              // alarm 1 to 5
    std::array<QComboBox*, gate::kAlarmPatternSize> pattern_;  // in record order
};

}  // namespace commands
