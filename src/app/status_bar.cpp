#include "app/status_bar.h"

#include <QLabel>

namespace app {

GateStatusBar::GateStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    static constexpr std::array<int, kPanelCount> widths{350, 230, 85, 50};
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        const bool last = i == kPanelCount - 1;
        if (last) {
            label->setMinimumWidth(widths[static_cast<std::size_t>(i)]);
        } else {
            label->setFixedWidth(widths[static_cast<std::size_t>(i)]);
        }
        addWidget(label, last ? 1 : 0);
        panels_[static_cast<std::size_t>(i)] = label;
    }
    SetPanel(2, QStringLiteral("IF1: 通讯关闭"));
    SetPanel(3, QStringLiteral("IF2: 通讯关闭"));
}

void GateStatusBar::SetPanel(int index, const QString& text) {
    PanelLabel(index)->setText(text);
}

QString GateStatusBar::Panel(int index) const {
    return PanelLabel(index)->text();
}

}  // namespace app
