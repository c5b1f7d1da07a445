#include "core/monitor/line_export.h"
#include "core/monitor/line_file_save.h"
#include "gui/find_bar.h"
#include "gui/line_list_view.h"
#include "gui/list_texts.h"
#include "gui/prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStandardPaths>

// The operator's commands on a list: copy, save, the context menu and find.
namespace gui {

namespace {

// One slice of the search: long enough to get through about a hundred thousand rows, short
// enough that a 50 ms poll tick is never late by more than this.
constexpr int kScanSliceMs = 5;

}  // namespace

void LineListView::SetCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
}

bool LineListView::MayCopy(qsizetype rows) {
    if (rows <= kMaxCopyRows) {
        return rows > 0;
    }
    if (prompter_ != nullptr) {
        prompter_->Message(list_texts::TooManyToCopy(rows, kMaxCopyRows),
                           list_texts::MessageCaption(), gui::Prompter::Icon::Information);
    }
    return false;
}

void LineListView::CopySelection() {
    if (MayCopy(selection_.Count())) {
        QApplication::clipboard()->setText(SelectedText(store_, selection_));
    }
}

void LineListView::CopyAll() {
    if (MayCopy(Count())) {
        QApplication::clipboard()->setText(AllText(store_));
    }
}

void LineListView::SaveToFile() {
    if (prompter_ == nullptr || Count() == 0 || IsSaving()) {
        return;
    }
    const QString name = (caption_.isEmpty() ? objectName() : caption_) + u' ' +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")) +
                         QStringLiteral(".txt");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // The rows present now are what is saved, taken before the dialog lets the polls go on.
    monitor::LineSnapshot rows = store_.Snapshot();
    const std::optional<QString> path = prompter_->ChooseSaveFile(
        list_texts::SaveCaption(), QDir(folder).filePath(name), list_texts::SaveFilter());
    if (!path || path->isEmpty()) {
        return;
    }
    // Written in the background, whole or not at all (an earlier file of that name stays when
    // the save fails); its progress shows at the list's foot.
    save_ = std::make_unique<monitor::LineFileSave>(std::move(rows), *path);
    connect(save_.get(), &monitor::LineFileSave::Finished, this, &LineListView::SaveFinished);
    saveProgress_.start();
    save_->Start();
    viewport()->update(FootNoteRect());
}

void LineListView::SaveFinished(bool saved, const QString& error) {
    const QString path = save_->Path();
    saveProgress_.stop();
    save_.release()->deleteLater();  // it is still telling of its end
    viewport()->update();
    if (!saved && prompter_ != nullptr) {
        prompter_->Error(list_texts::SaveFailed(QDir::toNativeSeparators(path), error),
                         list_texts::MessageCaption());
    }
}

void LineListView::contextMenuEvent(QContextMenuEvent* event) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("LineListMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(list_texts::Copy(), this, &LineListView::CopySelection);
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!selection_.IsEmpty());
    menu->addAction(list_texts::CopyAll(), this, &LineListView::CopyAll)->setEnabled(Count() > 0);
    menu->addSeparator();
    menu->addAction(list_texts::SaveAs(), this, &LineListView::SaveToFile)
        ->setEnabled(Count() > 0 && prompter_ != nullptr && !IsSaving());
    menu->addSeparator();
    menu->addAction(list_texts::Find(), this, &LineListView::OpenFind)
        ->setShortcut(QKeySequence::Find);
    // Not exec(): the menu must not hold up the polls (nor a test) while it is open.
    menu->popup(event->globalPos());
    event->accept();
}

bool LineListView::IsFindOpen() const {
    return findBar_ != nullptr && findBar_->isVisible();
}

