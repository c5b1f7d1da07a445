#pragma once

#include "core/monitor/find_index.h"
#include "core/monitor/line_store.h"
#include "core/monitor/row_selection.h"

#include <QAbstractScrollArea>
#include <QTimer>

#include <memory>

namespace monitor {
class LineFileSave;
}

namespace gui {

class FindBar;
class Prompter;

// An append-only list of text lines for millions of lines: the lines live in a LineStore, all
// rows have the same height, and painting touches only the rows in view, so an append and a
// scroll cost the same at ten lines or ten million.
//
// It does what an operator expects of a list: rows are selected with the mouse and the keyboard
// (one row, a range with Shift, several with Ctrl; arrows, Page Up/Down, Home, End, Ctrl+A),
// copied (Ctrl+C, the context menu's "复制" and "全部复制") and saved to a UTF-8 file
// ("保存为文件..."); Ctrl+F opens a find bar (F3 and Shift+F3 step through the matching rows,
// case-insensitive; the matching rows are counted a slice at a time on the event loop, so even
// ten million rows never hold up a poll). It is accessible: a screen reader reads it as a list
// with one item per row (line_list_accessible.h).
//
// Following the newest line: ScrollToNewest keeps the newest line in view as long as the
// operator is not looking at something else. Once rows are selected (a find result is a
// selected row) or the operator scrolled away from the end, the view stays where it is and
// says at its foot how many rows lie below; Escape (or a click on that note) clears the
// selection and goes back to following, and so does scrolling back to the end with nothing
// selected.
class LineListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // A copy to the clipboard holds at most this many rows; more go to a file.
    static constexpr qsizetype kMaxCopyRows = 1'000'000;

    explicit LineListView(QWidget* parent = nullptr);
    ~LineListView() override;

    void AppendLine(const QString& line);
    void Clear();
    int Count() const { return static_cast<int>(store_.Count()); }
    QString Line(int row) const { return store_.Line(row); }

    // Scrolls as far towards the newest line as the list can (the newest line is the top row
    // once the list can scroll that far, and always in view), unless the operator is looking
    // at something else (see above).
    void ScrollToNewest();
    bool IsFollowingNewest() const;
    int TopIndex() const;
    // Rows that fit completely in the view (at least 1).
    int PageRows() const;
    int RowHeight() const { return rowHeight_; }
    // The current row when it is selected, else -1.
    int SelectedRow() const;
    const monitor::RowSelection& Selection() const { return selection_; }

    const monitor::LineStore& Store() const { return store_; }

    // Where the list's messages (save dialog, refusals) go; the caption names the list in
    // file names and to assistive technology.
    void SetPrompter(Prompter* prompter) { prompter_ = prompter; }
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    // The operator's commands, also reached through the keyboard and the context menu.
    void CopySelection();
    void CopyAll();
    // Asks for a file and saves the rows present now to it in the background; closing the
    // list meanwhile abandons the file.
    void SaveToFile();
    bool IsSaving() const { return save_ != nullptr; }
    // The text of the foot line: the progress of a save, the rows below the view; empty when
    // neither is shown.
    QString FootNoteText() const;
    void OpenFind();
    void CloseFind();
    void FindNext();
    void FindPrevious();
    // Selects every row (Ctrl+A).
    void SelectAll();
    // Clears the selection and follows the newest line again (Escape).
    void ResumeFollowing();
    // Adds a row to the selection or takes it out (assistive technology does this); false for
    // a row that is not in the list.
    bool SetRowSelected(int row, bool selected);

    // The find bar (created on first use) and the search behind it.
    FindBar* FindBarWidget() const { return findBar_; }
    const monitor::FindIndex& Finder() const { return find_; }
    bool IsFindOpen() const;

Q_SIGNALS:
    // Every line appended, as it was appended.
    void LineAppended(const QString& line);
    // The selection or the current row changed (for assistive technology).
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    void UpdateScrollRange();
    int RowAt(int y) const;
    // Selection commands: they repaint, tell assistive technology and keep the current row
    // in view.
    void SelectionEdited();
    void MoveCurrent(int row, Qt::KeyboardModifiers modifiers);
    void EnsureVisible(int row);
    void ScrolledByOperator();
    bool RowsBelowNoteShown() const;
    // The foot line: the rows below the view, and the progress of a save.
    bool FootNoteShown() const { return RowsBelowNoteShown() || IsSaving(); }
    QRect FootNoteRect() const;
    void SaveFinished(bool saved, const QString& error);

    // Whether that many rows may go to the clipboard; says why not when there are too many.
    bool MayCopy(qsizetype rows);

    // Find: a new text, a scan slice, a step that waits for the scan, the count shown.
    void FindTextChanged(const QString& text);
    void ScanSlice();
    void Step(bool forward);
    void ShowMatch(qsizetype row);
    void UpdateFindCount();
    void PlaceFindBar();

    monitor::LineStore store_;
    monitor::RowSelection selection_;
    monitor::FindIndex find_{store_};
    FindBar* findBar_ = nullptr;
    QTimer scanTimer_;
    enum class PendingStep { None, Next, Previous };
    PendingStep pendingStep_ = PendingStep::None;
    qsizetype stepFrom_ = -1;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<monitor::LineFileSave> save_;
    QTimer saveProgress_;  // repaints the foot line while a save runs
    QString caption_;
    int rowHeight_ = 0;
    bool rangeUpdatePending_ = false;
    bool scrolledAway_ = false;
    bool scrolling_ = false;  // the view itself moves the scroll bar
};

}  // namespace gui
