#include "gui/read_back_field.h"

#include <QLineEdit>

#include <algorithm>

namespace gui {

ReadBackField::ReadBackField(QLineEdit& edit)
    : QObject(&edit), edit_(edit), typingLimit_(edit.maxLength()) {
    connect(&edit_, &QLineEdit::textEdited, this, &ReadBackField::Edited);
}

void ReadBackField::Show(const QString& text) {
    edit_.setMaxLength(std::max(typingLimit_, static_cast<int>(text.size())));
    edit_.setText(text);
}

void ReadBackField::Edited(const QString& text) {
    if (edit_.maxLength() > typingLimit_ && text.size() <= typingLimit_) {
        edit_.setMaxLength(typingLimit_);
    }
}

}  // namespace gui
