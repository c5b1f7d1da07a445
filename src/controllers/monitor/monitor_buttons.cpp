#include "controllers/monitor/monitor_buttons.h"

#include <QAbstractButton>
#include <QWidget>

namespace app {

namespace {
void setEnabled(QWidget& form, const char* name, bool enabled) {
    if (auto* b = form.findChild<QAbstractButton*>(QString::fromLatin1(name))) {
        b->setEnabled(enabled);
    }
}
}  // namespace

void SetMonitorButtonsByMode(QWidget& form, std::uint8_t mode) {
    if (mode == 0) {
        setEnabled(form, "Button_C_Get", true);
        setEnabled(form, "StopGet", false);
        setEnabled(form, "Button13", false);
        setEnabled(form, "Button14", false);
    } else if (mode == 1) {
        setEnabled(form, "Button13", true);
        setEnabled(form, "Button14", false);
        setEnabled(form, "Button_C_Get", false);
        setEnabled(form, "StopGet", false);
    }
}

}  // namespace app
