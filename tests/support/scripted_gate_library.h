#pragma once

#include "gate/gate_library.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <deque>

namespace testing_support {

// A gate library for GUI tests: it records every call with its arguments and plays back
// scripted results and outputs.
//
// Arguments are recorded in the interface order as they arrived (inputs by reference before the
// double changed them): the address first where the operation takes one, no reply status. Bytes
// are recorded as ints, fixed byte arrays as QByteArray, an output buffer as its size.
//
// Outputs are named: "a" (address), "s" (reply status), "handle", "foundPort", "product",
// "major", "minor", "serial" (4 bytes), "mode", "clock" (6 bytes), "status", "link", "rf",
// "config" (8 bytes), "control", "lead", "lag", "repeat", "startBlock", "blockCount", "request",
// "value" (SetBGLogDataStatus), "reply" (46 bytes), "pattern" (45 bytes), "body" (message or
// record bytes; "length" defaults to their size), "length", "kind", "count", "earliest",
// "latest", "data" (tag blocks), "if2" (IF2 bytes; the count is their size).
class ScriptedGateLibrary final : public gate::GateLibrary {
public:
    struct Call {
        QString op;
        QVariantList args;
    };
    struct Reply {
        std::int32_t result = 0;
        QVariantMap outputs;
    };

    // Queues one reply for the next call of op.
    void Script(const QString& op, std::int32_t result, QVariantMap outputs = {});
    // The reply of op whenever its queue is empty (result 0 and no outputs unless set).
    void SetDefault(const QString& op, std::int32_t result, QVariantMap outputs = {});

    const QList<Call>& Calls() const { return calls_; }
    QList<Call> CallsOf(const QString& op) const;
    QStringList Ops() const;
    int CountOf(const QString& op) const { return static_cast<int>(CallsOf(op).size()); }
    void ClearCalls() { calls_.clear(); }
    qsizetype Pending(const QString& op) const;

