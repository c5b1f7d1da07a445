#include "gate/operation_codec.h"
#include "gate/wire_gate_library.h"

// The controller operations of WireGateLibrary: each builds its request payload, runs one
// exchange and lays a result-0 reply into its outputs. Outputs change only on result 0.
namespace gate {

using wire::Command;
using wire::Exchange;

namespace {

Byte at(const QByteArray& payload, qsizetype i) {
    return static_cast<Byte>(payload[i]);
}

template <std::size_t N>
void copyInto(std::array<Byte, N>& to, const QByteArray& from) {
    wire::CopyClamped(from, std::span<Byte>(to));
}

}  // namespace

std::int32_t WireGateLibrary::GetControllerInfo(Byte& a, Byte& product, Byte& major, Byte& minor,
                                                Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetControllerInfo, s);
    if (x.result == result::kOk) {
        product = at(x.payload, 0);
        major = at(x.payload, 1);
        minor = at(x.payload, 2);
    }
    return x.result;
}

std::int32_t WireGateLibrary::GetControllerDetailedInfo(Byte& a, Byte& product, Byte& major,
                                                        Byte& minor, std::array<Byte, 4>& serial,
                                                        Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetControllerDetailedInfo, s);
    if (x.result == result::kOk) {
        product = at(x.payload, 0);
        major = at(x.payload, 1);
        minor = at(x.payload, 2);
        copyInto(serial, x.payload.mid(3));
    }
    return x.result;
}

std::int32_t WireGateLibrary::ModeSwitch(Byte& a, Byte& mode, Byte& s, std::int32_t h) {
    return ExchangeByte(h, a, Command::ModeSwitch, mode, s);
}

std::int32_t WireGateLibrary::ClearControllerBuffer(Byte& a, Byte& s, std::int32_t h) {
    return Call(h, a, Command::ClearControllerBuffer, s).result;
}

std::int32_t WireGateLibrary::DeleteAllRecord(Byte& a, Byte& s, std::int32_t h) {
    return Call(h, a, Command::DeleteAllRecord, s).result;
}

std::int32_t WireGateLibrary::SetRelay(Byte& a, std::int32_t pullInTime100ms, Byte& s,
                                       std::int32_t h) {
    return Call(h, a, Command::SetRelay, s, wire::U32Le(std::uint32_t(pullInTime100ms))).result;
}

std::int32_t WireGateLibrary::BuzzerAndLEDControl(Byte& a, Byte buzzerOn, Byte buzzerOff,
                                                  Byte beepCount, Byte ledOn, Byte ledOff,
                                                  Byte flashCount, Byte ledColour, Byte& s,
                                                  std::int32_t h) {
    const std::array<Byte, 7> p{buzzerOn, buzzerOff,  beepCount, ledOn,
                                ledOff,   flashCount, ledColour};
    return Call(h, a, Command::BuzzerAndLEDControl, s, wire::BytesOf(p)).result;
}

std::int32_t WireGateLibrary::SetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::SetClock, s, wire::BytesOf(clock));
    if (x.result == result::kOk) {
        copyInto(clock, x.payload);
    }
    return x.result;
}

std::int32_t WireGateLibrary::GetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetClock, s);
    if (x.result == result::kOk) {
        copyInto(clock, x.payload);
    }
    return x.result;
}

std::int32_t WireGateLibrary::SetIR(Byte& a, Byte offOrOn, Byte& s, std::int32_t h) {
    return Call(h, a, Command::SetIR, s, QByteArray(1, char(offOrOn))).result;
}

std::int32_t WireGateLibrary::GetIRStatus(Byte& a, Byte& status, Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetIRStatus, s);
    if (x.result == result::kOk) {
        status = at(x.payload, 0);
    }
    return x.result;
}

std::int32_t WireGateLibrary::GetBGLogDataRecordingStatus(Byte& a, Byte& status, Byte& s,
                                                          std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetBGLogDataRecordingStatus, s);
    if (x.result == result::kOk) {
        status = at(x.payload, 0);
    }
    return x.result;
}

