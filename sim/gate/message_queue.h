#pragma once

#include "controller_state.h"

#include <QByteArray>

#include <cstdint>
#include <deque>

namespace sim {

struct LiveMessage {
    std::uint64_t id = 0;
    Byte kind = 0;
    QByteArray body;
    int deliveries = 0;
};

// One mode's queue of live messages. A fetch delivers the front message; if it is not
// acknowledged the next fetch delivers it again, three times in all, after which it is dropped
// so that a message the console deliberately leaves unacknowledged cannot stall the queue.
class MessageQueue {
public:
    static constexpr int kMaxDeliveries = 3;
    static constexpr int kCapacity = 512;
    static constexpr int kMaxBody = 47;

    // Appends a message (body cut to 47 bytes); a full queue refuses it.
    bool Push(Byte kind, QByteArray body);
    // The message this fetch delivers, or nullptr when nothing is pending.
    const LiveMessage* Fetch();
    // Deletes the message with this id if it is still queued.
    bool Remove(std::uint64_t id);
    void Clear() { messages_.clear(); }
    int Size() const { return static_cast<int>(messages_.size()); }
    std::uint64_t Dropped() const { return dropped_; }

private:
    std::uint64_t nextId_ = 1;
    std::uint64_t dropped_ = 0;
    std::deque<LiveMessage> messages_;
};

}  // namespace sim
