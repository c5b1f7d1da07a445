#include "gate/wire_frame.h"

#include "util/conversions.h"

namespace gate::wire {

namespace {

std::uint8_t at(const QByteArray& b, qsizetype i) {
    return static_cast<std::uint8_t>(b[i]);
}

void appendCrc(QByteArray& frame) {
    const auto crc = util::Crc16(frame);
    frame.append(static_cast<char>(crc[0]));
    frame.append(static_cast<char>(crc[1]));
}

bool crcMatches(const QByteArray& buffer, qsizetype frameSize) {
    const auto crc = util::Crc16(QByteArrayView(buffer).first(frameSize - kCrcSize));
    return at(buffer, frameSize - 2) == crc[0] && at(buffer, frameSize - 1) == crc[1];
}

// Drops bytes up to the next start byte; returns false when none is buffered.
bool skipToStart(QByteArray& buffer, std::uint8_t start) {
    const qsizetype pos = buffer.indexOf(static_cast<char>(start));
    if (pos < 0) {
        buffer.clear();
        return false;
    }
    buffer.remove(0, pos);
    return true;
}

// Size of a whole frame with a valid CRC at pos, or 0 when there is none (yet).
qsizetype validFrameAt(const QByteArray& buffer, qsizetype pos, int header, int lengthAt,
                       int maxPayload) {
    if (buffer.size() - pos < header) {
        return 0;
    }
    const int n = at(buffer, pos + lengthAt);
    const qsizetype size = header + n + kCrcSize;
    const bool replyHeader = header == kReplyHeader;
    if (n > maxPayload || buffer.size() - pos < size ||
        (replyHeader && at(buffer, pos + 5) > kMaxReplyStatus)) {
        return 0;
    }
    const QByteArrayView frame = QByteArrayView(buffer).sliced(pos, size);
    const auto crc = util::Crc16(frame.first(size - kCrcSize));
    return static_cast<std::uint8_t>(frame[size - 2]) == crc[0] &&
                   static_cast<std::uint8_t>(frame[size - 1]) == crc[1]
               ? size
               : 0;
}

// While the frame at the front is incomplete, a cut-off frame may be hiding a whole one behind
// it: when a later start byte begins a whole valid frame, drop everything before it.
bool skipToLaterWholeFrame(QByteArray& buffer, std::uint8_t start, int header, int lengthAt,
                           int maxPayload) {
    for (qsizetype p = buffer.indexOf(static_cast<char>(start), 1); p > 0;
         p = buffer.indexOf(static_cast<char>(start), p + 1)) {
        if (validFrameAt(buffer, p, header, lengthAt, maxPayload) > 0) {
            buffer.remove(0, p);
            return true;
        }
    }
    return false;
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

std::optional<Request> RequestScanner::Next() {
    while (skipToStart(buffer_, kRequestStart)) {
        if (buffer_.size() < kRequestHeader) {
            return std::nullopt;
        }
        const int n = at(buffer_, 4);
        if (n > kMaxRequestPayload) {
            buffer_.remove(0, 1);
            continue;
        }
        const qsizetype size = kRequestHeader + n + kCrcSize;
        if (buffer_.size() < size) {
            if (skipToLaterWholeFrame(buffer_, kRequestStart, kRequestHeader, 4,
                                      kMaxRequestPayload)) {
                continue;
            }
            return std::nullopt;
        }
        if (!crcMatches(buffer_, size)) {
            buffer_.remove(0, 1);
            continue;
        }
        Request r{at(buffer_, 1), at(buffer_, 2), at(buffer_, 3), buffer_.mid(kRequestHeader, n)};
        buffer_.remove(0, size);
        return r;
    }
    return std::nullopt;
}

std::optional<Reply> ReplyScanner::Next() {
    while (skipToStart(buffer_, kReplyStart)) {
        if (buffer_.size() < kReplyHeader) {
            return std::nullopt;
        }
        const int n = at(buffer_, 6);
        if (n > kMaxReplyPayload || at(buffer_, 5) > kMaxReplyStatus) {
            buffer_.remove(0, 1);
            continue;
        }
        const qsizetype size = kReplyHeader + n + kCrcSize;
        if (buffer_.size() < size) {
            if (skipToLaterWholeFrame(buffer_, kReplyStart, kReplyHeader, 6, kMaxReplyPayload)) {
                continue;
            }
            return std::nullopt;
        }
        if (!crcMatches(buffer_, size)) {
            damaged_ = Damaged{at(buffer_, 2), at(buffer_, 3)};
            buffer_.remove(0, 1);
            continue;
        }
        Reply r{at(buffer_, 1), at(buffer_, 2), at(buffer_, 3),
                at(buffer_, 4), at(buffer_, 5), buffer_.mid(kReplyHeader, n)};
        buffer_.remove(0, size);
        return r;
    }
    return std::nullopt;
}

}  // namespace gate::wire
