#include "gui/line_list_view.h"

#include "core/monitor/line_file_save.h"
#include "gui/find_bar.h"
#include "gui/line_list_accessible.h"
#include "gui/list_texts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <algorithm>

// Rows, scrolling, following the newest line, painting and the operator's input; the commands
// (copy, save, find) are in line_list_commands.cpp.
namespace gui {

namespace {
constexpr int kTextMargin = 2;
// Matched text: dark text on amber, readable on a selected row as on any other.
const QColor kMatchBackground(255, 200, 60);
const QColor kMatchText(0, 0, 0);
}  // namespace

LineListView::LineListView(QWidget* parent) : QAbstractScrollArea(parent) {
    InstallLineListAccessibility();
    rowHeight_ = fontMetrics().height();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            qOverload<>(&QWidget::update));
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &LineListView::ScrolledByOperator);
    scanTimer_.setInterval(0);
    connect(&scanTimer_, &QTimer::timeout, this, &LineListView::ScanSlice);
    saveProgress_.setInterval(200);
    connect(&saveProgress_, &QTimer::timeout, this, [this] { viewport()->update(FootNoteRect()); });
    UpdateScrollRange();
}

// A save still running is abandoned with the list (monitor::LineFileSave).
LineListView::~LineListView() = default;

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
    } else if (FootNoteShown()) {
        viewport()->update(FootNoteRect());
    }
    if (find_.IsActive() && !scanTimer_.isActive()) {
        scanTimer_.start();  // the new row is searched on the next turn
    }
    NotifyAccessibleRowsAppended(*this, row, row);
    Q_EMIT LineAppended(line);
}

void LineListView::Clear() {
    store_.Clear();
    selection_.Clear();
    find_.Reset();
    pendingStep_ = PendingStep::None;
    scrolledAway_ = false;
    UpdateScrollRange();
    UpdateFindCount();
    viewport()->update();
    NotifyAccessibleReset(*this);
}

bool LineListView::IsFollowingNewest() const {
    return selection_.IsEmpty() && !scrolledAway_;
}

void LineListView::ScrollToNewest() {
    if (Count() == 0 || !IsFollowingNewest()) {
        return;
    }
    UpdateScrollRange();
    QScrollBar* bar = verticalScrollBar();
    scrolling_ = true;
    bar->setValue(std::min(Count() - 1, bar->maximum()));
    scrolling_ = false;
}

void LineListView::ResumeFollowing() {
    const bool hadSelection = !selection_.IsEmpty();
    selection_.Clear();
    scrolledAway_ = false;
    if (hadSelection) {
        SelectionEdited();
    }
    ScrollToNewest();
    viewport()->update();
}

int LineListView::TopIndex() const {
    return verticalScrollBar()->value();
}

int LineListView::PageRows() const {
    return std::max(1, viewport()->height() / std::max(1, rowHeight_));
}

int LineListView::SelectedRow() const {
    const qsizetype current = selection_.Current();
    return current >= 0 && selection_.IsSelected(current) ? static_cast<int>(current) : -1;
}

void LineListView::UpdateScrollRange() {
    rangeUpdatePending_ = false;
    QScrollBar* bar = verticalScrollBar();
    const int page = PageRows();
    const bool was = scrolling_;
    scrolling_ = true;
    bar->setPageStep(page);
    bar->setRange(0, std::max(0, Count() - page));
    scrolling_ = was;
}

void LineListView::ScrolledByOperator() {
    if (scrolling_) {
        return;
    }
    // The slider already stands where the action puts it. The range may lag behind the last
    // appends by a turn of the event loop: an operator who takes the slider to its end wants
    // the end, and ScrollToNewest catches up with the rows.
    const QScrollBar* bar = verticalScrollBar();
    scrolledAway_ = bar->sliderPosition() < bar->maximum();
    viewport()->update();
}

void LineListView::EnsureVisible(int row) {
    UpdateScrollRange();
    QScrollBar* bar = verticalScrollBar();
    scrolling_ = true;
    if (row < TopIndex()) {
        bar->setValue(row);
    } else if (row >= TopIndex() + PageRows()) {
        bar->setValue(row - PageRows() + 1);
    }
    scrolling_ = false;
}

int LineListView::RowAt(int y) const {
    const int row = TopIndex() + y / rowHeight_;
    return y >= 0 && row < Count() ? row : -1;
}

bool LineListView::RowsBelowNoteShown() const {
    return !IsFollowingNewest() && Count() > TopIndex() + PageRows();
}

QString LineListView::FootNoteText() const {
    QStringList parts;
    if (IsSaving()) {
        parts << list_texts::Saving(save_->RowsWritten(), save_->Rows());
    }
    if (RowsBelowNoteShown()) {
        parts << list_texts::RowsBelow(Count() - TopIndex() - PageRows());
    }
    return parts.join(QStringLiteral("    "));
}

QRect LineListView::FootNoteRect() const {
    const int height = rowHeight_ + 2;
    return {0, viewport()->height() - height, viewport()->width(), height};
}

void LineListView::SelectionEdited() {
    viewport()->update();
    UpdateFindCount();
    NotifyAccessibleSelection(*this);
    Q_EMIT SelectionChanged();
}

void LineListView::MoveCurrent(int row, Qt::KeyboardModifiers modifiers) {
    if (Count() == 0) {
        return;
    }
    row = std::clamp(row, 0, Count() - 1);
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        selection_.ExtendTo(row, modifiers.testFlag(Qt::ControlModifier));
    } else if (modifiers.testFlag(Qt::ControlModifier)) {
        selection_.SetCurrent(row);
    } else {
        selection_.Select(row);
    }
    EnsureVisible(row);
    SelectionEdited();
    NotifyAccessibleFocus(*this);
}