std::int32_t WireGateLibrary::GetControllerReaderConnectionStatus(Byte& a, Byte& link,
                                                                  Byte& rfField, Byte& s,
                                                                  std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetControllerReaderConnectionStatus, s);
    if (x.result == result::kOk) {
        link = at(x.payload, 0);
        rfField = at(x.payload, 1);
    }
    return x.result;
}

std::int32_t WireGateLibrary::ConfigureController(Byte& a, Byte b0, Byte b1, Byte b2, Byte b3,
                                                  Byte b4, Byte b5, Byte b6, Byte b7, Byte& s,
                                                  std::int32_t h) {
    const std::array<Byte, kConfigSize> p{b0, b1, b2, b3, b4, b5, b6, b7};
    return Call(h, a, Command::ConfigureController, s, wire::BytesOf(p)).result;
}

std::int32_t WireGateLibrary::GetControllerConfig(Byte& a, Byte& b0, Byte& b1, Byte& b2, Byte& b3,
                                                  Byte& b4, Byte& b5, Byte& b6, Byte& b7, Byte& s,
                                                  std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetControllerConfig, s);
    if (x.result == result::kOk) {
        Byte* out[kConfigSize] = {&b0, &b1, &b2, &b3, &b4, &b5, &b6, &b7};
        for (int i = 0; i < kConfigSize; ++i) {
            *out[i] = at(x.payload, i);
        }
    }
    return x.result;
}

std::int32_t WireGateLibrary::TagPersonCorrelation(Byte& a, Byte& control, Byte& lead, Byte& lag,
                                                   Byte& s, std::int32_t h) {
    const std::array<Byte, 3> p{control, lead, lag};
    const Exchange x = Call(h, a, Command::TagPersonCorrelation, s, wire::BytesOf(p));
    if (x.result == result::kOk) {
        control = at(x.payload, 0);
        lead = at(x.payload, 1);
        lag = at(x.payload, 2);
    }
    return x.result;
}

std::int32_t WireGateLibrary::ReadTagDataSetting(Byte& a, Byte& control, Byte& repeat,
                                                 Byte& startBlock, Byte& blockCount, Byte& s,
                                                 std::int32_t h) {
    const std::array<Byte, 4> p{control, repeat, startBlock, blockCount};
    const Exchange x = Call(h, a, Command::ReadTagDataSetting, s, wire::BytesOf(p));
    if (x.result == result::kOk) {
        control = at(x.payload, 0);
        repeat = at(x.payload, 1);
        startBlock = at(x.payload, 2);
        blockCount = at(x.payload, 3);
    }
    return x.result;
}

std::int32_t WireGateLibrary::SetControllerAddr(Byte& a, Byte writeOrRead, Byte newAddress, Byte& s,
                                                std::int32_t h) {
    const std::array<Byte, 2> p{writeOrRead, newAddress};
    // A controller that takes a new address answers from it; one that answers first and
    // changes after answers from the old one. Either reply is the answer to this request.
    const std::optional<Byte> alsoFrom =
        writeOrRead != 0 ? std::optional<Byte>(newAddress) : std::nullopt;
    const Exchange x =
        Call(h, a, Command::SetControllerAddr, s, wire::BytesOf(p), std::nullopt, alsoFrom);
    if (x.result == result::kOk) {
        a = at(x.payload, 0);  // the controller's address after the command: later calls go there
    }
    return x.result;
}

std::int32_t WireGateLibrary::IRDirectionSetting(Byte& a, Byte& request, Byte& s, std::int32_t h) {
    return ExchangeByte(h, a, Command::IRDirectionSetting, request, s);
}

std::int32_t WireGateLibrary::ControllerReaderConnectionBrokenAlarm(Byte& a, Byte& request, Byte& s,
                                                                    std::int32_t h) {
    return ExchangeByte(h, a, Command::ControllerReaderConnectionBrokenAlarm, request, s);
}

std::int32_t WireGateLibrary::SetBGLogDataStatus(Byte& a, Byte& offOrOn, Byte& s, std::int32_t h) {
    // Callers pass 0 (off) or 1 (on); on the wire a write is 0x80 plus the value, and a bare 0
    // would only read the setting.
    if ((offOrOn & 0x80) == 0) {
        offOrOn = static_cast<Byte>(0x80 | (offOrOn & 0x01));
    }
    return ExchangeByte(h, a, Command::SetBGLogDataStatus, offOrOn, s);
}

