#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace records {

// Object names of the main window's command buttons that an export disables while it runs.
const QStringList& ExportLockedButtonNames();

// Disables a set of controls and remembers how each one was, so that they can be put back
// exactly as they were. Controls that the form does not have are skipped.
class ButtonLock {
public:
    ButtonLock(QWidget& form, const QStringList& names);
    ButtonLock(const ButtonLock&) = delete;
    ButtonLock& operator=(const ButtonLock&) = delete;

    void Restore();

private:
    struct Saved {
        QPointer<QWidget> widget;
        bool enabled;
    };
    QList<Saved> saved_;
};

// Enables or disables the control of that name in form, when there is one.
void SetControlEnabled(QWidget& form, const QString& name, bool enabled);

}  // namespace records
