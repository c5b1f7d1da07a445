#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace monitor {

// The lines of a LineStore as they stood when it was taken: a list of the store's chunks,
// shared with it. The store only ever writes past what a snapshot counts and never reuses a
// chunk after a Clear, so a snapshot stays valid and unchanged whatever the store does next,
// and another thread may read it while the store goes on appending (each reads its own bytes).
// Taking one copies a pointer per chunk (about 3,000 for ten million rows), never the text.
class LineSnapshot {
public:
    qsizetype Count() const { return count_; }
    // The line at row (0 is the oldest); empty for a row out of range.
    QString Line(qsizetype row) const;
    // The UTF-8 bytes of the line at row without decoding them: a view into the chunks, or into
    // scratch for the rare line that straddles two chunks. Valid until the next call with the
    // same scratch.
    QByteArrayView Utf8(qsizetype row, QByteArray& scratch) const;

    static constexpr std::size_t kTextChunkBytes = std::size_t{1} << 18;
    static constexpr std::size_t kOffsetChunkEntries = std::size_t{1} << 14;

private:
    friend class LineStore;
    std::uint64_t EndOf(qsizetype row) const;

    std::vector<std::shared_ptr<char[]>> text_;
    std::vector<std::shared_ptr<std::uint64_t[]>> ends_;
    std::uint64_t textSize_ = 0;
    qsizetype count_ = 0;
};

// Append-only storage of text lines that stays lean with millions of lines: the lines are kept
// as UTF-8 in fixed-size chunks of one contiguous byte sequence, and the end offset of each line
// in fixed-size chunks of 64-bit offsets. Appending never moves what is stored (no reallocation
// of a growing array), so every append costs the same however many lines there are.
class LineStore {
public:
    LineStore() = default;
    LineStore(const LineStore&) = delete;
    LineStore& operator=(const LineStore&) = delete;

    void Append(QStringView line);
    void Clear();

    qsizetype Count() const { return lines_.count_; }
    QString Line(qsizetype row) const { return lines_.Line(row); }
    QByteArrayView Utf8(qsizetype row, QByteArray& scratch) const {
        return lines_.Utf8(row, scratch);
    }
    // The rows stored now, for reading elsewhere (a save in the background) while rows are
    // appended or the store is cleared.
    LineSnapshot Snapshot() const { return lines_; }

    // Bytes held for text and offsets (allocated chunks, used or not).
    std::size_t ReservedBytes() const;

    static constexpr std::size_t kTextChunkBytes = LineSnapshot::kTextChunkBytes;
    static constexpr std::size_t kOffsetChunkEntries = LineSnapshot::kOffsetChunkEntries;

private:
    void AppendBytes(const char* data, std::size_t size);

    LineSnapshot lines_;
};

}  // namespace monitor
