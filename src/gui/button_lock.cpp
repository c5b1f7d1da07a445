#include "gui/button_lock.h"

namespace gui {

ButtonLock::ButtonLock(QList<QWidget*> controls, QObject* parent)
    : QObject(parent), controls_(std::move(controls)) {}

void ButtonLock::Lock() {
    saved_.clear();
    for (QWidget* w : controls_) {
        saved_.append(Saved{w, !w->testAttribute(Qt::WA_ForceDisabled)});
        w->setEnabled(false);
    }
}

void ButtonLock::Restore() {
    for (const Saved& s : saved_) {
        if (s.widget) {
            s.widget->setEnabled(s.enabled);
        }
    }
    saved_.clear();
}

}  // namespace gui
