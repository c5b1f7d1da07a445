#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace gui {

// Disables a fixed set of controls and remembers how each one was, so that they can be put back
// exactly as they were.
class ButtonLock final : public QObject {
    Q_OBJECT
public:
    ButtonLock(QList<QWidget*> controls, QObject* parent = nullptr);

    const QList<QWidget*>& Controls() const { return controls_; }

public Q_SLOTS:
    // Remembers each control's own enabled setting (not one inherited from a disabled parent)
    // and disables it.
    void Lock();
    // Puts every control back as Lock found it; nothing when not locked.
    void Restore();

private:
    struct Saved {
        QPointer<QWidget> widget;
        bool enabled;
    };
    QList<QWidget*> controls_;
    QList<Saved> saved_;
};

}  // namespace gui
