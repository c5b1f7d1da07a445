#pragma once

#include "controller_state.h"
#include "message_queue.h"
#include "record_log.h"

#include "gate/wire_frame.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace sim {

// The gate controller: its whole state and its answer to each request. Handle() is pure state
// manipulation without I/O or threads; the servers call it under their own lock.
class ControllerModel {
public:
    ControllerModel();

    // Whether the request is for this controller: its own address or the broadcast address.
    bool Addressed(const gate::wire::Request& request) const;
    // The reply to a request, or nothing when the request is for another address.
    std::optional<gate::wire::Reply> Handle(const gate::wire::Request& request);

    // How many requests of a command this controller handled, sent to its own address and to
    // the broadcast address: tests see where a tool sends its writes.
    struct RequestCount {
        int own = 0;
        int broadcast = 0;
    };
    RequestCount RequestsOf(Byte command) const { return requests_[command]; }

    // Events as the controller produces them. ChannelEvent queues a channel-mode live message
    // and, with record writing on, stores the matching record (without tag data).
    void PushChannelMessage(Byte kind, QByteArray body);
    void PushEasMessage(Byte kind, QByteArray body);
    void AppendRecord(Byte kind, QByteArray body);
    void ChannelEvent(Byte kind, const QByteArray& body);

    // Bytes for the IF2 output line, taken by whoever writes that line. Bounded: the oldest
    // bytes go when nobody reads them.
    void EmitIf2(const QByteArray& bytes);
    QByteArray TakeIf2Output();

    // The running clock.
    Clock6 Now() const;
    QDateTime NowDateTime() const;
    bool SetClock(const Clock6& clock);
    // Milliseconds of a monotonic source; tests substitute their own.
    void SetTimeSource(std::function<std::int64_t()> monotonicMs);

    // Power cycle: live queues are emptied and, with automatic loading on, the saved
    // configuration becomes the live one.
    void Restart();

    // Tag memory read by ReadTagData: registered contents, or a pattern derived from the UID.
    void SetTagMemory(const Uid8& uid, const QByteArray& blocks4);
    QByteArray TagBlocks(const Uid8& uid, int start, int count, int length) const;

    // Where relay, LED and buzzer actions and state changes are reported (for --log).
    void SetLogSink(std::function<void(const QString&)> sink) { logSink_ = std::move(sink); }
    void Note(const QString& line) const { Log(line); }

    ControllerState& State() { return state_; }
    const ControllerState& State() const { return state_; }
    RecordLog& Records() { return records_; }
    const RecordLog& Records() const { return records_; }
    MessageQueue& ChannelQueue() { return channel_; }
    MessageQueue& EasQueue() { return eas_; }
    Byte FillStatus() const { return records_.FillStatus(state_.Policy()); }

private:
    struct Outcome {
        Byte result = 0;
        QByteArray payload;
    };
    static Outcome Ok(QByteArray payload = {}) { return Outcome{0, std::move(payload)}; }
    static Outcome Fail(Byte code) { return Outcome{code, {}}; }

    Outcome Dispatch(Byte command, const QByteArray& p);
    void Log(const QString& line) const;

    // Identity, mode and device commands.
    Outcome GetInfo(const QByteArray& p, bool detailed);
    Outcome SwitchMode(const QByteArray& p);
    Outcome ClearBuffer(const QByteArray& p);
    Outcome DeleteAllRecords(const QByteArray& p);
    Outcome Relay(const QByteArray& p);
    Outcome BuzzerAndLed(const QByteArray& p);
    Outcome SetClockCommand(const QByteArray& p);
    Outcome GetClock(const QByteArray& p);
    Outcome SetIr(const QByteArray& p);
    Outcome GetIrStatus(const QByteArray& p);
    Outcome GetRecordingStatus(const QByteArray& p);
    Outcome GetReaderStatus(const QByteArray& p);

    // Configuration and switches.
    Outcome Configure(const QByteArray& p);
    Outcome GetConfig(const QByteArray& p);
    Outcome Correlation(const QByteArray& p);
    Outcome TagDataSetting(const QByteArray& p);
    Outcome Address(const QByteArray& p);
    Outcome Switch(const QByteArray& p, Byte& setting);
    Outcome SetRecording(const QByteArray& p);
    Outcome SaveRestore(const QByteArray& p);
    Outcome AutoLoad(const QByteArray& p);
    Outcome AlarmMask(const QByteArray& p);
    Outcome AlarmPattern(const QByteArray& p);

    // Messages, records and tag data.
    Outcome FetchLive(const QByteArray& p, Mode mode);
    Outcome FetchEarliest(const QByteArray& p);
    Outcome FetchByIndex(const QByteArray& p);
    Outcome LogStatus(const QByteArray& p);
    Outcome Acknowledge(const QByteArray& p);
    Outcome ReadTagData(const QByteArray& p);

    enum class Delivered { Nothing, ChannelMessage, EasMessage, Record };

    ControllerState state_;
    RecordLog records_;
    MessageQueue channel_;
    MessageQueue eas_;
    Delivered delivered_ = Delivered::Nothing;
    std::uint64_t deliveredId_ = 0;
    QByteArray if2Out_;
    std::map<Uid8, QByteArray> tagMemory_;
    std::function<std::int64_t()> monotonicMs_;
    QDateTime clockBase_;
    std::int64_t clockBaseMs_ = 0;
    std::function<void(const QString&)> logSink_;
    std::array<RequestCount, 256> requests_{};
};

// Six clock bytes as a date and time of this century; invalid when any field is out of range.
QDateTime ClockToDateTime(const Clock6& c);
Clock6 DateTimeToClock(const QDateTime& t);

}  // namespace sim