bool LineListView::SetRowSelected(int row, bool selected) {
    if (row < 0 || row >= Count()) {
        return false;
    }
    if (selection_.IsSelected(row) != selected) {
        selection_.Toggle(row);
        SelectionEdited();
    }
    return true;
}

void LineListView::SelectAll() {
    selection_.SelectAll(Count());
    SelectionEdited();
}

void LineListView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const int top = TopIndex();
    const int first = top + dirty.top() / rowHeight_;
    const int last = std::min(Count() - 1, top + dirty.bottom() / rowHeight_);
    const int width = viewport()->width();
    const QFontMetrics metrics = fontMetrics();
    const monitor::LineMatcher& matcher = find_.Matcher();
    for (int row = first; row <= last; ++row) {
        const QRect rect(0, (row - top) * rowHeight_, width, rowHeight_);
        const QString text = store_.Line(row);
        const bool selected = selection_.IsSelected(row);
        if (selected) {
            painter.fillRect(rect, palette().brush(QPalette::Highlight));
        }
        const QColor pen = palette().color(selected ? QPalette::HighlightedText : QPalette::Text);
        // The row in pieces: plain text, then each match dark on amber.
        qsizetype at = 0;
        int x = kTextMargin;
        auto draw = [&](qsizetype length, bool match) {
            const QString piece = text.mid(at, length);
            const int advance = metrics.horizontalAdvance(piece);
            const QRect box(x, rect.top(), advance, rowHeight_);
            if (match) {
                painter.fillRect(box, kMatchBackground);
            }
            painter.setPen(match ? kMatchText : pen);
            painter.drawText(box.adjusted(0, 0, width, 0), Qt::AlignLeft | Qt::AlignVCenter, piece);
            x += advance;
            at += length;
        };
        for (const auto& [start, length] : matcher.Spans(text)) {
            draw(start - at, false);
            draw(length, true);
        }
        draw(text.size() - at, false);
        if (hasFocus() && row == selection_.Current()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect;
            focus.backgroundColor =
                palette().color(selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    if (FootNoteShown()) {
        const QRect note = FootNoteRect();
        painter.fillRect(note, palette().brush(QPalette::ToolTipBase));
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawText(note, Qt::AlignCenter, FootNoteText());
    }
}

void LineListView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    PlaceFindBar();
    UpdateScrollRange();
}

void LineListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        rowHeight_ = fontMetrics().height();
        PlaceFindBar();
        UpdateScrollRange();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

void LineListView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    NotifyAccessibleFocus(*this);
}

void LineListView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void LineListView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    event->accept();
    if (RowsBelowNoteShown() && FootNoteRect().contains(pos)) {
        ResumeFollowing();
        return;
    }
    const int row = RowAt(pos.y());
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->button() == Qt::RightButton) {
        // The context menu acts on what is under the pointer, unless that is selected already.
        if (row >= 0 && !selection_.IsSelected(row)) {
            selection_.Select(row);
            SelectionEdited();
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (row < 0) {
        if (!mods.testFlag(Qt::ControlModifier) && !selection_.IsEmpty()) {
            selection_.Clear();  // a click below the last row selects nothing
            SelectionEdited();
        }
        return;
    }
    if (mods.testFlag(Qt::ShiftModifier)) {
        selection_.ExtendTo(row, mods.testFlag(Qt::ControlModifier));
    } else if (mods.testFlag(Qt::ControlModifier)) {
        selection_.Toggle(row);
    } else {
        selection_.Select(row);
    }
    SelectionEdited();
    NotifyAccessibleFocus(*this);
}

void LineListView::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton) ||
        event->modifiers().testFlag(Qt::ControlModifier) || selection_.Anchor() < 0) {
        return;
    }
    // Dragging selects from where the press was; beyond the edges it scrolls.
    const int y = std::clamp(event->position().toPoint().y(), -1, viewport()->height());
    const int row = std::clamp(TopIndex() + (y < 0 ? -1 : y / rowHeight_), 0, Count() - 1);
    if (Count() > 0 && row != selection_.Current()) {
        selection_.ExtendTo(row);
        EnsureVisible(row);
        SelectionEdited();
    }
}

void LineListView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();  // the press did the work
}

void LineListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return;
    }
    if (event->matches(QKeySequence::Find)) {
        OpenFind();
        return;
    }
    if (event->matches(QKeySequence::FindNext)) {
        FindNext();
        return;
    }
    if (event->matches(QKeySequence::FindPrevious)) {
        FindPrevious();
        return;
    }
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const qsizetype current = selection_.Current();
    const int from = current >= 0 ? static_cast<int>(current) : TopIndex();
    switch (event->key()) {
        case Qt::Key_Escape:
            CloseFind();
            ResumeFollowing();
            return;
        case Qt::Key_Up:
            MoveCurrent(current >= 0 ? from - 1 : from, mods);
            return;
        case Qt::Key_Down:
            MoveCurrent(current >= 0 ? from + 1 : from, mods);
            return;
        case Qt::Key_PageUp:
            MoveCurrent(from - PageRows(), mods);
            return;
        case Qt::Key_PageDown:
            MoveCurrent(from + PageRows(), mods);
            return;
        case Qt::Key_Home:
            MoveCurrent(0, mods);
            return;
        case Qt::Key_End:
            MoveCurrent(Count() - 1, mods);
            return;
        case Qt::Key_Space:
            if (current >= 0) {
                if (mods.testFlag(Qt::ControlModifier)) {
                    selection_.Toggle(current);
                } else {
                    selection_.Select(current);
                }
                SelectionEdited();
            }
            return;
        default:
            break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

QSize LineListView::sizeHint() const {
    return {200, rowHeight_ * 8 + 2 * frameWidth()};
}

}  // namespace gui
