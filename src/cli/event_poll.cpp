#include "cli/event_poll.h"

#include "core/monitor/live_event.h"

#include <QJsonDocument>
#include <QRandomGenerator>

namespace cli {

namespace {

constexpr gate::Byte kNothingPending = 0xFF;
constexpr gate::Byte kRedLed = 0;

}  // namespace

EventPoll::EventPoll(gate::GateLibrary& library, gate::ConnectionState& connection, QString gate,
                     std::optional<std::array<gate::Byte, 6>> ledBuzzer, Sink sink)
    : library_(library),
      connection_(connection),
      gate_(std::move(gate)),
      ledBuzzer_(ledBuzzer),
      sink_(std::move(sink)),
      runId_(QString::number(QRandomGenerator::system()->generate64() & 0xFFFFFFFFFFFFull, 16)
                 .rightJustified(12, u'0')) {}

void EventPoll::Poll(bool easMode) {
    gate::ConnectionState& c = connection_;
    std::array<gate::Byte, gate::kMessageBufferSize> buffer{};
    gate::Byte length = 0;
    gate::Byte kind = 0;
    c.LastResult = easMode ? library_.GetEASMessage(c.ControllerAddress, buffer, length, kind,
                                                    c.ReplyStatus, c.PortHandle)
                           : library_.GetChannelMessage(c.ControllerAddress, buffer, length, kind,
                                                        c.ReplyStatus, c.PortHandle);
    if (c.LastResult != gate::result::kOk || (kind == kNothingPending && length == 0)) {
        return;
    }
    const monitor::MessageBody body = monitor::MessageBody::FromBuffer(buffer, length);
    const QString before = lastNoPerson_;
    monitor::LiveEventInput in =
        monitor::FetchedEventInput(gate_, easMode, kind, body, lastNoPerson_);
    in.id = QStringLiteral("%1-%2-%3").arg(runId_, gate_).arg(count_ + 1);
    const QJsonObject event = monitor::LiveEventObject(in);
    if (!sink_.write(QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact)))) {
        lastNoPerson_ = before;  // it comes again and must read the same then
        return;
    }
    ++count_;
    library_.Acknowledge(c.ControllerAddress, c.PortHandle);
    if (ledBuzzer_ && monitor::DrivesLampAndBuzzer(easMode, kind, body, before)) {
        const auto& v = *ledBuzzer_;
        gate::Byte status = 0;
        const std::int32_t r = library_.BuzzerAndLEDControl(
            c.ControllerAddress, v[0], v[1], v[2], v[3], v[4], v[5], kRedLed, status, c.PortHandle);
        if (r != gate::result::kOk) {
            sink_.note(QStringLiteral("the lamp-and-buzzer command failed (result %1)").arg(r));
        }
    }
}

}  // namespace cli
