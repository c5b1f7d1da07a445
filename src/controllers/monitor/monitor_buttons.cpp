#include "controllers/monitor/monitor_buttons.h"

#include "ui_page_channel.h"
#include "ui_page_eas.h"

#include <QAbstractButton>

namespace monitor {

namespace {

void Invert(QAbstractButton& button) {
    button.setEnabled(!button.isEnabled());
}

}  // namespace

MonitorButtons::MonitorButtons(Ui::PageChannel& channel, Ui::PageEas& eas, QObject* parent)
    : QObject(parent),
      startChannel_(*channel.Button_C_Get),
      stopChannel_(*channel.StopGet),
      startEas_(*eas.Button13),
      stopEas_(*eas.Button14) {}

std::array<QAbstractButton*, 4> MonitorButtons::Buttons() const {
    return {&startChannel_, &stopChannel_, &startEas_, &stopEas_};
}

void MonitorButtons::ModeRead(std::uint8_t mode) {
    if (mode == 0) {
        startChannel_.setEnabled(true);
    }
    if (mode == 1 || (mode & 0x02) != 0) {
        startEas_.setEnabled(true);
    }
}

void MonitorButtons::DisableAll() {
    for (QAbstractButton* b : Buttons()) {
        b->setEnabled(false);
    }
}

void MonitorButtons::ShowMode(std::uint8_t mode) {
    if (mode == 0) {
        startChannel_.setEnabled(true);
        stopChannel_.setEnabled(false);
        startEas_.setEnabled(false);
        stopEas_.setEnabled(false);
    } else if (mode == 1) {
        startEas_.setEnabled(true);
        stopEas_.setEnabled(false);
        startChannel_.setEnabled(false);
        stopChannel_.setEnabled(false);
    }
}

void MonitorButtons::InvertChannel() {
    Invert(startChannel_);
    Invert(stopChannel_);
}

void MonitorButtons::InvertEas() {
    Invert(startEas_);
    Invert(stopEas_);
}

}  // namespace monitor