    std::int32_t OpenComPort(std::int32_t comNumber, gate::Byte& a, std::int32_t& handle) override;
    std::int32_t AutoOpenComPort(std::int32_t& foundPort, gate::Byte& a,
                                 std::int32_t& handle) override;
    std::int32_t CloseComPort() override;
    std::int32_t OpenNetPort(std::int32_t ipPort, const QString& address, gate::Byte& a,
                             std::int32_t& handle) override;
    std::int32_t CloseNetPort(std::int32_t ipPort) override;
    std::int32_t GetControllerInfo(gate::Byte& a, gate::Byte& product, gate::Byte& major,
                                   gate::Byte& minor, gate::Byte& s, std::int32_t h) override;
    std::int32_t GetControllerDetailedInfo(gate::Byte& a, gate::Byte& product, gate::Byte& major,
                                           gate::Byte& minor, std::array<gate::Byte, 4>& serial,
                                           gate::Byte& s, std::int32_t h) override;
    std::int32_t ModeSwitch(gate::Byte& a, gate::Byte& mode, gate::Byte& s,
                            std::int32_t h) override;
    std::int32_t ClearControllerBuffer(gate::Byte& a, gate::Byte& s, std::int32_t h) override;
    std::int32_t DeleteAllRecord(gate::Byte& a, gate::Byte& s, std::int32_t h) override;
    std::int32_t SetRelay(gate::Byte& a, std::int32_t pullInTime100ms, gate::Byte& s,
                          std::int32_t h) override;
    std::int32_t BuzzerAndLEDControl(gate::Byte& a, gate::Byte buzzerOn, gate::Byte buzzerOff,
                                     gate::Byte beepCount, gate::Byte ledOn, gate::Byte ledOff,
                                     gate::Byte flashCount, gate::Byte ledColour, gate::Byte& s,
                                     std::int32_t h) override;
    std::int32_t SetClock(gate::Byte& a, gate::Clock6& clock, gate::Byte& s,
                          std::int32_t h) override;
    std::int32_t GetClock(gate::Byte& a, gate::Clock6& clock, gate::Byte& s,
                          std::int32_t h) override;
    std::int32_t SetIR(gate::Byte& a, gate::Byte offOrOn, gate::Byte& s, std::int32_t h) override;
    std::int32_t GetIRStatus(gate::Byte& a, gate::Byte& status, gate::Byte& s,
                             std::int32_t h) override;
    std::int32_t GetBGLogDataRecordingStatus(gate::Byte& a, gate::Byte& status, gate::Byte& s,
                                             std::int32_t h) override;
    std::int32_t GetControllerReaderConnectionStatus(gate::Byte& a, gate::Byte& link,
                                                     gate::Byte& rfField, gate::Byte& s,
                                                     std::int32_t h) override;
    std::int32_t ConfigureController(gate::Byte& a, gate::Byte b0, gate::Byte b1, gate::Byte b2,
                                     gate::Byte b3, gate::Byte b4, gate::Byte b5, gate::Byte b6,
                                     gate::Byte b7, gate::Byte& s, std::int32_t h) override;
    std::int32_t GetControllerConfig(gate::Byte& a, gate::Byte& b0, gate::Byte& b1, gate::Byte& b2,
                                     gate::Byte& b3, gate::Byte& b4, gate::Byte& b5, gate::Byte& b6,
                                     gate::Byte& b7, gate::Byte& s, std::int32_t h) override;
    std::int32_t TagPersonCorrelation(gate::Byte& a, gate::Byte& control, gate::Byte& lead,
                                      gate::Byte& lag, gate::Byte& s, std::int32_t h) override;
    std::int32_t ReadTagDataSetting(gate::Byte& a, gate::Byte& control, gate::Byte& repeat,
                                    gate::Byte& startBlock, gate::Byte& blockCount, gate::Byte& s,
                                    std::int32_t h) override;
    std::int32_t SetControllerAddr(gate::Byte& a, gate::Byte writeOrRead, gate::Byte newAddress,
                                   gate::Byte& s, std::int32_t h) override;
    std::int32_t IRDirectionSetting(gate::Byte& a, gate::Byte& request, gate::Byte& s,
                                    std::int32_t h) override;
    std::int32_t ControllerReaderConnectionBrokenAlarm(gate::Byte& a, gate::Byte& request,
                                                       gate::Byte& s, std::int32_t h) override;
    std::int32_t SetBGLogDataStatus(gate::Byte& a, gate::Byte& offOrOn, gate::Byte& s,
                                    std::int32_t h) override;
    std::int32_t SaveRestoreConfig(gate::Byte& a, gate::Byte saveOrRestore, gate::Byte& s,
                                   std::int32_t h) override;
    std::int32_t SetAutoLoad(gate::Byte& a, gate::Byte enable, gate::Byte& s,
                             std::int32_t h) override;
    std::int32_t SetAlarmMask(gate::Byte& a, gate::Byte mask,
                              std::array<gate::Byte, gate::kAlarmMaskReplySize>& reply,
                              gate::Byte& s, std::int32_t h) override;
    std::int32_t SetAlarmPattern(gate::Byte& a,
                                 std::array<gate::Byte, gate::kAlarmPatternSize>& pattern,
                                 gate::Byte& s, std::int32_t h) override;
    std::int32_t GetChannelMessage(gate::Byte& a, std::span<gate::Byte> buffer, gate::Byte& length,
                                   gate::Byte& kind, gate::Byte& s, std::int32_t h) override;
    std::int32_t GetEASMessage(gate::Byte& a, std::span<gate::Byte> buffer, gate::Byte& length,
                               gate::Byte& kind, gate::Byte& s, std::int32_t h) override;
    std::int32_t RetrieveEarliestRecord(gate::Byte& a, std::span<gate::Byte> buffer,
                                        gate::Byte& length, gate::Byte& kind, gate::Byte& s,
                                        std::int32_t h) override;
    std::int32_t RetrieveRecordByIndex(gate::Byte& a, std::int32_t index,
                                       std::span<gate::Byte> buffer, gate::Byte& length,
                                       gate::Byte& kind, gate::Byte& s, std::int32_t h) override;
    std::int32_t GetBGLogDataStatus(gate::Byte& a, std::int32_t& count, gate::Clock6& earliest,
                                    gate::Clock6& latest, gate::Byte& s, std::int32_t h) override;
    std::int32_t Acknowledge(gate::Byte& a, std::int32_t h) override;
    std::int32_t ReadTagData(gate::Byte& a, gate::Uid8& uid, gate::Byte startBlock,
                             gate::Byte blockCount, gate::Byte blockLength,
                             std::span<gate::Byte> data, gate::Byte& s, std::int32_t h) override;
    std::int32_t OpenIF2(std::int32_t comNumber) override;
    std::int32_t CloseIF2(std::int32_t comNumber) override;
    std::int32_t GetIF2Data(std::span<gate::Byte> buffer, std::int32_t& count) override;

    QString LastSystemError() const override { return systemError_; }
    void SetSystemError(const QString& e) { systemError_ = e; }

private:
    // Records the call and takes its reply; applies "a" and "s" when scripted.
    Reply Take(const QString& op, QVariantList args, gate::Byte* a, gate::Byte* s);

    QList<Call> calls_;
    QHash<QString, std::deque<Reply>> queued_;
    QHash<QString, Reply> defaults_;
    QString systemError_;
};

}  // namespace testing_support
