#pragma once

#include "core/monitor/line_matcher.h"
#include "core/monitor/line_store.h"

#include <QDeadlineTimer>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace monitor {

// The rows of a LineStore that hold a search text, found a slice at a time so that a search of
// ten million lines never holds up the event loop: Scan looks at the rows not yet seen until a
// deadline, from the oldest on. The store only grows (or is cleared), so rows appended during
// a search are simply scanned later, and the count keeps up with a list that is being filled.
// One bit per row (about 1.2 MB for ten million rows) marks the matches.
class FindIndex {
public:
    explicit FindIndex(const LineStore& store) : store_(store) {}

    // A new search text; an empty one ends the search. Forgets what was found.
    void SetNeedle(const QString& needle);
    const LineMatcher& Matcher() const { return matcher_; }
    bool IsActive() const { return !matcher_.IsEmpty(); }

    // The store was cleared: forget every row.
    void Reset();

    // Scans rows until the deadline passes (checked every few thousand rows) or every row of
    // the store has been looked at; true when it caught up with the store.
    bool Scan(QDeadlineTimer deadline);
    bool CaughtUp() const { return !IsActive() || scanned_ >= store_.Count(); }
    qsizetype Scanned() const { return scanned_; }

    // Rows found so far, and whether a scanned row matched.
    qsizetype MatchCount() const { return matches_; }
    bool IsMatch(qsizetype row) const;
    // Matching rows before row (its 1-based rank when row itself matches).
    qsizetype MatchesBefore(qsizetype row) const;

    // Where "next" or "previous" goes from row (-1: from before the first row when going
    // forward, from past the last one going back), wrapping around the ends.
    struct Step {
        enum class Outcome {
            Found,    // row holds the match
            Pending,  // the rows that decide it are not scanned yet: ask again after Scan
            None,     // nothing matches
        };
        Outcome outcome = Outcome::None;
        qsizetype row = -1;
    };
    Step Next(qsizetype from) const;
    Step Previous(qsizetype from) const;

private:
    // The first set bit in [begin, end), or -1.
    qsizetype FirstSet(qsizetype begin, qsizetype end) const;
    // The last set bit in [begin, end), or -1.
    qsizetype LastSet(qsizetype begin, qsizetype end) const;

    const LineStore& store_;
    LineMatcher matcher_;
    std::vector<std::uint64_t> bits_;
    qsizetype scanned_ = 0;
    qsizetype matches_ = 0;
    QByteArray scratch_;
};

}  // namespace monitor
