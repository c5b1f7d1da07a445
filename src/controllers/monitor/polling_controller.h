#pragma once

#include "core/monitor/message_poller.h"

#include <QObject>

#include <array>

class QPushButton;
class QTimer;
class QComboBox;

namespace app {
class TForm1;
}
namespace gui {
struct ConsoleContext;
class MessageList;
}  // namespace gui

namespace monitor {

// The two monitoring pages: the start, stop and clear buttons, the poll timers Timer1 (channel
// management) and Timer3 (EAS), and the message lists the polls write to.
class PollingController final : public QObject, private PollSink {
    Q_OBJECT
public:
    PollingController(gui::ConsoleContext& ctx, app::TForm1& form);

    void Timer1Timer();
    void Timer3Timer();
    void Button_C_GetClick();
    void StopGetClick();
    void Button13Click();
    void Button14Click();
    void ClearGetInformationClick();
    void Button15Click();

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

    gui::ConsoleContext& ctx_;
    app::TForm1& form_;
    MessagePoller poller_;
    std::array<gui::MessageList*, 11> lists_{};
    std::array<QComboBox*, 6> ledBuzzerLists_{};
    QPushButton* startChannel_;
    QPushButton* stopChannel_;
    QPushButton* startEas_;
    QPushButton* stopEas_;
};

}  // namespace monitor
