#pragma once

#include <QMainWindow>

namespace app {

class GateStatusBar;

// The main window. Its pages and their controllers are added by the subsystems.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    GateStatusBar& StatusBar() { return *statusBar_; }

private:
    GateStatusBar* statusBar_;
};

}  // namespace app
