#include "core/monitor/row_selection.h"

#include <algorithm>

namespace monitor {

void RowSelection::Clear() {
    ranges_.clear();
    base_.clear();
    anchor_ = -1;
    current_ = -1;
}

void RowSelection::Select(qsizetype row) {
    ranges_.assign(1, {row, row});
    base_.clear();
    anchor_ = row;
    current_ = row;
}

void RowSelection::ExtendTo(qsizetype row, bool additive) {
    if (anchor_ < 0) {
        Select(row);
        return;
    }
    ranges_ = additive ? base_ : std::vector<Range>{};
    Add(ranges_, {std::min(anchor_, row), std::max(anchor_, row)});
    current_ = row;
}

void RowSelection::Toggle(qsizetype row) {
    if (IsSelected(row)) {
        Remove(ranges_, row);
    } else {
        Add(ranges_, {row, row});
    }
    base_ = ranges_;
    anchor_ = row;
    current_ = row;
}

void RowSelection::SelectAll(qsizetype count) {
    ranges_.clear();
    if (count > 0) {
        ranges_.push_back({0, count - 1});
    }
    base_.clear();
    anchor_ = count > 0 ? 0 : -1;
}

bool RowSelection::IsSelected(qsizetype row) const {
    // The first range that ends at or after row.
    const auto it = std::lower_bound(ranges_.begin(), ranges_.end(), row,
                                     [](const Range& r, qsizetype v) { return r.second < v; });
    return it != ranges_.end() && it->first <= row;
}

qsizetype RowSelection::Count() const {
    qsizetype n = 0;
    for (const Range& r : ranges_) {
        n += r.second - r.first + 1;
    }
    return n;
}

void RowSelection::Add(std::vector<Range>& ranges, Range range) {
    // Merge with every range that overlaps or touches it.
    auto first = std::lower_bound(ranges.begin(), ranges.end(), range.first,
                                  [](const Range& r, qsizetype v) { return r.second + 1 < v; });
    auto last = first;
    while (last != ranges.end() && last->first <= range.second + 1) {
        range.first = std::min(range.first, last->first);
        range.second = std::max(range.second, last->second);
        ++last;
    }
    ranges.insert(ranges.erase(first, last), range);
}

void RowSelection::Remove(std::vector<Range>& ranges, qsizetype row) {
    const auto it = std::lower_bound(ranges.begin(), ranges.end(), row,
                                     [](const Range& r, qsizetype v) { return r.second < v; });
    if (it == ranges.end() || it->first > row) {
        return;
    }
    const Range was = *it;
    const auto at = ranges.erase(it);
    std::vector<Range> parts;
    if (was.first < row) {
        parts.push_back({was.first, row - 1});
    }
    if (row < was.second) {
        parts.push_back({row + 1, was.second});
    }
    ranges.insert(at, parts.begin(), parts.end());
}

std::vector<qsizetype> RowSelection::FirstRows(qsizetype limit) const {
    std::vector<qsizetype> rows;
    for (const auto& [first, last] : ranges_) {
        for (qsizetype row = first; row <= last && qsizetype(rows.size()) < limit; ++row) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace monitor
