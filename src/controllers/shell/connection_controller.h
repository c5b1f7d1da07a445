#pragma once

#include "forms/command_controls.h"
#include "gate/gate_library.h"
#include "gui/console_context.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QAbstractButton;

namespace Ui {
class PageCommand;
}
namespace gui {
class BusyPointer;
}

namespace shell {

// The controller connection of the main window: serial and network open and close, the
// identity and mode query, the connection-tab change, the connection panels of the status bar,
// and the enabled state of the command controls (enabled exactly while a connection is open).
class ConnectionController final : public QObject {
    Q_OBJECT
public:
    ConnectionController(gui::ConsoleContext ctx, Ui::PageCommand& page,
                         forms::CommandControlList commandControls, QObject* parent = nullptr);

    void OpenPortClick();
    void ClosePortClick();
    void Button18Click();
    void Button19Click();
    void PageControl2Change();
    void RefreshComPort();
    // The disconnected look: also how the window starts.
    void ClearLastInfo();
    // The library closed the link itself: the close path of the open kind, then a message box
    // that says why.
    void LinkClosedByLibrary(gate::LinkEvent why);

Q_SIGNALS:
    // An open's mode query returned (whatever its result), with the mode it left.
    void OperatingModeRead(std::uint8_t mode);
    // An open succeeded: the command controls are enabled.
    void Connected();
    // The window took its disconnected look (start-up and every close).
    void Disconnected();

private:
    // What both opens do once the open operation returned: report a failure, or query the
    // identity and mode and switch the window to its connected look.
    void FinishOpen(gui::BusyPointer& busy, const QString& caption, QAbstractButton& openButton,
                    QAbstractButton& closeButton);
    void QueryIdentityAndMode();
    // Ends a link that stayed open after a failed mode query before a new open starts.
    void ReleaseStaleLink();
    // The network close of the connection on this IP port, once the port is known.
    void CloseNetwork(std::int32_t port);

    gui::ConsoleContext ctx_;
    Ui::PageCommand& page_;
    forms::CommandControlList commandControls_;
};

}  // namespace shell
