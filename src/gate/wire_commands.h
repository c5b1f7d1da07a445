#pragma once

#include <cstdint>

namespace gate::wire {

// Command codes of the wire protocol, one per controller operation (docs/wire-protocol.md).
enum class Command : std::uint8_t {
    GetControllerInfo = 0x01,
    GetControllerDetailedInfo = 0x02,
    ModeSwitch = 0x03,
    ClearControllerBuffer = 0x04,
    DeleteAllRecord = 0x05,
    SetRelay = 0x06,
    BuzzerAndLEDControl = 0x07,
    SetClock = 0x08,
    GetClock = 0x09,
    SetIR = 0x0A,
    GetIRStatus = 0x0B,
    GetBGLogDataRecordingStatus = 0x0C,
    GetControllerReaderConnectionStatus = 0x0D,
    ConfigureController = 0x0E,
    GetControllerConfig = 0x0F,
    TagPersonCorrelation = 0x10,
    ReadTagDataSetting = 0x11,
    SetControllerAddr = 0x12,
    IRDirectionSetting = 0x13,
    ControllerReaderConnectionBrokenAlarm = 0x14,
    SetBGLogDataStatus = 0x15,
    SaveRestoreConfig = 0x16,
    SetAutoLoad = 0x17,
    SetAlarmMask = 0x18,
    SetAlarmPattern = 0x19,
    GetChannelMessage = 0x1A,
    GetEASMessage = 0x1B,
    RetrieveEarliestRecord = 0x1C,
    RetrieveRecordByIndex = 0x1D,
    GetBGLogDataStatus = 0x1E,
    Acknowledge = 0x1F,
    ReadTagData = 0x20,
};

constexpr std::uint8_t Code(Command c) {
    return static_cast<std::uint8_t>(c);
}

// Kind byte of a fetch that had nothing to deliver.
constexpr std::uint8_t kNothingPending = 0xFF;

}  // namespace gate::wire
