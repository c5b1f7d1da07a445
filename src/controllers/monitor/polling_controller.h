#pragma once

#include "core/monitor/message_poller.h"
#include "gui/console_context.h"

#include <QObject>

#include <array>

class QComboBox;
class QTimer;
class QWidget;

namespace Ui {
class PageChannel;
class PageCommand;
class PageEas;
}  // namespace Ui
namespace gui {
class MessageList;
}

namespace monitor {

class MonitorButtons;

// The two monitoring pages: the start, stop and clear buttons, the poll timers Timer1 (channel
// management) and Timer3 (EAS), and the message lists the polls write to.
class PollingController final : public QObject, private PollSink {
    Q_OBJECT
public:
    // What the polls work with: the main window (closed by a tick after the close request), the
    // two monitoring pages, the command page (its LED and buzzer lists drive a tagged passage)
    // and the two poll timers.
    struct Window {
        QWidget& mainWindow;
        Ui::PageChannel& channel;
        Ui::PageEas& eas;
        Ui::PageCommand& command;
        QTimer& timer1;
        QTimer& timer3;
    };
    PollingController(gui::ConsoleContext ctx, Window window, MonitorButtons& buttons,
                      QObject* parent = nullptr);

    void Timer1Timer();
    void Timer3Timer();
    void Button_C_GetClick();
    void StopGetClick();
    void Button13Click();
    void Button14Click();
    void ClearGetInformationClick();
    void Button15Click();

    // Switches both polls off (the connection closed: a poll left running would call the
    // closed link every 50 ms and fill the status bar with errors).
    void StopPolls();

private:
    // A tick that finds the controller connection closed switches its timer off instead of
    // polling a closed link every 50 ms; true when the tick may poll.
    bool TickMayRun(QTimer& timer);

    void AppendLine(MonitorList list, const QString& line) override;
    void ScrollToNewest(MonitorList list) override;
    void ProcessPendingEvents() override;
    std::optional<std::array<gate::Byte, 6>> LedBuzzerSelection() override;
    void Report(const QString& caption, std::int32_t result, gate::Byte replyStatus) override;

    gui::MessageList& List(MonitorList list);

    gui::ConsoleContext ctx_;
    Window w_;
    MonitorButtons& buttons_;
    MessagePoller poller_;
    std::array<gui::MessageList*, 11> lists_;  // in MonitorList order
    // Buzzer on, buzzer off, beep count, LED on, LED off, flash count.
    std::array<QComboBox*, 6> ledBuzzerLists_;
};

}  // namespace monitor
