#pragma once

#include <QObject>

#include <cstdint>

namespace gui {
struct ConsoleContext;
}

namespace app {

class TForm1;

// Start-up and shut-down of the main window and its page change: FormCreate fills every list
// and sets the initial selections and enabled states, FormCloseQuery stops the timers, and
// PageControl1Change stops the polls and resets the monitoring buttons by mode.
class StartupController final : public QObject {
    Q_OBJECT
public:
    StartupController(gui::ConsoleContext& ctx, TForm1& form);

    void FormCreate();
    void FormCloseQuery();
    void PageControl1Change();

Q_SIGNALS:
    // The page changed while a connection is open: the polls stopped, and the monitoring
    // buttons are to follow the operating mode.
    void PageChangedWhileConnected(std::uint8_t mode);

private:
    gui::ConsoleContext& ctx_;
    TForm1& form_;
};

}  // namespace app
