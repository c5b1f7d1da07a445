#include "gate/unconnected_gate_library.h"

namespace gate {

std::int32_t UnconnectedGateLibrary::OpenComPort(std::int32_t, Byte&, std::int32_t&) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::AutoOpenComPort(std::int32_t&, Byte&, std::int32_t&) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::CloseComPort() {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::OpenNetPort(std::int32_t, const QString&, Byte&,
                                                 std::int32_t&) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::CloseNetPort(std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetControllerInfo(Byte&, Byte&, Byte&, Byte&, Byte&,
                                                       std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetControllerDetailedInfo(Byte&, Byte&, Byte&, Byte&,
                                                               std::array<Byte, 4>&, Byte&,
                                                               std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ModeSwitch(Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ClearControllerBuffer(Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::DeleteAllRecord(Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetRelay(Byte&, std::int32_t, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::BuzzerAndLEDControl(Byte&, Byte, Byte, Byte, Byte, Byte, Byte,
                                                         Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetClock(Byte&, Clock6&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetClock(Byte&, Clock6&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetIR(Byte&, Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetIRStatus(Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetBGLogDataRecordingStatus(Byte&, Byte&, Byte&,
                                                                 std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetControllerReaderConnectionStatus(Byte&, Byte&, Byte&, Byte&,
                                                                         std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ConfigureController(Byte&, Byte, Byte, Byte, Byte, Byte, Byte,
                                                         Byte, Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetControllerConfig(Byte&, Byte&, Byte&, Byte&, Byte&, Byte&,
                                                         Byte&, Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::TagPersonCorrelation(Byte&, Byte&, Byte&, Byte&, Byte&,
                                                          std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ReadTagDataSetting(Byte&, Byte&, Byte&, Byte&, Byte&, Byte&,
                                                        std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetControllerAddr(Byte&, Byte, Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::IRDirectionSetting(Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ControllerReaderConnectionBrokenAlarm(Byte&, Byte&, Byte&,
                                                                           std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetBGLogDataStatus(Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SaveRestoreConfig(Byte&, Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetAutoLoad(Byte&, Byte, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetAlarmMask(Byte&, Byte,
                                                  std::array<Byte, kAlarmMaskReplySize>&, Byte&,
                                                  std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::SetAlarmPattern(Byte&, std::array<Byte, kAlarmPatternSize>&,
                                                     Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetChannelMessage(Byte&, std::span<Byte>, Byte&, Byte&, Byte&,
                                                       std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetEASMessage(Byte&, std::span<Byte>, Byte&, Byte&, Byte&,
                                                   std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::RetrieveEarliestRecord(Byte&, std::span<Byte>, Byte&, Byte&,
                                                            Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::RetrieveRecordByIndex(Byte&, std::int32_t, std::span<Byte>,
                                                           Byte&, Byte&, Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetBGLogDataStatus(Byte&, std::int32_t&, Clock6&, Clock6&,
                                                        Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::Acknowledge(Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::ReadTagData(Byte&, Uid8&, Byte, Byte, Byte, std::span<Byte>,
                                                 Byte&, std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::OpenIF2(std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::CloseIF2(std::int32_t) {
    return result::kCommError;
}

std::int32_t UnconnectedGateLibrary::GetIF2Data(std::span<Byte>, std::int32_t&) {
    return result::kCommError;
}
}  // namespace gate
