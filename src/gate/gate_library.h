#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace gate {

using Byte = std::uint8_t;
using Clock6 = std::array<Byte, 6>;  // year within the century, month, day, hour, minute, second
using Uid8 = std::array<Byte, 8>;

// Result codes of the gate library. The controller's own codes (5 to 15, 33, 34) pass through
// unchanged; the library adds its own for link and reply faults.
namespace result {
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kNoRecord = 5;
constexpr std::int32_t kSelfTest = 6;
constexpr std::int32_t kIndexOutOfRange = 7;
constexpr std::int32_t kInvalidCommand = 8;
constexpr std::int32_t kWrongMode = 9;
constexpr std::int32_t kForcedEas = 11;
constexpr std::int32_t kCommError = 48;
constexpr std::int32_t kCrcError = 49;
constexpr std::int32_t kLengthError = 50;
constexpr std::int32_t kBusy = 51;
}  // namespace result

// Handle ranges: a serial connection's handle is its COM number, a network connection's its IP
// port.
constexpr bool IsSerialHandle(std::int32_t h) {
    return h >= 1 && h <= 255;
}
constexpr bool IsNetworkHandle(std::int32_t h) {
    return h >= 1025 && h <= 65534;
}

// Buffer sizes the console passes.
constexpr int kMessageBufferSize = 47;
constexpr int kRecordBufferSize = 17;
constexpr int kIF2BufferSize = 4097;
constexpr int kAlarmMaskReplySize = 46;
constexpr int kAlarmPatternSize = 45;
constexpr int kConfigSize = 8;

// What happens to an open controller link without the caller closing it.
enum class LinkEvent {
    Lost,      // it went down (hang-up, dropped connection); later calls try to reopen it
    Restored,  // a later call reopened it and the same controller answered; calls succeed again
    Ended,     // it was closed or replaced by hand while down: no more tries
    // The library closed the link itself; the caller should take it as closed and say why
    // (LastSystemError tells it):
    OtherController,  // a reopened link reached a controller with another serial number
    NotReopened,      // it went down, and the controller has no serial number that could prove
                      // a reopened serial line reaches the same one: the operator reopens it
};
using LinkObserver = std::function<void(LinkEvent)>;

// The 40 operations of the gate controller library. Argument order and by-reference outputs
// follow the controller library that the console was written against: the address A first (by
// reference), the reply status S filled on every call, the handle H last. Results are codes,
// never exceptions. Buffers are spans: the library never writes past their size.
class GateLibrary {
public:
    virtual ~GateLibrary() = default;

    // Connection.
    virtual std::int32_t OpenComPort(std::int32_t comNumber, Byte& a, std::int32_t& handle) = 0;
    virtual std::int32_t AutoOpenComPort(std::int32_t& foundPort, Byte& a,
                                         std::int32_t& handle) = 0;
    virtual std::int32_t CloseComPort() = 0;
    virtual std::int32_t OpenNetPort(std::int32_t ipPort, const QString& address, Byte& a,
                                     std::int32_t& handle) = 0;
    virtual std::int32_t CloseNetPort(std::int32_t ipPort) = 0;

    // Identity and mode.
    virtual std::int32_t GetControllerInfo(Byte& a, Byte& product, Byte& major, Byte& minor,
                                           Byte& s, std::int32_t h) = 0;
    virtual std::int32_t GetControllerDetailedInfo(Byte& a, Byte& product, Byte& major, Byte& minor,
                                                   std::array<Byte, 4>& serial, Byte& s,
                                                   std::int32_t h) = 0;
    // mode: 0 reads, 0x80 channel management, 0x81 EAS; comes back 0, 1, or with bit 1 set
    // when EAS is forced.
    virtual std::int32_t ModeSwitch(Byte& a, Byte& mode, Byte& s, std::int32_t h) = 0;

