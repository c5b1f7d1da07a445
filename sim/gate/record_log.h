#pragma once

#include "controller_state.h"

#include <QByteArray>

#include <cstdint>
#include <deque>

namespace sim {

struct StoredRecord {
    std::uint64_t id = 0;  // unique for the life of the log, so a stale acknowledgement misses
    Byte kind = 0;
    QByteArray body;
};

// The controller's background record memory: a bounded log with a policy for when it is full.
class RecordLog {
public:
    static constexpr int kDefaultCapacity = 1000;
    static constexpr int kMaxBody = 17;

    explicit RecordLog(int capacity = kDefaultCapacity) : capacity_(capacity < 1 ? 1 : capacity) {}

    // Shrinking below the current count drops the earliest records.
    void SetCapacity(int capacity);
    int Capacity() const { return capacity_; }

    // Stores a record (body cut to 17 bytes). When the log is full, the stop policy refuses the
    // record and the overwrite policy drops the earliest one. Returns whether it was stored.
    bool Append(Byte kind, QByteArray body, FullPolicy policy);

    int Count() const { return static_cast<int>(records_.size()); }
    const StoredRecord* Earliest() const;
    const StoredRecord* Latest() const;
    // index 1 is the earliest record; nullptr outside 1..Count().
    const StoredRecord* At(std::int64_t index) const;
    // Deletes the earliest record only if it is still the one with this id.
    bool RemoveEarliestIf(std::uint64_t id);
    void Clear() { records_.clear(); }

    // Reply status byte: 0 more than 15 % free, 1 at most 15 % free, 2 full and stopped,
    // 3 full and overwriting.
    Byte FillStatus(FullPolicy policy) const;

private:
    int capacity_;
    std::uint64_t nextId_ = 1;
    std::deque<StoredRecord> records_;
};

// The time a record carries, by its kind's layout (the clock after setting for kind 8); zeros
// for unknown kinds or bodies too short to hold it.
Clock6 RecordTime(Byte kind, const QByteArray& body);

}  // namespace sim
