#include "core/monitor/message_body.h"

#include <algorithm>

namespace monitor {

MessageBody MessageBody::FromBuffer(std::span<const gate::Byte> buffer, int length) {
    const auto n = std::clamp<qsizetype>(length, 0, static_cast<qsizetype>(buffer.size()));
    return MessageBody(QByteArray(reinterpret_cast<const char*>(buffer.data()), n));
}

QByteArray MessageBody::Slice(int offset, int count) const {
    QByteArray out(count, '\0');
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<char>(At(offset + i));
    }
    return out;
}

QByteArrayView MessageBody::Tail(int offset) const {
    if (offset >= bytes_.size()) {
        return {};
    }
    return QByteArrayView(bytes_).sliced(std::max(offset, 0));
}

}  // namespace monitor
