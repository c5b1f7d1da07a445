#include "core/monitor/find_index.h"

#include <bit>

namespace monitor {

namespace {

constexpr qsizetype kWordBits = 64;
// Rows scanned between two looks at the clock.
constexpr qsizetype kRowsPerClockCheck = 4096;

}  // namespace

void FindIndex::SetNeedle(const QString& needle) {
    matcher_ = LineMatcher(needle);
    Reset();
}

void FindIndex::Reset() {
    bits_.clear();
    scanned_ = 0;
    matches_ = 0;
}

bool FindIndex::Scan(QDeadlineTimer deadline) {
    if (!IsActive()) {
        return true;
    }
    const qsizetype count = store_.Count();
    while (scanned_ < count) {
        const qsizetype end = std::min(count, scanned_ + kRowsPerClockCheck);
        bits_.resize(static_cast<std::size_t>((end + kWordBits - 1) / kWordBits), 0);
        for (qsizetype row = scanned_; row < end; ++row) {
            if (matcher_.Matches(store_.Utf8(row, scratch_))) {
                bits_[static_cast<std::size_t>(row / kWordBits)] |= std::uint64_t{1}
                                                                    << (row % kWordBits);
                ++matches_;
            }
        }
        scanned_ = end;
        if (deadline.hasExpired()) {
            break;
        }
    }
    return scanned_ >= count;
}

bool FindIndex::IsMatch(qsizetype row) const {
    if (row < 0 || row >= scanned_) {
        return false;
    }
    return (bits_[static_cast<std::size_t>(row / kWordBits)] >> (row % kWordBits)) & 1U;
}

qsizetype FindIndex::MatchesBefore(qsizetype row) const {
    row = std::clamp<qsizetype>(row, 0, scanned_);
    qsizetype n = 0;
    const qsizetype fullWords = row / kWordBits;
    for (qsizetype w = 0; w < fullWords; ++w) {
        n += std::popcount(bits_[static_cast<std::size_t>(w)]);
    }
    if (const qsizetype rest = row % kWordBits; rest > 0) {
        const std::uint64_t mask = (std::uint64_t{1} << rest) - 1;
        n += std::popcount(bits_[static_cast<std::size_t>(fullWords)] & mask);
    }
    return n;
}

qsizetype FindIndex::FirstSet(qsizetype begin, qsizetype end) const {
    end = std::min(end, scanned_);
    for (qsizetype row = std::max<qsizetype>(begin, 0); row < end;) {
        const std::uint64_t word =
            bits_[static_cast<std::size_t>(row / kWordBits)] >> (row % kWordBits);
        if (word != 0) {
            const qsizetype found = row + std::countr_zero(word);
            return found < end ? found : -1;
        }
        row = (row / kWordBits + 1) * kWordBits;
    }
    return -1;
}

qsizetype FindIndex::LastSet(qsizetype begin, qsizetype end) const {
    begin = std::max<qsizetype>(begin, 0);
    for (qsizetype row = std::min(end, scanned_) - 1; row >= begin;) {
        const int shift = static_cast<int>(kWordBits - 1 - row % kWordBits);
        const std::uint64_t word = bits_[static_cast<std::size_t>(row / kWordBits)] << shift;
        if (word != 0) {
            const qsizetype found = row - std::countl_zero(word);
            return found >= begin ? found : -1;
        }
        row = (row / kWordBits) * kWordBits - 1;
    }
    return -1;
}

FindIndex::Step FindIndex::Next(qsizetype from) const {
    using Outcome = Step::Outcome;
    if (!IsActive()) {
        return {};
    }
    if (const qsizetype row = FirstSet(from + 1, scanned_); row >= 0) {
        return {Outcome::Found, row};
    }
    if (!CaughtUp()) {
        return {Outcome::Pending, -1};  // the rows after from are not all scanned yet
    }
    if (const qsizetype row = FirstSet(0, std::min(from + 1, scanned_)); row >= 0) {
        return {Outcome::Found, row};
    }
    return {};
}

FindIndex::Step FindIndex::Previous(qsizetype from) const {
    using Outcome = Step::Outcome;
    if (!IsActive()) {
        return {};
    }
    if (from > scanned_ && !CaughtUp()) {
        return {Outcome::Pending, -1};  // rows just before from are not scanned yet
    }
    if (const qsizetype row = LastSet(0, std::min(from, scanned_)); row >= 0) {
        return {Outcome::Found, row};
    }
    if (!CaughtUp()) {
        return {Outcome::Pending, -1};  // wrapping around needs the rows up to the end
    }
    if (const qsizetype row = LastSet(std::max<qsizetype>(from, 0), scanned_); row >= 0) {
        return {Outcome::Found, row};
    }
    return {};
}

}  // namespace monitor
