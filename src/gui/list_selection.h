#pragma once

#include <QComboBox>
#include <QString>
#include <QWidget>

namespace commands {

// The control of the main window with the given object name. A missing control is a fault of
// the window definition that no handler can work around, so it stops the program at start-up
// with the name in the message.
template <class T>
T* FindControl(QWidget& form, const QString& name) {
    T* control = form.findChild<T*>(name);
    if (control == nullptr) {
        qFatal("main window has no control named %s", qPrintable(name));
    }
    return control;
}

template <class T>
T* FindControl(QWidget& form, const char* name) {
    return FindControl<T>(form, QString::fromLatin1(name));
}

// Selects the item at index, or no item when the list has none there.
inline void SelectItemOrNone(QComboBox& list, int index) {
    list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1);
}

}  // namespace commands
