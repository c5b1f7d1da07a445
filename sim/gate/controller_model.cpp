#include "controller_model.h"

#include "result_codes.h"

#include "gate/wire_commands.h"

#include <QElapsedTimer>

namespace sim {

namespace {

constexpr int kIf2Limit = 64 * 1024;

std::int64_t SteadyMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

}  // namespace

QDateTime ClockToDateTime(const Clock6& c) {
    if (c[0] > 99) {
        return {};
    }
    const QDate date(2000 + c[0], c[1], c[2]);
    const QTime time(c[3], c[4], c[5]);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time);
}

Clock6 DateTimeToClock(const QDateTime& t) {
    const QDate d = t.date();
    const QTime tm = t.time();
    return Clock6{static_cast<Byte>(d.year() % 100), static_cast<Byte>(d.month()),
                  static_cast<Byte>(d.day()),        static_cast<Byte>(tm.hour()),
                  static_cast<Byte>(tm.minute()),    static_cast<Byte>(tm.second())};
}

ControllerModel::ControllerModel() : monotonicMs_(SteadyMs) {
    state_.saved = state_.live;
    clockBase_ = QDateTime::currentDateTime();
    clockBase_.setTimeSpec(Qt::LocalTime);
    clockBaseMs_ = monotonicMs_();
}

bool ControllerModel::Addressed(const gate::wire::Request& request) const {
    return request.address == state_.address || request.address == gate::wire::kBroadcastAddress;
}

std::optional<gate::wire::Reply> ControllerModel::Handle(const gate::wire::Request& request) {
    if (!Addressed(request)) {
        return std::nullopt;
    }
    RequestCount& count = requests_[request.command];
    ++(request.address == gate::wire::kBroadcastAddress ? count.broadcast : count.own);
    Outcome out = Dispatch(request.command, request.payload);
    gate::wire::Reply reply;
    reply.address = state_.address;  // after the command, so an address change answers as new
    reply.command = request.command;
    reply.sequence = request.sequence;
    reply.result = out.result;
    reply.status = FillStatus();
    if (out.result == 0) {
        reply.payload = std::move(out.payload);
    }
    return reply;
}

ControllerModel::Outcome ControllerModel::Dispatch(Byte command, const QByteArray& p) {
    using gate::wire::Command;
    switch (static_cast<Command>(command)) {
        case Command::GetControllerInfo:
            return GetInfo(p, false);
        case Command::GetControllerDetailedInfo:
            return GetInfo(p, true);
        case Command::ModeSwitch:
            return SwitchMode(p);
        case Command::ClearControllerBuffer:
            return ClearBuffer(p);
        case Command::DeleteAllRecord:
            return DeleteAllRecords(p);
        case Command::SetRelay:
            return Relay(p);
        case Command::BuzzerAndLEDControl:
            return BuzzerAndLed(p);
        case Command::SetClock:
            return SetClockCommand(p);
        case Command::GetClock:
            return GetClock(p);
        case Command::SetIR:
            return SetIr(p);
        case Command::GetIRStatus:
            return GetIrStatus(p);
        case Command::GetBGLogDataRecordingStatus:
            return GetRecordingStatus(p);
        case Command::GetControllerReaderConnectionStatus:
            return GetReaderStatus(p);
        case Command::ConfigureController:
            return Configure(p);
        case Command::GetControllerConfig:
            return GetConfig(p);
        case Command::TagPersonCorrelation:
            return Correlation(p);
        case Command::ReadTagDataSetting:
            return TagDataSetting(p);
        case Command::SetControllerAddr:
            return Address(p);
        case Command::IRDirectionSetting:
            return Switch(p, state_.live.irDirection);
        case Command::ControllerReaderConnectionBrokenAlarm:
            return Switch(p, state_.live.readerLossAlarm);
        case Command::SetBGLogDataStatus:
            return SetRecording(p);
        case Command::SaveRestoreConfig:
            return SaveRestore(p);
        case Command::SetAutoLoad:
            return AutoLoad(p);
        case Command::SetAlarmMask:
            return AlarmMask(p);
        case Command::SetAlarmPattern:
            return AlarmPattern(p);
        case Command::GetChannelMessage:
            return FetchLive(p, Mode::Channel);
        case Command::GetEASMessage:
            return FetchLive(p, Mode::Eas);
        case Command::RetrieveEarliestRecord:
            return FetchEarliest(p);
        case Command::RetrieveRecordByIndex:
            return FetchByIndex(p);
        case Command::GetBGLogDataStatus:
            return LogStatus(p);
        case Command::Acknowledge:
            return Acknowledge(p);
        case Command::ReadTagData:
            return ReadTagData(p);
    }
    return Fail(code::kInvalidCommand);
}

void ControllerModel::Log(const QString& line) const {
    if (logSink_) {
        logSink_(line);
    }
}

void ControllerModel::PushChannelMessage(Byte kind, QByteArray body) {
    channel_.Push(kind, std::move(body));
}

void ControllerModel::PushEasMessage(Byte kind, QByteArray body) {
    eas_.Push(kind, std::move(body));
}

void ControllerModel::AppendRecord(Byte kind, QByteArray body) {
    if (!state_.live.recordWriting) {
        return;
    }
    records_.Append(kind, std::move(body), state_.Policy());
}

void ControllerModel::ChannelEvent(Byte kind, const QByteArray& body) {
    PushChannelMessage(kind, body);
    // A stored record has the message's fixed fields only: no tag data, no data flag.
    switch (kind) {
        case 0:
            AppendRecord(kind, body.left(15));
            break;
        case 2:
            AppendRecord(kind, body.left(14));
            break;
        case 1:
        case 3:
        case 4:
            AppendRecord(kind, body);
            break;
        default:
            break;
    }
}

void ControllerModel::EmitIf2(const QByteArray& bytes) {
    if2Out_.append(bytes);
    if (if2Out_.size() > kIf2Limit) {
        if2Out_.remove(0, if2Out_.size() - kIf2Limit);
    }
}

QByteArray ControllerModel::TakeIf2Output() {
    QByteArray out;
    out.swap(if2Out_);
    return out;
}

void ControllerModel::SetTimeSource(std::function<std::int64_t()> monotonicMs) {
    const QDateTime now = NowDateTime();
    monotonicMs_ = std::move(monotonicMs);
    clockBase_ = now;
    clockBaseMs_ = monotonicMs_();
}

QDateTime ControllerModel::NowDateTime() const {
    return clockBase_.addMSecs(monotonicMs_() - clockBaseMs_);
}

Clock6 ControllerModel::Now() const {
    return DateTimeToClock(NowDateTime());
}

bool ControllerModel::SetClock(const Clock6& clock) {
    const QDateTime t = ClockToDateTime(clock);
    if (!t.isValid()) {
        return false;
    }
    clockBase_ = t;
    clockBaseMs_ = monotonicMs_();
    return true;
}

void ControllerModel::Restart() {
    channel_.Clear();
    eas_.Clear();
    delivered_ = Delivered::Nothing;
    if (state_.autoLoad) {
        state_.live = state_.saved;
    }
    Log(QStringLiteral("restart%1")
            .arg(state_.autoLoad ? QStringLiteral(", saved configuration loaded") : QString()));
}

}  // namespace sim
