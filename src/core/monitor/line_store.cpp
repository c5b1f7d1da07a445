#include "core/monitor/line_store.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace monitor {

void LineStore::Append(QStringView line) {
    const QByteArray utf8 = line.toUtf8();
    AppendBytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    auto& l = lines_;
    const auto row = static_cast<std::size_t>(l.count_);
    if (row % kOffsetChunkEntries == 0) {
        l.ends_.push_back(std::shared_ptr<std::uint64_t[]>(new std::uint64_t[kOffsetChunkEntries]));
    }
    l.ends_.back()[row % kOffsetChunkEntries] = l.textSize_;
    ++l.count_;
}

void LineStore::AppendBytes(const char* data, std::size_t size) {
    auto& l = lines_;
    while (size > 0) {
        const std::size_t inChunk = l.textSize_ % kTextChunkBytes;
        if (inChunk == 0 && l.textSize_ / kTextChunkBytes == l.text_.size()) {
            l.text_.push_back(std::shared_ptr<char[]>(new char[kTextChunkBytes]));
        }
        const std::size_t n = std::min(size, kTextChunkBytes - inChunk);
        std::memcpy(l.text_.back().get() + inChunk, data, n);
        data += n;
        size -= n;
        l.textSize_ += n;
    }
}

std::uint64_t LineSnapshot::EndOf(qsizetype row) const {
    const auto r = static_cast<std::size_t>(row);
    return ends_[r / kOffsetChunkEntries][r % kOffsetChunkEntries];
}

QString LineSnapshot::Line(qsizetype row) const {
    QByteArray scratch;
    return QString::fromUtf8(Utf8(row, scratch));
}

QByteArrayView LineSnapshot::Utf8(qsizetype row, QByteArray& scratch) const {
    if (row < 0 || row >= count_) {
        return {};
    }
    std::uint64_t begin = row == 0 ? 0 : EndOf(row - 1);
    const std::uint64_t end = EndOf(row);
    if (end == begin) {
        return QByteArrayView("", 0);  // an empty line may sit past the last chunk
    }
    const std::size_t inChunk = begin % kTextChunkBytes;
    if (end - begin <= kTextChunkBytes - inChunk) {
        return QByteArrayView(text_[begin / kTextChunkBytes].get() + inChunk,
                              static_cast<qsizetype>(end - begin));
    }
    scratch.resize(static_cast<qsizetype>(end - begin));
    char* out = scratch.data();
    while (begin < end) {
        const std::size_t at = begin % kTextChunkBytes;
        const std::size_t n = std::min<std::uint64_t>(end - begin, kTextChunkBytes - at);
        std::memcpy(out, text_[begin / kTextChunkBytes].get() + at, n);
        out += n;
        begin += n;
    }
    return QByteArrayView(scratch);
}

void LineStore::Clear() {
    // Fresh chunks from here on: a snapshot keeps the old ones.
    lines_ = LineSnapshot();
}

std::size_t LineStore::ReservedBytes() const {
    return lines_.text_.size() * kTextChunkBytes +
           lines_.ends_.size() * kOffsetChunkEntries * sizeof(std::uint64_t);
}

}  // namespace monitor
