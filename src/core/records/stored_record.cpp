#include "core/records/stored_record.h"

#include <algorithm>

namespace records {

StoredRecord::StoredRecord(gate::Byte kindByte, std::span<const gate::Byte> body, int length)
    : kind_(kindByte) {
    const auto limit = std::min<std::size_t>(body.size(), body_.size());
    const auto n = std::min<std::size_t>(limit, static_cast<std::size_t>(std::max(length, 0)));
    std::copy_n(body.begin(), n, body_.begin());
    length_ = static_cast<int>(n);
}

bool StoredRecord::IsShownKind() const {
    return IsEventKind() || kind_ == kind::kClockSet;
}

gate::Byte StoredRecord::At(int offset) const {
    if (offset < 0 || offset >= length_) {
        return 0;
    }
    return body_[static_cast<std::size_t>(offset)];
}

std::uint16_t StoredRecord::Count16At(int offset) const {
    return static_cast<std::uint16_t>(At(offset) | (At(offset + 1) << 8));
}

gate::Clock6 StoredRecord::TimeAt(int offset) const {
    gate::Clock6 t{};
    for (int i = 0; i < 6; ++i) {
        t[static_cast<std::size_t>(i)] = At(offset + i);
    }
    return t;
}

gate::Uid8 StoredRecord::UidAt(int offset) const {
    gate::Uid8 u{};
    for (int i = 0; i < 8; ++i) {
        u[static_cast<std::size_t>(i)] = At(offset + i);
    }
    return u;
}

bool StoredRecord::IsNoPerson() const {
    const gate::Uid8 uid = UidAt(0);
    const bool allZero = std::all_of(uid.begin(), uid.end(), [](gate::Byte b) { return b == 0; });
    return allZero || PassageByte() == 0;
}

}  // namespace records
