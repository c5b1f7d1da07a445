#pragma once

#include <QString>
#include <QWidget>

namespace monitor {

// The control of a window by object name. A missing control is a fault of the window
// definition, so it stops the program at start-up with the name in the message.
template <class T>
T& FindControl(QWidget& window, const QString& name) {
    T* control = window.findChild<T*>(name);
    if (control == nullptr) {
        qFatal("window has no control named %s", qPrintable(name));
    }
    return *control;
}

template <class T>
T& FindControl(QWidget& window, const char* name) {
    return FindControl<T>(window, QString::fromLatin1(name));
}

}  // namespace monitor
