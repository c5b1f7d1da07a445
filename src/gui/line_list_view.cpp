#include "gui/line_list_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace gui {

namespace {
constexpr int kTextMargin = 2;
}

LineListView::LineListView(QWidget* parent) : QAbstractScrollArea(parent) {
    rowHeight_ = fontMetrics().height();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            qOverload<>(&QWidget::update));
    UpdateScrollRange();
}

void LineListView::AppendLine(const QString& line) {
    store_.Append(line);
    const int row = Count() - 1;
    // The scroll range follows on the next turn of the event loop, or at once when scrolled:
    // every range change of the scroll bar queues an event in the scroll area, and a burst of
    // appends needs only the last one.
    if (!rangeUpdatePending_) {
        rangeUpdatePending_ = true;
        QMetaObject::invokeMethod(this, &LineListView::UpdateScrollRange, Qt::QueuedConnection);
    }
    const int offset = row - TopIndex();
    if (offset >= 0 && offset <= PageRows()) {
        viewport()->update(0, offset * rowHeight_, viewport()->width(), rowHeight_);
    }
}

void LineListView::Clear() {
    store_.Clear();
    selected_ = -1;
    UpdateScrollRange();
    viewport()->update();
}

void LineListView::ScrollToNewest() {
    if (Count() == 0) {
        return;
    }
    UpdateScrollRange();
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(std::min(Count() - 1, bar->maximum()));
}

int LineListView::TopIndex() const {
    return verticalScrollBar()->value();
}

int LineListView::PageRows() const {
    return std::max(1, viewport()->height() / std::max(1, rowHeight_));
}

void LineListView::UpdateScrollRange() {
    rangeUpdatePending_ = false;
    QScrollBar* bar = verticalScrollBar();
    const int page = PageRows();
    bar->setPageStep(page);
    bar->setRange(0, std::max(0, Count() - page));
}

void LineListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int top = TopIndex();
    const int first = top + dirty.top() / rowHeight_;
    const int last = std::min(Count() - 1, top + dirty.bottom() / rowHeight_);
    const int width = viewport()->width();
    for (int row = first; row <= last; ++row) {
        const QRect rect(0, (row - top) * rowHeight_, width, rowHeight_);
        if (row == selected_) {
            painter.fillRect(rect, palette().brush(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(palette().color(QPalette::Text));
        }
        painter.drawText(rect.adjusted(kTextMargin, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         store_.Line(row));
    }
}

void LineListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
}

void LineListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        rowHeight_ = fontMetrics().height();
        UpdateScrollRange();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

void LineListView::mousePressEvent(QMouseEvent* event) {
    const int row = TopIndex() + event->position().toPoint().y() / rowHeight_;
    SelectRow(row < Count() ? row : -1);
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void LineListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && selected_ >= 0) {
        QApplication::clipboard()->setText(Line(selected_));
        return;
    }
    if (Count() > 0 && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int step = event->key() == Qt::Key_Up ? -1 : 1;
        const int row = std::clamp(selected_ < 0 ? TopIndex() : selected_ + step, 0, Count() - 1);
        SelectRow(row);
        if (row < TopIndex()) {
            verticalScrollBar()->setValue(row);
        } else if (row >= TopIndex() + PageRows()) {
            verticalScrollBar()->setValue(row - PageRows() + 1);
        }
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void LineListView::SelectRow(int row) {
    if (row != selected_) {
        selected_ = row;
        viewport()->update();
    }
}

QSize LineListView::sizeHint() const {
    return {200, rowHeight_ * 8 + 2 * frameWidth()};
}

}  // namespace gui
