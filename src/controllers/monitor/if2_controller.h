#pragma once

#include <QObject>

class QPushButton;

namespace app {
class TForm1;
}
namespace gui {
struct ConsoleContext;
class MessageList;
}  // namespace gui

namespace monitor {

// The second input (IF2): open and close on a serial port of its own, and the read of its
// stream into ListBox1 by Timer2 once a second.
class IF2Controller final : public QObject {
    Q_OBJECT
public:
    IF2Controller(gui::ConsoleContext& ctx, app::TForm1& form);

    void Btn_OpenIF2Click();
    void Btn_CloseIF2Click();
    void Timer2Timer();

    static constexpr int kHighestOfferedPort = 50;

private:
    void InvertButtons();
    void RefreshComPort();

    gui::ConsoleContext& ctx_;
    app::TForm1& form_;
    QPushButton* open_;
    QPushButton* close_;
    gui::MessageList* list_;
};

}  // namespace monitor
