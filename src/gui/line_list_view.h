#pragma once

#include "core/monitor/line_store.h"

#include <QAbstractScrollArea>

namespace gui {

// An append-only list of text lines for millions of lines: the lines live in a LineStore, all
// rows have the same height, and painting touches only the rows in view, so an append and a
// scroll cost the same at ten lines or ten million. A click selects a row; Ctrl+C copies it.
class LineListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit LineListView(QWidget* parent = nullptr);

    void AppendLine(const QString& line);
    void Clear();
    int Count() const { return static_cast<int>(store_.Count()); }
    QString Line(int row) const { return store_.Line(row); }

    // Scrolls as far towards the newest line as the list can: the newest line is the top row
    // once the list can scroll that far, and always in view.
    void ScrollToNewest();
    int TopIndex() const;
    // Rows that fit completely in the view (at least 1).
    int PageRows() const;
    int RowHeight() const { return rowHeight_; }
    int SelectedRow() const { return selected_; }

    const monitor::LineStore& Store() const { return store_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    void UpdateScrollRange();
    void SelectRow(int row);

    monitor::LineStore store_;
    int rowHeight_ = 0;
    int selected_ = -1;
    bool rangeUpdatePending_ = false;
};

}  // namespace gui
