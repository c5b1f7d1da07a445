#pragma once

#include "gui/console_context.h"

#include <QObject>

#include <cstdint>

class QTabWidget;
class QTimer;

namespace gate {
class ComPortTable;
}
namespace Ui {
class PageAlarm;
class PageCommand;
}  // namespace Ui

namespace shell {

class ConnectionController;

// Start-up and shut-down of the main window and its page change: FormCreate fills every list
// and sets the initial selections and enabled states, FormCloseQuery stops the timers, and
// PageControl1Change stops the polls and has the monitoring buttons follow the mode.
class StartupController final : public QObject {
    Q_OBJECT
public:
    // What start-up fills and switches: the main pages (PageControl1), the command and alarm
    // pages, the three timers and the serial ports on offer.
    struct Window {
        QTabWidget& pages;
        Ui::PageCommand& command;
        Ui::PageAlarm& alarm;
        QTimer& timer1;
        QTimer& timer2;
        QTimer& timer3;
        const gate::ComPortTable& comPorts;
    };
    StartupController(gui::ConsoleContext ctx, Window window, ConnectionController& connection,
                      QObject* parent = nullptr);

    void FormCreate();
    void FormCloseQuery();
    void PageControl1Change();

Q_SIGNALS:
    // The page changed while a connection is open: the polls stopped, and the monitoring
    // buttons are to follow the operating mode.
    void PageChangedWhileConnected(std::uint8_t mode);

private:
    gui::ConsoleContext ctx_;
    Window w_;
    ConnectionController& connection_;
};

}  // namespace shell
