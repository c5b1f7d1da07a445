#pragma once

#include "gate/gate_library.h"

namespace gate {

// The gate library of a console without a link to any controller: every operation answers
// the communication error (48) and fills nothing, which is what a library with no open link
// reports. It is also the base of the stand-in libraries of tests and benchmarks, which
// override only the few operations they play.
class UnconnectedGateLibrary : public GateLibrary {
public:
    std::int32_t OpenComPort(std::int32_t comNumber, Byte& a, std::int32_t& handle) override;
    std::int32_t AutoOpenComPort(std::int32_t& foundPort, Byte& a, std::int32_t& handle) override;
    std::int32_t CloseComPort() override;
    std::int32_t OpenNetPort(std::int32_t ipPort, const QString& address, Byte& a,
                             std::int32_t& handle) override;
    std::int32_t CloseNetPort(std::int32_t ipPort) override;
    std::int32_t GetControllerInfo(Byte& a, Byte& product, Byte& major, Byte& minor, Byte& s,
                                   std::int32_t h) override;
    std::int32_t GetControllerDetailedInfo(Byte& a, Byte& product, Byte& major, Byte& minor,
                                           std::array<Byte, 4>& serial, Byte& s,
                                           std::int32_t h) override;
    std::int32_t ModeSwitch(Byte& a, Byte& mode, Byte& s, std::int32_t h) override;
    std::int32_t ClearControllerBuffer(Byte& a, Byte& s, std::int32_t h) override;
    std::int32_t DeleteAllRecord(Byte& a, Byte& s, std::int32_t h) override;
    std::int32_t SetRelay(Byte& a, std::int32_t pullInTime100ms, Byte& s, std::int32_t h) override;
    std::int32_t BuzzerAndLEDControl(Byte& a, Byte buzzerOn, Byte buzzerOff, Byte beepCount,
                                     Byte ledOn, Byte ledOff, Byte flashCount, Byte ledColour,
                                     Byte& s, std::int32_t h) override;
    std::int32_t SetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) override;
    std::int32_t GetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) override;
    std::int32_t SetIR(Byte& a, Byte offOrOn, Byte& s, std::int32_t h) override;
    std::int32_t GetIRStatus(Byte& a, Byte& status, Byte& s, std::int32_t h) override;
    std::int32_t GetBGLogDataRecordingStatus(Byte& a, Byte& status, Byte& s,
                                             std::int32_t h) override;
    std::int32_t GetControllerReaderConnectionStatus(Byte& a, Byte& link, Byte& rfField, Byte& s,
                                                     std::int32_t h) override;
    std::int32_t ConfigureController(Byte& a, Byte b0, Byte b1, Byte b2, Byte b3, Byte b4, Byte b5,
                                     Byte b6, Byte b7, Byte& s, std::int32_t h) override;
    std::int32_t GetControllerConfig(Byte& a, Byte& b0, Byte& b1, Byte& b2, Byte& b3, Byte& b4,
                                     Byte& b5, Byte& b6, Byte& b7, Byte& s,
                                     std::int32_t h) override;
    std::int32_t TagPersonCorrelation(Byte& a, Byte& control, Byte& lead, Byte& lag, Byte& s,
                                      std::int32_t h) override;
    std::int32_t ReadTagDataSetting(Byte& a, Byte& control, Byte& repeat, Byte& startBlock,
                                    Byte& blockCount, Byte& s, std::int32_t h) override;
    std::int32_t SetControllerAddr(Byte& a, Byte writeOrRead, Byte newAddress, Byte& s,
                                   std::int32_t h) override;
    std::int32_t IRDirectionSetting(Byte& a, Byte& request, Byte& s, std::int32_t h) override;
    std::int32_t ControllerReaderConnectionBrokenAlarm(Byte& a, Byte& request, Byte& s,
                                                       std::int32_t h) override;
    std::int32_t SetBGLogDataStatus(Byte& a, Byte& offOrOn, Byte& s, std::int32_t h) override;
    std::int32_t SaveRestoreConfig(Byte& a, Byte saveOrRestore, Byte& s, std::int32_t h) override;
    std::int32_t SetAutoLoad(Byte& a, Byte enable, Byte& s, std::int32_t h) override;
    std::int32_t SetAlarmMask(Byte& a, Byte mask, std::array<Byte, kAlarmMaskReplySize>& reply,
                              Byte& s, std::int32_t h) override;
    std::int32_t SetAlarmPattern(Byte& a, std::array<Byte, kAlarmPatternSize>& pattern, Byte& s,
                                 std::int32_t h) override;
    std::int32_t GetChannelMessage(Byte& a, std::span<Byte> buffer, Byte& length, Byte& kind,
                                   Byte& s, std::int32_t h) override;
    std::int32_t GetEASMessage(Byte& a, std::span<Byte> buffer, Byte& length, Byte& kind, Byte& s,
                               std::int32_t h) override;
    std::int32_t RetrieveEarliestRecord(Byte& a, std::span<Byte> buffer, Byte& length, Byte& kind,
                                        Byte& s, std::int32_t h) override;
    std::int32_t RetrieveRecordByIndex(Byte& a, std::int32_t index, std::span<Byte> buffer,
                                       Byte& length, Byte& kind, Byte& s, std::int32_t h) override;
    std::int32_t GetBGLogDataStatus(Byte& a, std::int32_t& count, Clock6& earliest, Clock6& latest,
                                    Byte& s, std::int32_t h) override;
    std::int32_t Acknowledge(Byte& a, std::int32_t h) override;
    std::int32_t ReadTagData(Byte& a, Uid8& uid, Byte startBlock, Byte blockCount, Byte blockLength,
                             std::span<Byte> data, Byte& s, std::int32_t h) override;
    std::int32_t OpenIF2(std::int32_t comNumber) override;
    std::int32_t CloseIF2(std::int32_t comNumber) override;
    std::int32_t GetIF2Data(std::span<Byte> buffer, std::int32_t& count) override;
};

}  // namespace gate