void LineListView::OpenFind() {
    if (findBar_ == nullptr) {
        findBar_ = new FindBar(this);
        connect(findBar_, &FindBar::TextChanged, this, &LineListView::FindTextChanged);
        connect(findBar_, &FindBar::NextRequested, this, &LineListView::FindNext);
        connect(findBar_, &FindBar::PreviousRequested, this, &LineListView::FindPrevious);
        connect(findBar_, &FindBar::CloseRequested, this, [this] {
            CloseFind();
            setFocus(Qt::OtherFocusReason);
        });
    }
    const bool wasOpen = IsFindOpen();
    findBar_->Activate();
    PlaceFindBar();
    if (!wasOpen && !findBar_->Text().isEmpty()) {
        FindTextChanged(findBar_->Text());  // the list has changed since it was closed
    }
}

void LineListView::CloseFind() {
    if (!IsFindOpen()) {
        return;
    }
    findBar_->hide();
    PlaceFindBar();
    find_.SetNeedle({});
    scanTimer_.stop();
    pendingStep_ = PendingStep::None;
    viewport()->update();
}

void LineListView::PlaceFindBar() {
    const bool open = IsFindOpen();
    const int height = open ? findBar_->sizeHint().height() : 0;
    setViewportMargins(0, height, 0, 0);
    if (open) {
        const QRect area = viewport()->geometry();
        findBar_->setGeometry(area.left(), area.top() - height, area.width(), height);
        findBar_->raise();
    }
}

void LineListView::FindTextChanged(const QString& text) {
    find_.SetNeedle(text);
    pendingStep_ = PendingStep::None;
    if (find_.IsActive()) {
        // As the operator types, the first match from the current row (or the top row) on.
        const qsizetype current = selection_.Current();
        stepFrom_ = (current >= 0 ? current : TopIndex()) - 1;
        pendingStep_ = PendingStep::Next;
        scanTimer_.start();
    } else {
        scanTimer_.stop();
    }
    UpdateFindCount();
    viewport()->update();
}

void LineListView::FindNext() {
    Step(true);
}

void LineListView::FindPrevious() {
    Step(false);
}

void LineListView::Step(bool forward) {
    if (!find_.IsActive()) {
        OpenFind();
        return;
    }
    const qsizetype current = selection_.Current();
    // With no current row: forward from the top row, back from past the newest one.
    stepFrom_ = current >= 0 ? current : (forward ? TopIndex() - 1 : Count());
    pendingStep_ = forward ? PendingStep::Next : PendingStep::Previous;
    ScanSlice();
}

void LineListView::ScanSlice() {
    const bool done = find_.Scan(QDeadlineTimer(kScanSliceMs));
    if (pendingStep_ != PendingStep::None) {
        const monitor::FindIndex::Step step =
            pendingStep_ == PendingStep::Next ? find_.Next(stepFrom_) : find_.Previous(stepFrom_);
        if (step.outcome != monitor::FindIndex::Step::Outcome::Pending) {
            pendingStep_ = PendingStep::None;
        }
        if (step.outcome == monitor::FindIndex::Step::Outcome::Found) {
            ShowMatch(step.row);
        }
    }
    if (done && pendingStep_ == PendingStep::None) {
        scanTimer_.stop();
    } else if (!scanTimer_.isActive()) {
        scanTimer_.start();
    }
    UpdateFindCount();
}

void LineListView::ShowMatch(qsizetype row) {
    selection_.Select(row);
    // Brought to the middle of the view, where the eye finds it between its neighbours.
    UpdateScrollRange();
    if (row < TopIndex() || row >= TopIndex() + PageRows()) {
        scrolling_ = true;
        verticalScrollBar()->setValue(static_cast<int>(row) - PageRows() / 2);
        scrolling_ = false;
    }
    SelectionEdited();
}

void LineListView::UpdateFindCount() {
    if (findBar_ == nullptr) {
        return;
    }
    if (!find_.IsActive()) {
        findBar_->SetCount({});
        return;
    }
    const qsizetype current = selection_.Current();
    const qsizetype place = find_.IsMatch(current) ? find_.MatchesBefore(current) + 1 : 0;
    findBar_->SetCount(list_texts::FindCount(place, find_.MatchCount(), find_.CaughtUp()));
}

}  // namespace gui
