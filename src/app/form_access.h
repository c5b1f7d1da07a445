#pragma once

#include <QString>
#include <QWidget>

namespace app {

// The control of the given object name inside a window; null when the window has none.
template <typename T>
T* Control(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

inline void SetEnabled(QWidget& window, const char* name, bool enabled) {
    if (auto* w = Control<QWidget>(window, name)) {
        w->setEnabled(enabled);
    }
}

inline void InvertEnabled(QWidget& window, const char* name) {
    if (auto* w = Control<QWidget>(window, name)) {
        w->setEnabled(!w->isEnabled());
    }
}

}  // namespace app
