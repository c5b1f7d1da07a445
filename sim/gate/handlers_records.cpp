// Live message fetches, stored records, acknowledgement and tag memory.

#include "controller_model.h"
#include "result_codes.h"

#include "gate/wire_commands.h"

namespace sim {

namespace {

constexpr int kTagBlocks = 256;

QByteArray Kind(Byte kind) {
    return QByteArray(1, static_cast<char>(kind));
}

QByteArray ClockBytes(const Clock6& c) {
    return QByteArray(reinterpret_cast<const char*>(c.data()), 6);
}

QByteArray U32(std::uint32_t v) {
    QByteArray out;
    for (int i = 0; i < 4; ++i) {
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    return out;
}

}  // namespace

ControllerModel::Outcome ControllerModel::FetchLive(const QByteArray& p, Mode mode) {
    delivered_ = Delivered::Nothing;
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    if (state_.EffectiveMode() != mode) {
        return Fail(code::kWrongMode);
    }
    MessageQueue& queue = mode == Mode::Channel ? channel_ : eas_;
    const LiveMessage* m = queue.Fetch();
    if (m == nullptr) {
        return Ok(Kind(gate::wire::kNothingPending));
    }
    delivered_ = mode == Mode::Channel ? Delivered::ChannelMessage : Delivered::EasMessage;
    deliveredId_ = m->id;
    return Ok(Kind(m->kind) + m->body);
}

ControllerModel::Outcome ControllerModel::FetchEarliest(const QByteArray& p) {
    delivered_ = Delivered::Nothing;
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    const StoredRecord* r = records_.Earliest();
    if (r == nullptr) {
        return Ok(Kind(gate::wire::kNothingPending));
    }
    delivered_ = Delivered::Record;
    deliveredId_ = r->id;
    return Ok(Kind(r->kind) + r->body);
}

ControllerModel::Outcome ControllerModel::FetchByIndex(const QByteArray& p) {
    // Reading by index delivers nothing to acknowledge, and leaves what an earlier fetch
    // delivered to be acknowledged.
    if (p.size() != 4) {
        return Fail(code::kInvalidCommand);
    }
    if (records_.Count() == 0) {
        return Fail(code::kNoRecord);
    }
    std::uint32_t index = 0;
    for (int i = 3; i >= 0; --i) {
        index = (index << 8) | static_cast<Byte>(p[i]);
    }
    const StoredRecord* r = records_.At(index);
    if (r == nullptr) {
        return Fail(code::kIndexOutOfRange);
    }
    return Ok(Kind(r->kind) + r->body);
}

ControllerModel::Outcome ControllerModel::LogStatus(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    QByteArray out =
        U32(state_.reportedRecordCount.value_or(static_cast<std::uint32_t>(records_.Count())));
    const StoredRecord* first = records_.Earliest();
    const StoredRecord* last = records_.Latest();
    out += ClockBytes(first ? RecordTime(first->kind, first->body) : Clock6{});
    out += ClockBytes(last ? RecordTime(last->kind, last->body) : Clock6{});
    return Ok(out);
}

ControllerModel::Outcome ControllerModel::Acknowledge(const QByteArray& p) {
    if (!p.isEmpty()) {
        return Fail(code::kInvalidCommand);
    }
    bool deleted = false;
    switch (delivered_) {
        case Delivered::ChannelMessage:
            deleted = channel_.Remove(deliveredId_);
            break;
        case Delivered::EasMessage:
            deleted = eas_.Remove(deliveredId_);
            break;
        case Delivered::Record:
            deleted = records_.RemoveEarliestIf(deliveredId_);
            break;
        case Delivered::Nothing:
            break;
    }
    // Acts once: a second acknowledgement of the same delivery deletes nothing.
    delivered_ = Delivered::Nothing;
    return deleted ? Ok() : Fail(code::kNoRecord);
}

ControllerModel::Outcome ControllerModel::ReadTagData(const QByteArray& p) {
    if (p.size() != 11) {
        return Fail(code::kInvalidCommand);
    }
    Uid8 uid{};
    for (int i = 0; i < 8; ++i) {
        uid[i] = static_cast<Byte>(p[i]);
    }
    const int start = static_cast<Byte>(p[8]);
    const int count = static_cast<Byte>(p[9]);
    const int length = static_cast<Byte>(p[10]);
    if ((length != 4 && length != 8) || count < 1 || count > (length == 4 ? 16 : 8)) {
        return Fail(code::kInvalidCommand);
    }
    if (start + count > kTagBlocks) {
        return Fail(code::kIndexOutOfRange);
    }
    return Ok(TagBlocks(uid, start, count, length));
}

void ControllerModel::SetTagMemory(const Uid8& uid, const QByteArray& blocks4) {
    tagMemory_[uid] = blocks4;
}

QByteArray ControllerModel::TagBlocks(const Uid8& uid, int start, int count, int length) const {
    const auto it = tagMemory_.find(uid);
    QByteArray out;
    for (int b = start; b < start + count; ++b) {
        out.append('\0');  // block security status: not locked
        for (int i = 0; i < length; ++i) {
            const int offset = b * length + i;
            if (it != tagMemory_.end() && offset < it->second.size()) {
                out.append(it->second[offset]);
            } else {
                out.append(static_cast<char>((uid[offset % 8] + offset / 8) & 0xFF));
            }
        }
    }
    return out;
}

}  // namespace sim
