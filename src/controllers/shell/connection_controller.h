#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

namespace gui {
struct ConsoleContext;
}

namespace app {

class BusyPointer;
class TForm1;

// The controller connection of the main window: serial and network open and close, the
// identity and mode query, the connection-tab change and the connection panels of the status
// bar.
class ConnectionController final : public QObject {
    Q_OBJECT
public:
    ConnectionController(gui::ConsoleContext& ctx, TForm1& form);

    void OpenPortClick();
    void ClosePortClick();
    void Button18Click();
    void Button19Click();
    void PageControl2Change();
    void RefreshComPort();
    void ClearLastInfo();

Q_SIGNALS:
    // An open's mode query returned (whatever its result), with the mode it left.
    void OperatingModeRead(std::uint8_t mode);
    // An open succeeded: the command controls are enabled.
    void Connected();
    // The window took its disconnected look (every close).
    void Disconnected();

private:
    // What both opens do once the open operation returned: report a failure, or query the
    // identity and mode and switch the window to its connected look.
    void FinishOpen(BusyPointer& busy, const QString& caption, const char* openButton,
                    const char* closeButton);
    void QueryIdentityAndMode();
    void EnableCommandControls();
    // Ends a link that stayed open after a failed mode query before a new open starts.
    void ReleaseStaleLink();

    gui::ConsoleContext& ctx_;
    TForm1& form_;
};

}  // namespace app