std::int32_t WireGateLibrary::SaveRestoreConfig(Byte& a, Byte saveOrRestore, Byte& s,
                                                std::int32_t h) {
    return Call(h, a, Command::SaveRestoreConfig, s, QByteArray(1, char(saveOrRestore))).result;
}

std::int32_t WireGateLibrary::SetAutoLoad(Byte& a, Byte enable, Byte& s, std::int32_t h) {
    return Call(h, a, Command::SetAutoLoad, s, QByteArray(1, char(enable))).result;
}

std::int32_t WireGateLibrary::SetAlarmMask(Byte& a, Byte mask,
                                           std::array<Byte, kAlarmMaskReplySize>& reply, Byte& s,
                                           std::int32_t h) {
    const Exchange x = Call(h, a, Command::SetAlarmMask, s, QByteArray(1, char(mask)));
    if (x.result == result::kOk) {
        copyInto(reply, x.payload);
    }
    return x.result;
}

std::int32_t WireGateLibrary::SetAlarmPattern(Byte& a, std::array<Byte, kAlarmPatternSize>& pattern,
                                              Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::SetAlarmPattern, s, wire::BytesOf(pattern));
    if (x.result == result::kOk) {
        copyInto(pattern, x.payload);
    }
    return x.result;
}

std::int32_t WireGateLibrary::GetChannelMessage(Byte& a, std::span<Byte> buffer, Byte& length,
                                                Byte& kind, Byte& s, std::int32_t h) {
    return Fetch(h, a, Command::GetChannelMessage, {}, buffer, length, kind, s);
}

std::int32_t WireGateLibrary::GetEASMessage(Byte& a, std::span<Byte> buffer, Byte& length,
                                            Byte& kind, Byte& s, std::int32_t h) {
    return Fetch(h, a, Command::GetEASMessage, {}, buffer, length, kind, s);
}

std::int32_t WireGateLibrary::RetrieveEarliestRecord(Byte& a, std::span<Byte> buffer, Byte& length,
                                                     Byte& kind, Byte& s, std::int32_t h) {
    return Fetch(h, a, Command::RetrieveEarliestRecord, {}, buffer, length, kind, s);
}

std::int32_t WireGateLibrary::RetrieveRecordByIndex(Byte& a, std::int32_t index,
                                                    std::span<Byte> buffer, Byte& length,
                                                    Byte& kind, Byte& s, std::int32_t h) {
    // A record read by index is not deleted by an acknowledgement: nothing to resolve first.
    return Fetch(h, a, Command::RetrieveRecordByIndex, wire::U32Le(std::uint32_t(index)), buffer,
                 length, kind, s, false);
}

std::int32_t WireGateLibrary::GetBGLogDataStatus(Byte& a, std::int32_t& count, Clock6& earliest,
                                                 Clock6& latest, Byte& s, std::int32_t h) {
    const Exchange x = Call(h, a, Command::GetBGLogDataStatus, s);
    if (x.result == result::kOk) {
        const wire::RecordLogStatus status = wire::DecodeRecordLogStatus(x.payload);
        count = status.count;
        earliest = status.earliest;
        latest = status.latest;
    }
    return x.result;
}

std::int32_t WireGateLibrary::Acknowledge(Byte& a, std::int32_t h) {
    return SendAcknowledge(h, a).result;
}

std::int32_t WireGateLibrary::ReadTagData(Byte& a, Uid8& uid, Byte startBlock, Byte blockCount,
                                          Byte blockLength, std::span<Byte> data, Byte& s,
                                          std::int32_t h) {
    const Exchange x = Call(h, a, Command::ReadTagData, s,
                            wire::ReadTagDataRequest(uid, startBlock, blockCount, blockLength),
                            wire::ReadTagDataReplyLength(blockCount, blockLength));
    if (x.result == result::kOk) {
        wire::CopyClamped(x.payload, data);
    }
    return x.result;
}

}  // namespace gate
