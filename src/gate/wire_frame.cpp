#include "gate/wire_frame.h"

#include "util/conversions.h"

namespace gate::wire {

namespace {

constexpr FrameLayout kRequestLayout{kRequestStart, kRequestHeader, 4, kMaxRequestPayload, -1};
constexpr FrameLayout kReplyLayout{kReplyStart, kReplyHeader, 6, kMaxReplyPayload, 5};

std::uint8_t at(QByteArrayView b, qsizetype i) {
    return static_cast<std::uint8_t>(b[i]);
}

// Size of the frame a header at pos announces, or 0 when that header is impossible.
qsizetype announcedSize(QByteArrayView b, qsizetype pos, const FrameLayout& layout) {
    const int n = at(b, pos + layout.lengthAt);
    if (n > layout.maxPayload ||
        (layout.statusAt >= 0 && at(b, pos + layout.statusAt) > kMaxReplyStatus)) {
        return 0;
    }
    return layout.header + n + kCrcSize;
}

void appendCrc(QByteArray& frame) {
    const auto crc = util::Crc16(frame);
    frame.append(static_cast<char>(crc[0]));
    frame.append(static_cast<char>(crc[1]));
}

// True when a whole frame with a valid CRC starts at pos.
bool validFrameAt(QByteArrayView b, qsizetype pos, const FrameLayout& layout) {
    if (b.size() - pos < layout.header) {
        return false;
    }
    const qsizetype size = announcedSize(b, pos, layout);
    return size > 0 && b.size() - pos >= size && util::CheckCrcTrailer(b.sliced(pos, size));
}

// While the frame at pos is incomplete, a cut-off frame may be hiding a whole one behind it:
// the position of a later start byte that begins a whole valid frame, or -1.
qsizetype laterWholeFrame(QByteArrayView b, qsizetype pos, const FrameLayout& layout) {
    const char start = static_cast<char>(layout.start);
    for (qsizetype p = b.indexOf(start, pos + 1); p > 0; p = b.indexOf(start, p + 1)) {
        if (validFrameAt(b, p, layout)) {
            return p;
        }
    }
    return -1;
}

}  // namespace

QByteArray EncodeRequest(const Request& request) {
    const QByteArray payload = request.payload.left(kMaxRequestPayload);
    QByteArray frame;
    frame.reserve(kRequestHeader + payload.size() + kCrcSize);
    frame.append(static_cast<char>(kRequestStart));
    frame.append(static_cast<char>(request.address));
    frame.append(static_cast<char>(request.command));
    frame.append(static_cast<char>(request.sequence));
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    appendCrc(frame);
    return frame;
}

QByteArray EncodeReply(const Reply& reply) {
    const QByteArray payload = reply.payload.left(kMaxReplyPayload);
    QByteArray frame;
    frame.reserve(kReplyHeader + payload.size() + kCrcSize);
    frame.append(static_cast<char>(kReplyStart));
    frame.append(static_cast<char>(reply.address));
    frame.append(static_cast<char>(reply.command));
    frame.append(static_cast<char>(reply.sequence));
    frame.append(static_cast<char>(reply.result));
    frame.append(static_cast<char>(reply.status));
    frame.append(static_cast<char>(payload.size()));
    frame.append(payload);
    appendCrc(frame);
    return frame;
}

void FrameScanner::Feed(QByteArrayView bytes) {
    if (pos_ > 0) {
        bytes_.remove(0, pos_);
        pos_ = 0;
    }
    bytes_.append(bytes.data(), bytes.size());
}

std::optional<QByteArrayView> FrameScanner::NextFrame() {
    const QByteArrayView b(bytes_);
    for (;;) {
        pos_ = b.indexOf(static_cast<char>(layout_.start), pos_);
        if (pos_ < 0) {
            Clear();
            return std::nullopt;
        }
        if (b.size() - pos_ < layout_.header) {
            return std::nullopt;
        }
        const qsizetype size = announcedSize(b, pos_, layout_);
        if (size == 0) {
            ++pos_;
            continue;
        }
        if (b.size() - pos_ < size) {
            const qsizetype later = laterWholeFrame(b, pos_, layout_);
            if (later > 0) {
                pos_ = later;
                continue;
            }
            return std::nullopt;
        }
        const QByteArrayView frame = b.sliced(pos_, size);
        if (!util::CheckCrcTrailer(frame)) {
            damaged_ = Damaged{at(frame, 2), at(frame, 3)};
            ++pos_;
            continue;
        }
        pos_ += size;
        return frame;
    }
}

RequestScanner::RequestScanner() : FrameScanner(kRequestLayout) {}

std::optional<Request> RequestScanner::Next() {
    const auto f = NextFrame();
    if (!f) {
        return std::nullopt;
    }
    return Request{at(*f, 1), at(*f, 2), at(*f, 3),
                   f->sliced(kRequestHeader, f->size() - kRequestHeader - kCrcSize).toByteArray()};
}

ReplyScanner::ReplyScanner() : FrameScanner(kReplyLayout) {}

std::optional<Reply> ReplyScanner::Next() {
    const auto f = NextFrame();
    if (!f) {
        return std::nullopt;
    }
    return Reply{
        at(*f, 1), at(*f, 2),
        at(*f, 3), at(*f, 4),
        at(*f, 5), f->sliced(kReplyHeader, f->size() - kReplyHeader - kCrcSize).toByteArray()};
}

}  // namespace gate::wire
