#pragma once

#include "gate/gate_library.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <span>

namespace monitor {

// The valid bytes of one fetched message. Reads at fixed offsets never leave the body: a byte
// beyond its end reads as 0, so a message shorter than its kind's fixed fields still decodes.
class MessageBody {
public:
    MessageBody() = default;
    explicit MessageBody(QByteArray bytes) : bytes_(std::move(bytes)) {}

    // The first `length` bytes of a library buffer; a length beyond the buffer is cut to it.
    static MessageBody FromBuffer(std::span<const gate::Byte> buffer, int length);

    std::uint8_t At(int offset) const {
        return offset >= 0 && offset < bytes_.size() ? static_cast<std::uint8_t>(bytes_[offset])
                                                     : 0;
    }
    // Little-endian 16-bit count at offset.
    int Count16(int offset) const { return At(offset) | (At(offset + 1) << 8); }
    // count bytes from offset, missing ones as 0.
    QByteArray Slice(int offset, int count) const;
    // The bytes from offset to the end of the body (empty when offset is past it).
    QByteArrayView Tail(int offset) const;

    int Size() const { return static_cast<int>(bytes_.size()); }
    const QByteArray& Bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

}  // namespace monitor
