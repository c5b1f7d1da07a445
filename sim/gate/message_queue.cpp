#include "message_queue.h"

#include <algorithm>

namespace sim {

bool MessageQueue::Push(Byte kind, QByteArray body) {
    if (Size() >= kCapacity) {
        ++dropped_;
        return false;
    }
    body.truncate(kMaxBody);
    messages_.push_back(LiveMessage{nextId_++, kind, std::move(body), 0});
    return true;
}

const LiveMessage* MessageQueue::Fetch() {
    while (!messages_.empty() && messages_.front().deliveries >= kMaxDeliveries) {
        messages_.pop_front();
        ++dropped_;
    }
    if (messages_.empty()) {
        return nullptr;
    }
    ++messages_.front().deliveries;
    return &messages_.front();
}

bool MessageQueue::Remove(std::uint64_t id) {
    const auto it = std::find_if(messages_.begin(), messages_.end(),
                                 [id](const LiveMessage& m) { return m.id == id; });
    if (it == messages_.end()) {
        return false;
    }
    messages_.erase(it);
    return true;
}

}  // namespace sim
