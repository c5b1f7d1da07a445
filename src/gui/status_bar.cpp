#include "gui/status_bar.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

#include "gate/connection_rules.h"

namespace gui {

namespace {

constexpr std::array<int, GateStatusBar::kPanelCount> kWidths{350, 230, 85, 50};

// The width a panel needs to show each of the texts whole (frame and indent included).
int WidthForTexts(QLabel& panel, std::initializer_list<QString> texts) {
    const QString kept = panel.text();
    int width = 0;
    for (const QString& text : texts) {
        panel.setText(text);
        width = std::max(width, panel.sizeHint().width());
    }
    panel.setText(kept);
    return width;
}

}  // namespace

GateStatusBar::GateStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        panels_[static_cast<std::size_t>(i)] = label;
    }
    // Panel 2 grows to its longest text: a closed link, the highest COM number, a five-digit
    // network port, a link being re-established or just back.
    using gate::LinkCondition;
    const int connectionWidth = std::max(
        kWidths[2],
        WidthForTexts(*panels_[2], {gate::ControllerPanelText(-1), gate::ControllerPanelText(255),
                                    gate::ControllerPanelText(65534),
                                    gate::ControllerPanelText(1, LinkCondition::Reconnecting),
                                    gate::ControllerPanelText(1, LinkCondition::Restored)}));
    for (int i = 0; i < kPanelCount; ++i) {
        QLabel* label = panels_[static_cast<std::size_t>(i)];
        const bool last = i == kPanelCount - 1;
        if (last) {
            label->setMinimumWidth(kWidths[static_cast<std::size_t>(i)]);
        } else {
            label->setFixedWidth(i == 2 ? connectionWidth : kWidths[static_cast<std::size_t>(i)]);
        }
        addWidget(label, last ? 1 : 0);
    }
    ShowPorts(-1, -1);
}

void GateStatusBar::SetPanel(int index, const QString& text) {
    QLabel* panel = PanelLabel(index);
    texts_.at(static_cast<std::size_t>(index)) = text;
    panel->setText(text);
    const int needed = panel->sizeHint().width();
    if (needed <= panel->width()) {
        panel->setToolTip(QString());
        return;
    }
    // The rare line longer than its panel can be read whole by pointing at it. A panel of fixed
    // width (all but the last) cuts it with an ellipsis, so that it does not look complete.
    panel->setToolTip(text);
    if (panel->minimumWidth() == panel->maximumWidth()) {
        const QFontMetrics metrics = panel->fontMetrics();
        const int frameAndIndent = needed - metrics.horizontalAdvance(text);
        panel->setText(
            metrics.elidedText(text, Qt::ElideRight, std::max(0, panel->width() - frameAndIndent)));
    }
}

QString GateStatusBar::Panel(int index) const {
    return texts_.at(static_cast<std::size_t>(index));
}

void GateStatusBar::ShowPorts(std::int32_t portHandle, std::int32_t if2Port) {
    if (portHandle == -1) {
        condition_ = gate::LinkCondition::Normal;
    }
    SetPanel(2, gate::ControllerPanelText(portHandle, condition_));
    SetPanel(3, gate::IF2PanelText(if2Port));
}

void GateStatusBar::ShowLinkCondition(std::int32_t portHandle, gate::LinkCondition condition) {
    condition_ = portHandle == -1 ? gate::LinkCondition::Normal : condition;
    SetPanel(2, gate::ControllerPanelText(portHandle, condition_));
}

}  // namespace gui
