#pragma once

#include <QtGlobal>

#include <utility>
#include <vector>

namespace monitor {

// The selected rows of a list, as an operator makes them: a click selects one row, Shift
// extends from the anchor to a row, Ctrl toggles a row, Ctrl+Shift adds a range to what was
// selected. Rows are kept as sorted, disjoint ranges, so selecting ten million rows costs one
// range. The current row is where the keyboard is; it need not be selected.
class RowSelection {
public:
    using Range = std::pair<qsizetype, qsizetype>;  // first and last row, inclusive

    // Nothing selected and no current row.
    void Clear();
    // Only row, which becomes the anchor and the current row.
    void Select(qsizetype row);
    // The rows from the anchor to row (the current row afterwards). additive keeps what was
    // selected before the anchor was set; otherwise the range replaces it. Without an anchor
    // it selects row alone.
    void ExtendTo(qsizetype row, bool additive = false);
    // Flips row, which becomes the anchor and the current row.
    void Toggle(qsizetype row);
    // Rows 0 to count - 1; the current row stays.
    void SelectAll(qsizetype count);
    // Moves the current row without touching the selection (Ctrl with the arrow keys).
    void SetCurrent(qsizetype row) { current_ = row; }

    bool IsEmpty() const { return ranges_.empty(); }
    bool IsSelected(qsizetype row) const;
    qsizetype Count() const;
    const std::vector<Range>& Ranges() const { return ranges_; }
    // The first `limit` selected rows, in order (all of them when there are fewer).
    std::vector<qsizetype> FirstRows(qsizetype limit) const;
    // The current row, -1 when there is none.
    qsizetype Current() const { return current_; }
    qsizetype Anchor() const { return anchor_; }

private:
    static void Add(std::vector<Range>& ranges, Range range);
    static void Remove(std::vector<Range>& ranges, qsizetype row);

    std::vector<Range> ranges_;
    std::vector<Range> base_;  // the selection when the anchor was set, for additive extends
    qsizetype anchor_ = -1;
    qsizetype current_ = -1;
};

}  // namespace monitor
