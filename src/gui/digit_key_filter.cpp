#include "gui/digit_key_filter.h"

#include <QKeyEvent>

#include "gui/prompter.h"

namespace gui {

DigitKeyFilter::DigitKeyFilter(util::DigitFilter kind, Prompter& prompter, QObject* parent)
    : QObject(parent), kind_(kind), prompter_(prompter) {}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const QString text = key->text();
    // Only typed characters are filtered: navigation keys carry no text and shortcuts carry
    // control characters, both handled by the field as usual.
    const bool typed = enter || (text.size() == 1 && text.at(0).isPrint());
    if (!typed) {
        return QObject::eventFilter(watched, event);
    }
    if (enter && enterAction_) {
        enterAction_();
    }
    const QChar c = enter ? QChar(13) : text.at(0);
    if (util::FilterTypedChar(c, kind_) == util::KeyVerdict::Accept) {
        return QObject::eventFilter(watched, event);
    }
    prompter_.Beep();
    return true;
}

}  // namespace gui
