#pragma once

#include "gate/acknowledgement_tracker.h"
#include "gate/com_port_table.h"
#include "gate/controller_identity.h"
#include "gate/gate_library.h"
#include "gate/link_target.h"
#include "gate/link_timing.h"
#include "gate/reconnect_schedule.h"
#include "gate/serial_link.h"
#include "gate/tcp_link.h"
#include "gate/transactor.h"

#include <memory>
#include <optional>

namespace gate {

// The gate library over the wire protocol of docs/wire-protocol.md, on one controller link at a
// time: a serial line (handle = COM number) or a module's TCP server (handle = IP port). Every
// call runs synchronously on the calling thread and is bounded: at most the write timeout plus
// the reply timeout (LinkTiming), so a dead link holds a call for well under a second. A call whose
// handle is not the open link's answers 48 without touching the line.
//
// Every open reads the controller's detailed identity (its serial number, see
// ControllerIdentity), and the identity of the USB adapter as the system reports it at that
// moment.
//
// A link that goes down by itself (a serial hang-up, a dropped TCP connection) is reopened by
// the calls that follow, at most once a second (ReconnectSchedule, ReopenLink); the calls in
// between answer 48 at once. A USB adapter that comes back under another device name is found
// by its serial number, vendor and product through the lister, when that identity was unique
// when it was opened. A reopened link counts as back only once the controller has answered the
// identity request with the serial number read at the open: until then the link is dropped
// again and tried later; another serial number closes it for good (LinkEvent::
// OtherController). A serial line to a controller without a serial number is not reopened at
// all (LinkEvent::NotReopened): nothing could prove that the line reaches the same controller.
// Closing or replacing the link by hand ends the tries.
//
// The reply status S is written from every valid reply; when no valid reply arrived (48, 49) it
// keeps its value.
//
// An Acknowledge whose reply was lost is repeated before the next GetChannelMessage,
// GetEASMessage or RetrieveEarliestRecord to the same link and controller (even after the link
// was closed and opened again), so what was shown is never delivered a second time; when the
// repeat gets no reply either, that fetch answers the repeat's result without being sent.
class WireGateLibrary final : public GateLibrary {
public:
    explicit WireGateLibrary(ComPortTable table, SerialDeviceLister lister = SystemSerialDevices,
                             ReconnectSchedule::Clock clock = ReconnectSchedule::SteadyClock(),
                             LinkTiming timing = {});

    const LinkTiming& Timing() const { return timing_; }

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

    QString LastSystemError() const override { return lastSystemError_; }
    void SetLinkObserver(LinkObserver observer) override { observer_ = std::move(observer); }

    // Takes over a link that is already open (one the caller built, such as an in-memory
    // link), as if an open had returned handle; an earlier link is closed.
    void AttachLink(std::unique_ptr<Link> link, std::int32_t handle);

    // Whether the controller link is open, and how many hang-ups the serial link has seen.
    bool IsLinkOpen() const { return link_ != nullptr && link_->IsOpen(); }
    int SerialHangUps() const;
    // Whether calls reopen a link that went down by itself (the default). Without it a lost
    // link stays down until it is opened again by hand, and its calls answer 48.
    void SetReconnecting(bool on) { reconnecting_ = on; }

    // Whether the link went down by itself and later calls try to reopen it.
    bool IsReconnecting() const {
        return reconnecting_ && schedule_.Current() == ReconnectSchedule::State::Down;
    }
    // Tries to reopen it since it went down.
    int ReopenTries() const { return schedule_.Tries(); }

    // The controller's identity read when the link was opened (or first proven after a reopen).
    const ControllerIdentity& Identity() const { return identity_; }
    // The serial link's request for low latency; NotAsked for a TCP link or none.
    LowLatency SerialLowLatency() const;
    // The serial device the link was opened on (with the adapter's identity when it is usable
    // for a reopen); nothing for a TCP link or none.
    std::optional<SerialDevice> SerialDeviceOpened() const;

