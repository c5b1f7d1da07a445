#include "record_log.h"

namespace sim {

void RecordLog::SetCapacity(int capacity) {
    capacity_ = capacity < 1 ? 1 : capacity;
    while (Count() > capacity_) {
        records_.pop_front();
    }
}

bool RecordLog::Append(Byte kind, QByteArray body, FullPolicy policy) {
    if (Count() >= capacity_) {
        if (policy == FullPolicy::Stop) {
            return false;
        }
        records_.pop_front();
    }
    body.truncate(kMaxBody);
    records_.push_back(StoredRecord{nextId_++, kind, std::move(body)});
    return true;
}

const StoredRecord* RecordLog::Earliest() const {
    return records_.empty() ? nullptr : &records_.front();
}

const StoredRecord* RecordLog::Latest() const {
    return records_.empty() ? nullptr : &records_.back();
}

const StoredRecord* RecordLog::At(std::int64_t index) const {
    if (index < 1 || index > Count()) {
        return nullptr;
    }
    return &records_[static_cast<std::size_t>(index - 1)];
}

bool RecordLog::RemoveEarliestIf(std::uint64_t id) {
    if (records_.empty() || records_.front().id != id) {
        return false;
    }
    records_.pop_front();
    return true;
}

Byte RecordLog::FillStatus(FullPolicy policy) const {
    const int count = Count();
    if (count >= capacity_) {
        return policy == FullPolicy::Stop ? 2 : 3;
    }
    const std::int64_t freeSlots = capacity_ - count;
    // At most 15 % free, in integers: free / capacity <= 15 / 100.
    return freeSlots * 100 <= std::int64_t{15} * capacity_ ? 1 : 0;
}

Clock6 RecordTime(Byte kind, const QByteArray& body) {
    int offset = -1;
    switch (kind) {
        case 0:
            offset = 9;
            break;
        case 1:
        case 2:
            offset = 8;
            break;
        case 3:
        case 4:
            offset = 0;
            break;
        case 8:
            offset = 6;
            break;
        default:
            break;
    }
    Clock6 t{};
    if (offset < 0 || body.size() < offset + 6) {
        return t;
    }
    for (int i = 0; i < 6; ++i) {
        t[i] = static_cast<Byte>(body[offset + i]);
    }
    return t;
}

}  // namespace sim
