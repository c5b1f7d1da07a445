#pragma once

#include "gate/gate_library.h"
#include "gate/transactor.h"
#include "gate/wire_commands.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <span>

// Payload layouts of the operations (docs/wire-protocol.md, "Operations"), as pure functions.
namespace gate::wire {

QByteArray U32Le(std::uint32_t value);
std::uint32_t ReadU32Le(QByteArrayView bytes, qsizetype at);

// Copies as much of from as fits into to; returns the number of bytes copied.
qsizetype CopyClamped(QByteArrayView from, std::span<Byte> to);

template <std::size_t N>
QByteArray BytesOf(const std::array<Byte, N>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(N));
}

// The payload lengths a result-0 reply of the command may have. ReadTagData's depends on its
// request: see ReadTagDataReplyLength.
LengthRule ReplyLengthOf(Command command);
LengthRule ReadTagDataReplyLength(Byte blockCount, Byte blockLength);

QByteArray ReadTagDataRequest(const Uid8& uid, Byte startBlock, Byte blockCount, Byte blockLength);

// A fetch reply (kind byte, then the body) laid into the caller's buffer: the body is cut to
// the buffer, length is what was copied.
struct FetchOutput {
    Byte kind = kNothingPending;
    Byte length = 0;
};
FetchOutput CopyFetch(QByteArrayView payload, std::span<Byte> buffer);

struct RecordLogStatus {
    std::int32_t count = 0;
    Clock6 earliest{};
    Clock6 latest{};
};
RecordLogStatus DecodeRecordLogStatus(QByteArrayView payload);

}  // namespace gate::wire
