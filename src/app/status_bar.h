#pragma once

#include <QStatusBar>

#include <array>

class QLabel;

namespace app {

// The main window's four-panel status bar "StatusBar1": panel 0 the result line (350 wide),
// panel 1 the record-memory state (230), panel 2 the controller connection (85), panel 3 the
// second input (50 at least; it takes the rest of the width so its text is never clipped).
// Each panel is a label named Panel0 to Panel3, left to right.
class GateStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit GateStatusBar(QWidget* parent = nullptr);

    void SetPanel(int index, const QString& text);
    QString Panel(int index) const;
    QLabel* PanelLabel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }

    static constexpr int kPanelCount = 4;

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace app