    // Device commands.
    virtual std::int32_t ClearControllerBuffer(Byte& a, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t DeleteAllRecord(Byte& a, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t SetRelay(Byte& a, std::int32_t pullInTime100ms, Byte& s,
                                  std::int32_t h) = 0;
    virtual std::int32_t BuzzerAndLEDControl(Byte& a, Byte buzzerOn, Byte buzzerOff, Byte beepCount,
                                             Byte ledOn, Byte ledOff, Byte flashCount,
                                             Byte ledColour, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t SetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t GetClock(Byte& a, Clock6& clock, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t SetIR(Byte& a, Byte offOrOn, Byte& s, std::int32_t h) = 0;  // 1 off, 2 on
    virtual std::int32_t GetIRStatus(Byte& a, Byte& status, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t GetBGLogDataRecordingStatus(Byte& a, Byte& status, Byte& s,
                                                     std::int32_t h) = 0;
    virtual std::int32_t GetControllerReaderConnectionStatus(Byte& a, Byte& link, Byte& rfField,
                                                             Byte& s, std::int32_t h) = 0;

    // Configuration.
    virtual std::int32_t ConfigureController(Byte& a, Byte b0, Byte b1, Byte b2, Byte b3, Byte b4,
                                             Byte b5, Byte b6, Byte b7, Byte& s,
                                             std::int32_t h) = 0;
    virtual std::int32_t GetControllerConfig(Byte& a, Byte& b0, Byte& b1, Byte& b2, Byte& b3,
                                             Byte& b4, Byte& b5, Byte& b6, Byte& b7, Byte& s,
                                             std::int32_t h) = 0;
    virtual std::int32_t TagPersonCorrelation(Byte& a, Byte& control, Byte& lead, Byte& lag,
                                              Byte& s, std::int32_t h) = 0;
    virtual std::int32_t ReadTagDataSetting(Byte& a, Byte& control, Byte& repeat, Byte& startBlock,
                                            Byte& blockCount, Byte& s, std::int32_t h) = 0;
    // writeOrRead: 1 writes newAddress, 0 reads (the address comes back in a).
    virtual std::int32_t SetControllerAddr(Byte& a, Byte writeOrRead, Byte newAddress, Byte& s,
                                           std::int32_t h) = 0;

    // Mode and option switches: request byte 0 reads, 0x80 plus the value writes; the current
    // setting comes back in it.
    virtual std::int32_t IRDirectionSetting(Byte& a, Byte& request, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t ControllerReaderConnectionBrokenAlarm(Byte& a, Byte& request, Byte& s,
                                                               std::int32_t h) = 0;
    virtual std::int32_t SetBGLogDataStatus(Byte& a, Byte& offOrOn, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t SaveRestoreConfig(Byte& a, Byte saveOrRestore, Byte& s,
                                           std::int32_t h) = 0;
    virtual std::int32_t SetAutoLoad(Byte& a, Byte enable, Byte& s, std::int32_t h) = 0;

    // Alarms.
    virtual std::int32_t SetAlarmMask(Byte& a, Byte mask,
                                      std::array<Byte, kAlarmMaskReplySize>& reply, Byte& s,
                                      std::int32_t h) = 0;
    virtual std::int32_t SetAlarmPattern(Byte& a, std::array<Byte, kAlarmPatternSize>& pattern,
                                         Byte& s, std::int32_t h) = 0;

    // Live messages and stored records: the body goes to buffer (never past its size), its
    // valid length to length, its kind to kind.
    virtual std::int32_t GetChannelMessage(Byte& a, std::span<Byte> buffer, Byte& length,
                                           Byte& kind, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t GetEASMessage(Byte& a, std::span<Byte> buffer, Byte& length, Byte& kind,
                                       Byte& s, std::int32_t h) = 0;
    virtual std::int32_t RetrieveEarliestRecord(Byte& a, std::span<Byte> buffer, Byte& length,
                                                Byte& kind, Byte& s, std::int32_t h) = 0;
    virtual std::int32_t RetrieveRecordByIndex(Byte& a, std::int32_t index, std::span<Byte> buffer,
                                               Byte& length, Byte& kind, Byte& s,
                                               std::int32_t h) = 0;
    virtual std::int32_t GetBGLogDataStatus(Byte& a, std::int32_t& count, Clock6& earliest,
                                            Clock6& latest, Byte& s, std::int32_t h) = 0;
    // Deletes what the last fetch delivered: a live message or the earliest record.
    virtual std::int32_t Acknowledge(Byte& a, std::int32_t h) = 0;

    // Tag memory: blockCount blocks of blockLength bytes, each preceded by one leading byte.
    virtual std::int32_t ReadTagData(Byte& a, Uid8& uid, Byte startBlock, Byte blockCount,
                                     Byte blockLength, std::span<Byte> data, Byte& s,
                                     std::int32_t h) = 0;

    // The second input (IF2): a raw byte stream on its own serial port.
    virtual std::int32_t OpenIF2(std::int32_t comNumber) = 0;
    virtual std::int32_t CloseIF2(std::int32_t comNumber) = 0;
    virtual std::int32_t GetIF2Data(std::span<Byte> buffer, std::int32_t& count) = 0;

    // Why the operating system refused the last device open (for example missing permission);
    // empty when it did not. Shown beside the communication-error message.
    virtual QString LastSystemError() const { return {}; }

    // Told when the controller link goes down by itself and when a later call brought it back;
    // the console shows it in the status bar. Called on the thread that makes the calls, from
    // inside a call. A library without links of its own never calls it.
    virtual void SetLinkObserver(LinkObserver observer) { static_cast<void>(observer); }
};

}  // namespace gate
