#pragma once

#include <QWidget>

namespace netcfg {

// The control of this name inside window (names repeat across windows, so always look inside
// the right one). A missing control is a broken window definition: stop at once.
template <typename T>
T& Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("control %s missing in %s", name, qPrintable(window.objectName()));
    }
    return *child;
}

}  // namespace netcfg
