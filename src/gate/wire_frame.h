#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace gate::wire {

constexpr std::uint8_t kRequestStart = 0xA5;
constexpr std::uint8_t kReplyStart = 0x5A;
constexpr int kRequestHeader = 5;  // start, address, command, sequence, length
constexpr int kReplyHeader = 7;    // start, address, command, sequence, result, status, length
constexpr int kMaxRequestPayload = 64;
constexpr int kMaxReplyPayload = 128;
constexpr int kCrcSize = 2;
constexpr int kMaxReplyStatus = 3;  // the record memory fill state is 0 to 3
constexpr std::uint8_t kBroadcastAddress = 0xFF;

struct Request {
    std::uint8_t address = kBroadcastAddress;
    std::uint8_t command = 0;
    std::uint8_t sequence = 0;
    QByteArray payload;

    bool operator==(const Request&) const = default;
};

struct Reply {
    std::uint8_t address = 0;
    std::uint8_t command = 0;
    std::uint8_t sequence = 0;
    std::uint8_t result = 0;
    std::uint8_t status = 0;
    QByteArray payload;

    bool operator==(const Reply&) const = default;
};

// Whole frames with their CRC trailer. A payload longer than the maximum is cut to it.
QByteArray EncodeRequest(const Request& request);
QByteArray EncodeReply(const Reply& reply);

// Where a frame of one direction keeps its fields.
struct FrameLayout {
    std::uint8_t start;
    int header;    // bytes before the payload
    int lengthAt;  // offset of the payload length
    int maxPayload;
    int statusAt;  // offset of a status byte that must not exceed kMaxReplyStatus, or -1
};

// Cuts frames of one direction out of a byte stream that may hold garbage, broken frames and
// frames split across reads. Bytes are fed as they arrive; each call of Next() returns the next
// whole frame with a valid CRC, or nothing until more bytes arrive. A start byte whose header
// is impossible or whose frame fails its CRC is dropped alone, so a valid frame that follows it
// (even inside it) is still found.
//
// Dropped bytes only move a read position, and consumed bytes leave the buffer only when more
// arrive, so a read of n bytes is scanned in O(n) steps however much garbage it holds.
class FrameScanner {
public:
    void Feed(QByteArrayView bytes);
    void Clear() {
        bytes_.clear();
        pos_ = 0;
    }
    qsizetype Buffered() const { return bytes_.size() - pos_; }

    // Set when a frame that looked whole was dropped for its CRC; the library reports such a
    // frame as a CRC error when its command and sequence match the pending request.
    struct Damaged {
        std::uint8_t command;
        std::uint8_t sequence;
    };
    std::optional<Damaged> TakeDamaged() {
        auto d = damaged_;
        damaged_.reset();
        return d;
    }

protected:
    explicit FrameScanner(const FrameLayout& layout) : layout_(layout) {}
    // The next whole valid frame, consumed; empty when none is buffered yet.
    std::optional<QByteArrayView> NextFrame();

private:
    FrameLayout layout_;
    QByteArray bytes_;
    qsizetype pos_ = 0;  // the bytes before it are consumed
    std::optional<Damaged> damaged_;
};

class RequestScanner : public FrameScanner {
public:
    RequestScanner();
    std::optional<Request> Next();
};

class ReplyScanner : public FrameScanner {
public:
    ReplyScanner();
    std::optional<Reply> Next();
};

}  // namespace gate::wire
