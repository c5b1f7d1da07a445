#include "gui/find_bar.h"

#include "gui/list_texts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace gui {

namespace {

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

FindBar::FindBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("FindText"));
    edit_->setPlaceholderText(list_texts::FindPlaceholder());
    edit_->setAccessibleName(list_texts::FindPlaceholder());
    edit_->setClearButtonEnabled(true);
    edit_->installEventFilter(this);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("FindCount"));
    count_->setMinimumWidth(count_->fontMetrics().horizontalAdvance(QStringLiteral("0000/0000…")));
    previous_ = MakeButton(this, "FindPrevious", list_texts::FindPrevious());
    previous_->setArrowType(Qt::UpArrow);
    next_ = MakeButton(this, "FindNext", list_texts::FindNext());
    next_->setArrowType(Qt::DownArrow);
    close_ = MakeButton(this, "FindClose", list_texts::FindClose());
    close_->setText(QStringLiteral("×"));

    layout->addWidget(edit_, 1);
    layout->addWidget(count_);
    layout->addWidget(previous_);
    layout->addWidget(next_);
    layout->addWidget(close_);

    connect(edit_, &QLineEdit::textChanged, this, &FindBar::TextChanged);
    connect(previous_, &QToolButton::clicked, this, &FindBar::PreviousRequested);
    connect(next_, &QToolButton::clicked, this, &FindBar::NextRequested);
    connect(close_, &QToolButton::clicked, this, &FindBar::CloseRequested);
}

QString FindBar::Text() const {
    return edit_->text();
}

void FindBar::SetCount(const QString& text) {
    count_->setText(text);
}

QString FindBar::CountText() const {
    return count_->text();
}

void FindBar::Activate() {
    show();
    edit_->setFocus(Qt::ShortcutFocusReason);
    edit_->selectAll();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                Q_EMIT shift ? PreviousRequested() : NextRequested();
                return true;
            case Qt::Key_Escape:
                Q_EMIT CloseRequested();
                return true;
            default:
                break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace gui
