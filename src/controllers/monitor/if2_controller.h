#pragma once

#include "gui/console_context.h"

#include <QObject>

class QTimer;

namespace gate {
class ComPortTable;
}
namespace Ui {
class PageChannel;
}

namespace monitor {

// The second input (IF2): open and close on a serial port of its own, and the read of its
// stream into ListBox1 by Timer2 once a second. It owns the enabled states of "打开IF2" and
// "关闭IF2".
class IF2Controller final : public QObject {
    Q_OBJECT
public:
    IF2Controller(gui::ConsoleContext ctx, Ui::PageChannel& page, QTimer& timer2,
                  const gate::ComPortTable& comPorts, QObject* parent = nullptr);

    void Btn_OpenIF2Click();
    void Btn_CloseIF2Click();
    void Timer2Timer();

    // "打开IF2" enabled, "关闭IF2" disabled: how every open and close of the controller
    // connection leaves them, whatever the second input is doing.
    void ResetButtons();

    static constexpr int kHighestOfferedPort = 50;

private:
    void InvertButtons();
    void RefreshComPort();

    gui::ConsoleContext ctx_;
    Ui::PageChannel& page_;
    QTimer& timer2_;
    const gate::ComPortTable& comPorts_;
};

}  // namespace monitor
