#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace gui {

// An entry field whose length limit is a typing limit only. A value read back from the
// controller is shown whole even when it is longer than the operator may type (QLineEdit::setText
// would cut it to the limit, and the next set would write the cut value); once the operator edits
// the field down to the limit, the limit holds again.
class ReadBackField final : public QObject {
    Q_OBJECT
public:
    explicit ReadBackField(QLineEdit& edit);

    // Shows a value read from the controller, whole.
    void Show(const QString& text);

private:
    void Edited(const QString& text);

    QLineEdit& edit_;
    int typingLimit_;
};

}  // namespace gui
