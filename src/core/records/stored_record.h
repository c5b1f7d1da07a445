#pragma once

#include "gate/gate_library.h"

#include <array>
#include <cstdint>
#include <span>

namespace records {

// Kinds of stored records; anything else is not shown.
namespace kind {
constexpr gate::Byte kPassage = 0;
constexpr gate::Byte kStatistics = 1;
constexpr gate::Byte kTagTimeout = 2;
constexpr gate::Byte kPassageTimeout = 3;
constexpr gate::Byte kInfraredAlarm = 4;
constexpr gate::Byte kClockSet = 8;
}  // namespace kind

// One stored record as the gate library delivers it: a body of at most 17 bytes and its kind.
// Fields are read at the fixed offsets of their kind; bytes past the valid length read as 0, so
// a short body never makes a reader look outside what the library filled.
class StoredRecord {
public:
    using Body = std::array<gate::Byte, gate::kRecordBufferSize>;

    StoredRecord() = default;
    // Keeps the first `length` bytes of body (at most 17 and at most body.size()).
    StoredRecord(gate::Byte kindByte, std::span<const gate::Byte> body, int length);

    gate::Byte Kind() const { return kind_; }
    int Length() const { return length_; }

    // True for the kinds that have a line of their own: 0 to 4 and 8.
    bool IsShownKind() const;
    // True for the event kinds 0 to 4.
    bool IsEventKind() const { return kind_ <= kind::kInfraredAlarm; }

    gate::Byte At(int offset) const;
    // The valid bytes of the body.
    std::span<const gate::Byte> Bytes() const {
        return std::span<const gate::Byte>(body_.data(), static_cast<std::size_t>(length_));
    }
    std::uint16_t Count16At(int offset) const;  // little-endian
    gate::Clock6 TimeAt(int offset) const;
    gate::Uid8 UidAt(int offset) const;

    // Kind 0: the passage byte; kind 0: a UID of all zeros or a passage byte 0 means no person.
    gate::Byte PassageByte() const { return At(8); }
    bool IsNoPerson() const;

private:
    gate::Byte kind_ = 0xFF;
    int length_ = 0;
    Body body_{};
};

}  // namespace records
