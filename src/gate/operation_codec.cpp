#include "gate/operation_codec.h"

#include <algorithm>
#include <cstring>

namespace gate::wire {

namespace {

constexpr int kClockSize = 6;
constexpr int kFetchKindSize = 1;

}  // namespace

QByteArray U32Le(std::uint32_t value) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        out[i] = char((value >> (8 * i)) & 0xFF);
    }
    return out;
}

std::uint32_t ReadU32Le(QByteArrayView bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

qsizetype CopyClamped(QByteArrayView from, std::span<Byte> to) {
    const qsizetype n = std::min<qsizetype>(from.size(), qsizetype(to.size()));
    if (n > 0) {
        std::memcpy(to.data(), from.data(), std::size_t(n));
    }
    return n;
}

LengthRule ReplyLengthOf(Command command) {
    using C = Command;
    switch (command) {
        case C::GetControllerInfo:
            return LengthRule::Exactly(3);
        case C::GetControllerDetailedInfo:
            return LengthRule::Exactly(7);
        case C::ModeSwitch:
        case C::GetIRStatus:
        case C::GetBGLogDataRecordingStatus:
        case C::SetControllerAddr:
        case C::IRDirectionSetting:
        case C::ControllerReaderConnectionBrokenAlarm:
        case C::SetBGLogDataStatus:
            return LengthRule::Exactly(1);
        case C::GetControllerReaderConnectionStatus:
            return LengthRule::Exactly(2);
        case C::SetClock:
        case C::GetClock:
            return LengthRule::Exactly(kClockSize);
        case C::GetControllerConfig:
            return LengthRule::Exactly(kConfigSize);
        case C::TagPersonCorrelation:
            return LengthRule::Exactly(3);
        case C::ReadTagDataSetting:
            return LengthRule::Exactly(4);
        case C::SetAlarmMask:
            return LengthRule::Exactly(kAlarmMaskReplySize);
        case C::SetAlarmPattern:
            return LengthRule::Exactly(kAlarmPatternSize);
        case C::GetChannelMessage:
        case C::GetEASMessage:
            return {kFetchKindSize, kFetchKindSize + kMessageBufferSize};
        case C::RetrieveEarliestRecord:
        case C::RetrieveRecordByIndex:
            return {kFetchKindSize, kFetchKindSize + kRecordBufferSize};
        case C::GetBGLogDataStatus:
            return LengthRule::Exactly(4 + 2 * kClockSize);
        case C::ReadTagData:
            return {0, kMaxReplyPayload};
        case C::ClearControllerBuffer:
        case C::DeleteAllRecord:
        case C::SetRelay:
        case C::BuzzerAndLEDControl:
        case C::SetIR:
        case C::ConfigureController:
        case C::SaveRestoreConfig:
        case C::SetAutoLoad:
        case C::Acknowledge:
            return LengthRule::Exactly(0);
    }
    return LengthRule::Exactly(0);
}

LengthRule ReadTagDataReplyLength(Byte blockCount, Byte blockLength) {
    return LengthRule::Exactly(int(blockCount) * (int(blockLength) + 1));
}

QByteArray ReadTagDataRequest(const Uid8& uid, Byte startBlock, Byte blockCount, Byte blockLength) {
    QByteArray out = BytesOf(uid);
    out.append(char(startBlock));
    out.append(char(blockCount));
    out.append(char(blockLength));
    return out;
}

FetchOutput CopyFetch(QByteArrayView payload, std::span<Byte> buffer) {
    if (payload.isEmpty()) {
        return {};
    }
    FetchOutput out;
    out.kind = static_cast<Byte>(payload[0]);
    out.length = static_cast<Byte>(CopyClamped(payload.sliced(kFetchKindSize), buffer));
    return out;
}

RecordLogStatus DecodeRecordLogStatus(QByteArrayView payload) {
    RecordLogStatus out;
    if (payload.size() < 4 + 2 * kClockSize) {
        return out;
    }
    out.count = static_cast<std::int32_t>(ReadU32Le(payload, 0));
    for (int i = 0; i < kClockSize; ++i) {
        out.earliest[std::size_t(i)] = static_cast<Byte>(payload[4 + i]);
        out.latest[std::size_t(i)] = static_cast<Byte>(payload[4 + kClockSize + i]);
    }
    return out;
}

}  // namespace gate::wire
