#include "bridge/link_worker.h"

#include "bridge/results.h"

#include "core/commands/clock_time.h"
#include "core/monitor/live_event.h"
#include "core/records/log_state.h"
#include "core/records/record_fields.h"
#include "gate/wire_gate_library.h"
#include "util/conversions.h"

#include <QJsonDocument>
#include <QThread>

#include <algorithm>

namespace bridge {

namespace {

constexpr int kFirstBackoffMs = 500;
constexpr int kMaxBackoffMs = 5000;
constexpr int kSilentAfterFailures = 2;
constexpr int kRetrySilentMs = 1000;
constexpr int kStateRefreshMs = 30000;
constexpr gate::Byte kNothingPending = 0xFF;
constexpr gate::Byte kRedLed = 0;
constexpr int kMaxAckRefusals = 5;

QString Hex2(gate::Byte b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

LinkWorker::LinkWorker(QList<GateConfig> gates, QString base, Spool& spool, WorkerSink& sink)
    : base_(std::move(base)), spool_(spool), sink_(sink) {
    for (GateConfig& c : gates) {
        Gate g;
        g.config = std::move(c);
        g.ackPending = spool_.AckPending(g.config.name);
        gates_.append(std::move(g));
    }
    progressMs_ = Now();
}

LinkWorker::~LinkWorker() = default;

QString LinkWorker::Describe() const {
    return gates_.constFirst().config.DescribeLink();
}

qint64 LinkWorker::Now() const {
    static const gate::ReconnectSchedule::Clock clock = gate::ReconnectSchedule::SteadyClock();
    return clock();
}

void LinkWorker::Sleep(qint64 ms) {
    // In short steps, so that a stop is seen within 50 ms.
    const qint64 until = Now() + std::max<qint64>(ms, 1);
    while (!stop_ && Now() < until) {
        progressMs_ = Now();
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(until - Now(), 50)));
    }
}

void LinkWorker::CountFailure(const Gate& g, std::int32_t result) {
    if (metrics_ != nullptr) {
        metrics_->RequestFailed(g.config.name, result);
    }
}

void LinkWorker::Run() {
    for (Gate& g : gates_) {
        g.state = QJsonObject{{QStringLiteral("link"), QStringLiteral("down")}};
        PublishState(g);
    }
    while (!stop_) {
        progressMs_ = Now();
        if (!linkUp_) {
            if (Now() < nextOpenMs_) {
                Sleep(nextOpenMs_ - Now());
                continue;
            }
            if (!OpenLink()) {
                backoffMs_ =
                    backoffMs_ == 0 ? kFirstBackoffMs : std::min(backoffMs_ * 2, kMaxBackoffMs);
                nextOpenMs_ = Now() + backoffMs_;
                continue;
            }
        }
        qint64 wake = Now() + 50;
        for (Gate& g : gates_) {
            if (stop_ || !linkUp_) {
                break;
            }
            library_.SetGate(g.config.name);
            const qint64 now = Now();
            if (!g.up) {
                if (now >= g.retryMs && !Identify(g)) {
                    g.retryMs = Now() + kRetrySilentMs;
                }
                wake = std::min(wake, g.retryMs);
                continue;
            }
            if (now >= g.nextStateMs) {
                ReadState(g);
            }
            if (g.up && now >= g.nextPollMs) {
                switch (Poll(g)) {
                    case Outcome::Delivered:
                        g.nextPollMs = 0;
                        break;
                    case Outcome::Idle:
                        g.nextPollMs = Now() + g.config.pollMs;
                        break;
                    case Outcome::Failed:
                        Failed(g);
                        g.nextPollMs = Now() + g.config.pollMs;
                        break;
                }
            }
            // Between polls, never while an acknowledgement is unresolved: the record
            // deletion's own fetch-and-acknowledge must not meet a live one.
            if (g.up && !g.ackPending && g.chores && RunChores(g)) {
                wake = Now();
            }
            if (g.up) {
                wake = std::min(wake, g.nextPollMs);
            }
        }
        if (linkUp_ && wake > Now()) {
            Sleep(wake - Now());
        }
    }
    for (Gate& g : gates_) {
        if (g.up) {
            g.up = false;
            sink_.Availability(g.config.name, false);
        }
    }
    CloseLink();
}

bool LinkWorker::OpenLink() {
    const GateConfig& first = gates_.constFirst().config;
    gate::ComPortTable table;
    if (first.linkKind == GateConfig::LinkKind::Serial) {
        table = gate::ComPortTable(QMap<int, QString>{{1, first.serialPath}});
    } else if (first.linkKind == GateConfig::LinkKind::UsbSerial) {
        // The adapter of that USB serial number, only when exactly one present port has it.
        QList<gate::SerialDevice> found;
        for (const gate::SerialDevice& d : gate::SystemSerialDevices()) {
            if (d.serialNumber == first.usbSerial) {
                found.append(d);
            }
        }
        if (found.size() != 1) {
            const QString why =
                found.isEmpty()
                    ? QStringLiteral("no adapter with USB serial number %1").arg(first.usbSerial)
                    : QStringLiteral("%1 adapters with USB serial number %2; refusing to guess")
                          .arg(found.size())
                          .arg(first.usbSerial);
            if (why != lastOpenError_) {
                sink_.Log(QStringLiteral("%1: %2").arg(first.DescribeLink(), why));
                lastOpenError_ = why;
            }
            return false;
        }
        table.SetDevice(1, found.constFirst());
    }
    library_ = std::make_unique<gate::WireGateLibrary>(table);
    library_.get()->SetReconnecting(false);
    link_ = gate::ConnectionState{};
    std::int32_t r = 0;
    if (first.linkKind == GateConfig::LinkKind::Tcp) {
        r = library_.get()->OpenNetPort(first.tcpPort, first.tcpHost, link_.ControllerAddress,
                                        link_.PortHandle);
    } else {
        r = library_.get()->OpenComPort(1, link_.ControllerAddress, link_.PortHandle);
    }
    if (r != gate::result::kOk) {
        const QString why = library_.get()->LastSystemError().isEmpty()
                                ? QStringLiteral("result %1").arg(r)
                                : library_.get()->LastSystemError();
        if (why != lastOpenError_) {
            sink_.Log(QStringLiteral("%1: cannot open: %2").arg(first.DescribeLink(), why));
            lastOpenError_ = why;
        }
        library_.reset();
        return false;
    }
    lastOpenError_.clear();
    linkUp_ = true;
    if (everOpened_ && metrics_ != nullptr) {
        for (const Gate& g : gates_) {
            metrics_->LinkReconnected(g.config.name);
        }
    }
    everOpened_ = true;
    for (Gate& g : gates_) {
        g.up = false;
        g.retryMs = 0;
    }
    return true;
}

void LinkWorker::CloseLink() {
    if (library_) {
        if (gates_.constFirst().config.linkKind == GateConfig::LinkKind::Tcp) {
            library_.get()->CloseNetPort(link_.PortHandle);
        } else {
            library_.get()->CloseComPort();
        }
        library_.reset();
    }
    linkUp_ = false;
}

void LinkWorker::LinkDown(const QString& why) {
    for (Gate& g : gates_) {
        GateDown(g, why);
    }
    CloseLink();
    nextOpenMs_ = Now() + backoffMs_;
}

void LinkWorker::GateDown(Gate& g, const QString& why) {
    g.failures = 0;
    g.retryMs = Now() + kRetrySilentMs;
    if (!g.up) {
        return;
    }
    g.up = false;
    if (g.chores) {
        if (const auto ended = g.chores->Abort(why)) {
            sink_.RecordsCollected(g.config.name, *ended);
        }
    }
    sink_.Log(QStringLiteral("%1: down (%2)").arg(g.config.name, why));
    sink_.Availability(g.config.name, false);
    g.state.insert(QStringLiteral("link"), QStringLiteral("down"));
    PublishState(g);
}

void LinkWorker::Failed(Gate& g) {
    if (!library_ || !library_.get()->IsLinkOpen()) {
        LinkDown(QStringLiteral("link lost"));
        return;
    }
    if (++g.failures >= kSilentAfterFailures) {
        GateDown(g, QStringLiteral("controller not answering"));
    }
}

bool LinkWorker::Identify(Gate& g) {
    gate::Byte s = 0;
    // The controller's own address: everything that deletes or writes goes to it. On a shared
    // line the configured address asks exactly one controller.
    gate::Byte a = g.config.address;
    std::int32_t r = library_->SetControllerAddr(a, 0, 0, s, link_.PortHandle);
    if (r == gate::result::kOk) {
        g.address = a;
        gate::Byte mode = 0;
        r = library_->ModeSwitch(a, mode, s, link_.PortHandle);
        g.eas = mode != 0;
    }
    gate::Byte product = 0, major = 0, minor = 0;
    std::array<gate::Byte, 4> serial{};
    if (r == gate::result::kOk) {
        r = library_->GetControllerDetailedInfo(a, product, major, minor, serial, s,
                                                link_.PortHandle);
    }
    if (r != gate::result::kOk) {
        CountFailure(g, r);
        if (IsCommunication(r) && !library_.get()->IsLinkOpen()) {
            LinkDown(QStringLiteral("link lost"));
        }
        return false;
    }
    const QString serialText = util::BytesToHex(QByteArray(
        reinterpret_cast<const char*>(serial.data()), static_cast<qsizetype>(serial.size())));
    // A serial line may come back on another adapter: the controller must be the same one.
    if (g.config.linkKind != GateConfig::LinkKind::Tcp && g.serialNumber &&
        *g.serialNumber != serialText) {
        sink_.Log(QStringLiteral("%1: a controller with serial number %2 answers, not %3; not "
                                 "polling it")
                      .arg(g.config.name, serialText, *g.serialNumber));
        return false;
    }
    g.serialNumber = serialText;
    g.up = true;
    g.failures = 0;
    g.nextPollMs = 0;
    backoffMs_ = 0;  // the link counts as restored after its first whole reply
    g.state = QJsonObject{
        {QStringLiteral("mode"), g.eas ? QStringLiteral("eas") : QStringLiteral("channel")},
        {QStringLiteral("link"), QStringLiteral("up")},
        {QStringLiteral("address"), Hex2(g.address)},
        {QStringLiteral("product"), Hex2(product)},
        {QStringLiteral("serial"), serialText},
        {QStringLiteral("version"),
         QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'))},
    };
    sink_.Log(QStringLiteral("%1: up (%2, address %3, %4 mode)")
                  .arg(g.config.name, g.config.DescribeLink(), Hex2(g.address),
                       g.eas ? QStringLiteral("EAS") : QStringLiteral("channel")));
    sink_.Availability(g.config.name, true);
    ReadState(g);
    return true;
}

void LinkWorker::ReadState(Gate& g) {
    g.nextStateMs = Now() + kStateRefreshMs;
    gate::Byte a = g.address, s = 0, readerLink = 0, rf = 0;
    const std::int32_t h = link_.PortHandle;
    if (library_->GetControllerReaderConnectionStatus(a, readerLink, rf, s, h) ==
        gate::result::kOk) {
        g.state.insert(QStringLiteral("reader"), QJsonObject{{QStringLiteral("link"), readerLink},
                                                             {QStringLiteral("rf_field"), rf}});
    }
    // The count is believed only within the limit a log can hold, as everywhere records are
    // read; a corrupt one leaves no record state rather than a wrong one.
    std::int32_t count = 0;
    gate::Clock6 earliest{}, latest{};
    const std::int32_t r = library_->GetBGLogDataStatus(a, count, earliest, latest, s, h);
    const records::LogState log = records::LogStateOfReply(r, count, earliest, latest);
    if (records::LogState::Usable(r, log)) {
        const auto timeOf = [&log](const gate::Clock6& c) {
            return log.count > 0 ? QJsonValue(records::IsoTimeText(c)) : QJsonValue();
        };
        g.state.insert(QStringLiteral("records"),
                       QJsonObject{{QStringLiteral("count"), log.count},
                                   {QStringLiteral("earliest"), timeOf(log.earliest)},
                                   {QStringLiteral("latest"), timeOf(log.latest)},
                                   {QStringLiteral("fill"), s}});
    } else if (log.countOutOfRange) {
        g.state.remove(QStringLiteral("records"));
    }
    gate::Clock6 clock{};
    if (library_->GetClock(a, clock, s, h) == gate::result::kOk) {
        const std::optional<qint64> drift =
            commands::ClockDriftSeconds(clock, QDateTime::currentDateTime());
        g.state.insert(QStringLiteral("clock_drift_s"), drift ? QJsonValue(*drift) : QJsonValue());
    }
    PublishState(g);
}

void LinkWorker::EnableChores(const QString& stateDir, const HostClock& host,
                              const QDateTime& start) {
    for (Gate& g : gates_) {
        auto chores = std::make_shared<GateChores>(g.config, stateDir, host, start);
        if (chores->Any()) {
            g.chores = chores;
        }
    }
}

bool LinkWorker::RunChores(Gate& g) {
    const GateChores::Turn turn = g.chores->Advance(*library_.get(), g.address, link_.PortHandle,
                                                    QDateTime::currentDateTime());
    if (turn.records) {
        const RecordsOutcome& o = *turn.records;
        sink_.Log(QStringLiteral("%1: records: %2 written to %3, %4 deleted%5")
                      .arg(g.config.name)
                      .arg(o.count)
                      .arg(o.file.isEmpty() ? QStringLiteral("no file") : o.file)
                      .arg(o.deleted)
                      .arg(o.why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(o.why)));
        sink_.RecordsCollected(g.config.name, o);
    }
    if (turn.clock) {
        const ClockSyncOutcome& c = *turn.clock;
        if (c.set || !c.why.isEmpty()) {
            sink_.Log(QStringLiteral("%1: clock: %2")
                          .arg(g.config.name,
                               c.set ? QStringLiteral("set (it was %1 s off)")
                                           .arg(c.driftBefore ? QString::number(*c.driftBefore)
                                                              : QStringLiteral("an invalid time,"))
                                     : QStringLiteral("not set: ") + c.why));
        }
        g.state.insert(QStringLiteral("clock_sync"), c.Json());
        if (c.driftAfter) {
            g.state.insert(QStringLiteral("clock_drift_s"), *c.driftAfter);
        }
        PublishState(g);
    }
    if (turn.step == RecordCollection::Step::LinkTrouble) {
        Failed(g);
        return false;
    }
    return turn.step == RecordCollection::Step::Busy;
}

void LinkWorker::PublishState(Gate& g) {
    QJsonObject state = g.state;
    state.insert(QStringLiteral("last_event"),
                 g.lastEvent.isEmpty() ? QJsonValue() : QJsonValue(g.lastEvent));
    sink_.ControllerState(g.config.name, state);
}

bool LinkWorker::ResolveAcknowledgement(Gate& g) {
    gate::Byte a = g.address;
    const std::int32_t r = library_->Acknowledge(a, link_.PortHandle);
    // 5: nothing was waiting: the earlier acknowledgement had arrived after all.
    const bool refused = r != gate::result::kOk && r != gate::result::kNoRecord;
    if (refused) {
        CountFailure(g, r);
    }
    if (IsCommunication(r)) {
        return false;
    }
    if (refused && ++g.ackRefusals < kMaxAckRefusals) {
        return true;  // asked again before the next fetch
    }
    if (refused) {
        sink_.Log(QStringLiteral("%1: the controller refuses the acknowledgement (result %2); "
                                 "giving up on it")
                      .arg(g.config.name)
                      .arg(r));
    }
    g.ackRefusals = 0;
    if (spool_.ClearAckPending(g.config.name)) {
        g.ackPending = false;
    }
    return true;
}

LinkWorker::Outcome LinkWorker::Poll(Gate& g) {
    // Never fetch while an acknowledgement is unresolved: it could delete the next message.
    if (g.ackPending) {
        if (!ResolveAcknowledgement(g)) {
            return Outcome::Failed;
        }
        if (g.ackPending) {
            return Outcome::Idle;
        }
    }
    if (!spool_.Writable()) {
        if (!spoolBlocked_) {
            spoolBlocked_ = true;
            sink_.SpoolBlocked(spool_.BlockReason());
        }
        return Outcome::Idle;  // the controller keeps its messages meanwhile
    }
    if (spoolBlocked_) {
        spoolBlocked_ = false;
        sink_.SpoolBlocked({});
    }
    gate::Byte a = g.address, s = 0, length = 0, kind = 0;
    std::array<gate::Byte, gate::kMessageBufferSize> buffer{};
    const std::int32_t r =
        g.eas ? library_->GetEASMessage(a, buffer, length, kind, s, link_.PortHandle)
              : library_->GetChannelMessage(a, buffer, length, kind, s, link_.PortHandle);
    if (IsCommunication(r)) {
        CountFailure(g, r);
        return Outcome::Failed;
    }
    g.failures = 0;
    if ((r & 0x3F) == gate::result::kWrongMode) {
        gate::Byte mode = 0;
        if (library_->ModeSwitch(a, mode, s, link_.PortHandle) == gate::result::kOk &&
            (mode != 0) != g.eas) {
            g.eas = mode != 0;
            sink_.Log(
                QStringLiteral("%1: now in %2 mode")
                    .arg(g.config.name, g.eas ? QStringLiteral("EAS") : QStringLiteral("channel")));
            g.state.insert(QStringLiteral("mode"),
                           g.eas ? QStringLiteral("eas") : QStringLiteral("channel"));
            PublishState(g);
        }
        return Outcome::Idle;
    }
    if (r != gate::result::kOk || (kind == kNothingPending && length == 0)) {
        return Outcome::Idle;
    }
    const monitor::MessageBody body = monitor::MessageBody::FromBuffer(buffer, length);
    const QString before = g.lastNoPerson;
    monitor::LiveEventInput in =
        monitor::FetchedEventInput(g.config.name, g.eas, kind, body, g.lastNoPerson);
    QJsonObject event;
    const bool stored =
        spool_.Add(g.config.name, base_ + u'/' + g.config.name + QStringLiteral("/event"),
                   [&](const QString& id) {
                       in.id = id;
                       event = monitor::LiveEventObject(in);
                       return QJsonDocument(event).toJson(QJsonDocument::Compact);
                   });
    if (!stored) {
        g.lastNoPerson = before;  // it comes again and must read the same then
        spoolBlocked_ = true;
        sink_.SpoolBlocked(spool_.BlockReason());
        return Outcome::Idle;
    }
    g.ackPending = true;
    sink_.EventSpooled(g.config.name);
    if (metrics_ != nullptr) {
        metrics_->EventTaken(g.config.name, event);
    }
    g.lastEvent =
        QJsonObject{{QStringLiteral("event"), event.value(QStringLiteral("event"))},
                    {QStringLiteral("id"), event.value(QStringLiteral("id"))},
                    {QStringLiteral("received"), event.value(QStringLiteral("received"))}};
    if (!ResolveAcknowledgement(g)) {
        return Outcome::Failed;
    }
    if (g.config.ledBuzzer && monitor::DrivesLampAndBuzzer(g.eas, kind, body, before)) {
        const auto& v = *g.config.ledBuzzer;
        const std::int32_t lamp = library_->BuzzerAndLEDControl(a, v[0], v[1], v[2], v[3], v[4],
                                                                v[5], kRedLed, s, link_.PortHandle);
        if (lamp != gate::result::kOk) {
            sink_.Log(QStringLiteral("%1: the lamp-and-buzzer command failed (result %2)")
                          .arg(g.config.name)
                          .arg(lamp));
        }
    }
    PublishState(g);
    return Outcome::Delivered;
}

}  // namespace bridge