    enum class Reopen {
        Restored,         // the same controller answers: calls go through again
        NotYet,           // could not be opened, or not proven yet: try again later
        OtherController,  // another controller answered: the link is closed
        NotReopenable,    // nothing to reopen (closed by hand), or a serial line whose
                          // controller has no serial number: the link is closed
    };
    // Reopens the link now, whatever the schedule says, and checks who answers with address a
    // (the calls' reopen uses this; a caller that reopens with its own back-off, with
    // SetReconnecting(false), calls it directly). An open link is closed first. The reason of
    // a failure is in LastSystemError. Takes at most reopenBudgetMs + writeMs + replyMs.
    Reopen TryReopen(Byte a);

private:
    // The link of the handle, reopened first when it went down and a try is due; nothing when
    // the handle is not the open link's or the link is (still) down.
    Link* LinkFor(std::int32_t handle, Byte a);
    // Marks the link as lost when it went down by itself; a serial line that cannot be proven
    // to reach the same controller again is ended there.
    void NoteLoss();
    // Whether a lost link may be reopened without the operator.
    bool CanReopenByItself() const;
    // Reads the controller's identity on the link just opened.
    void ReadIdentity(Byte a);
    // Closes the link on the library's own decision and tells the observer why.
    void EndLink(LinkEvent why);
    void Notify(LinkEvent event);
    // Keeps the newly opened link and what it takes to reopen it.
    void Adopt(std::unique_ptr<Link> link, std::int32_t handle, std::optional<LinkTarget> target);
    void CloseLink();
    std::unique_ptr<SerialLink> OpenSerial(std::int32_t comNumber);
    // What it takes to reopen the serial device of a COM number.
    LinkTarget SerialTarget(std::int32_t comNumber) const;

    // One request on the link of handle h; S takes the reply's status when one arrived. A reply
    // from alsoFrom is taken as well as one from a (see wire::Transactor).
    wire::Exchange Call(std::int32_t h, Byte a, wire::Command command, Byte& s,
                        const QByteArray& payload = {},
                        std::optional<wire::LengthRule> replyLength = std::nullopt,
                        std::optional<Byte> alsoFrom = std::nullopt);
    // The fetches share their reply layout. A fetch that delivers (one an Acknowledge deletes)
    // first repeats a lost acknowledgement.
    std::int32_t Fetch(std::int32_t h, Byte a, wire::Command command, const QByteArray& payload,
                       std::span<Byte> buffer, Byte& length, Byte& kind, Byte& s,
                       bool delivers = true);
    // Sends an Acknowledge and notes whether its reply came back.
    wire::Exchange SendAcknowledge(std::int32_t h, Byte a);
    // Repeats a lost acknowledgement to this link and controller; 0, or the repeat's result
    // when it was lost again.
    std::int32_t ResolveAcknowledgement(std::int32_t h, Byte a);
    // The link of handle h and controller a, as the tracker knows them.
    AcknowledgementTracker::Destination AckDestination(std::int32_t h, Byte a) const;
    // The switch operations: one request byte out, the setting back in it.
    std::int32_t ExchangeByte(std::int32_t h, Byte a, wire::Command command, Byte& value, Byte& s);

    ComPortTable table_;
    SerialDeviceLister lister_;
    std::unique_ptr<Link> link_;
    SerialLink* serial_ = nullptr;  // link_ when it is a serial line
    std::int32_t handle_ = -1;
    std::optional<LinkTarget> target_;  // how to reopen link_ after a loss
    ControllerIdentity identity_;       // who answered on link_ when it was opened
    LinkTiming timing_;
    ReconnectSchedule schedule_;
    bool reconnecting_ = true;
    LinkObserver observer_;
    wire::Transactor transactor_;
    AcknowledgementTracker acknowledgements_;

    std::unique_ptr<SerialLink> if2_;
    std::int32_t if2Com_ = -1;

    QString lastSystemError_;
};

}  // namespace gate
