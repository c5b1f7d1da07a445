#pragma once

#include <QStatusBar>
#include <QString>

#include "gate/connection_rules.h"

#include <array>
#include <cstdint>

class QLabel;

namespace gui {

// The main window's four-panel status bar "StatusBar1": panel 0 the result line (350 wide),
// panel 1 the record-memory state (230), panel 2 the controller connection (as wide as its
// longest text needs at the current font, 85 at least), panel 3 the second input (50 at least;
// it takes the rest of the width). Each panel is a label named Panel0 to Panel3, left to right.
class GateStatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit GateStatusBar(QWidget* parent = nullptr);

    // A text longer than its panel is offered whole as its tooltip; panels 0 to 2 show it cut
    // with an ellipsis. Panel() gives the whole text either way.
    void SetPanel(int index, const QString& text);
    QString Panel(int index) const;
    QLabel* PanelLabel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }

    // Panels 2 and 3 from the controller's connection handle and the IF2 port (-1: closed).
    // Every refresh of the two panels goes through here, so they always read alike. Panel 2
    // keeps saying how the link stands (ShowLinkCondition) until the link is closed.
    void ShowPorts(std::int32_t portHandle, std::int32_t if2Port);
    // Panel 2 for an open link that is being re-established or has just come back.
    void ShowLinkCondition(std::int32_t portHandle, gate::LinkCondition condition);

    static constexpr int kPanelCount = 4;

private:
    std::array<QLabel*, kPanelCount> panels_{};
    std::array<QString, kPanelCount> texts_{};
    gate::LinkCondition condition_ = gate::LinkCondition::Normal;
};

}  // namespace gui
