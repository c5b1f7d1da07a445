#include "gate/wire_gate_library.h"

#include "gate/operation_codec.h"

#include <utility>

// Connection handling, IF2 and the request helper of WireGateLibrary; the controller operations
// are in wire_gate_operations.cpp.
namespace gate {

using wire::Command;
using wire::Exchange;

WireGateLibrary::WireGateLibrary(ComPortTable table, SerialDeviceLister lister,
                                 ReconnectSchedule::Clock clock, LinkTiming timing)
    : table_(std::move(table)),
      lister_(std::move(lister)),
      timing_(timing),
      schedule_(std::move(clock), timing.reopenIntervalMs),
      transactor_(timing.replyMs) {}

void WireGateLibrary::AttachLink(std::unique_ptr<Link> link, std::int32_t handle) {
    CloseLink();
    Adopt(std::move(link), handle, std::nullopt);
}

int WireGateLibrary::SerialHangUps() const {
    return serial_ != nullptr ? serial_->HangUps() : 0;
}

Link* WireGateLibrary::LinkFor(std::int32_t handle, Byte a) {
    if (handle != handle_ || link_ == nullptr) {
        return nullptr;
    }
    if (link_->IsOpen()) {
        return link_.get();
    }
    NoteLoss();
    if (!reconnecting_ || !target_ || !schedule_.TryDue()) {
        return nullptr;
    }
    return TryReopen(a) == Reopen::Restored ? link_.get() : nullptr;
}

WireGateLibrary::Reopen WireGateLibrary::TryReopen(Byte a) {
    if (link_ != nullptr && link_->IsOpen()) {
        link_->Close();
    }
    NoteLoss();
    if (!target_ || !CanReopenByItself()) {
        return Reopen::NotReopenable;
    }
    QString error;
    std::unique_ptr<Link> link =
        ReopenLink(*target_, lister_, QDeadlineTimer(timing_.reopenBudgetMs), &error);
    if (link == nullptr) {
        lastSystemError_ = error;
        return Reopen::NotYet;
    }
    // The link counts as back only once the controller behind it has answered, and only when
    // it is the one that answered at the open.
    const Exchange x = transactor_.Run(*link, a, Command::GetControllerDetailedInfo, {},
                                       wire::ReplyLengthOf(Command::GetControllerDetailedInfo),
                                       std::nullopt, QDeadlineTimer(timing_.writeMs));
    const ControllerIdentity now = IdentityFromReply(x.result, x.payload);
    switch (CheckReopenedIdentity(identity_, now)) {
        case IdentityCheck::NotProven:
            lastSystemError_ = QStringLiteral(
                                   "reopened, but the controller did not tell its "
                                   "serial number (result %1)")
                                   .arg(x.result);
            return Reopen::NotYet;
        case IdentityCheck::Other:
            lastSystemError_ = QStringLiteral(
                                   "the reopened link reached another controller "
                                   "(serial number %1, not %2): the link is closed")
                                   .arg(now.Text(), identity_.Text());
            EndLink(LinkEvent::OtherController);
            return Reopen::OtherController;
        case IdentityCheck::Same:
            break;
    }
    lastSystemError_.clear();
    identity_ = now;
    if (target_->kind == LinkTarget::Kind::Serial) {
        // The adapter may be back under another name: the COM number follows it.
        table_.SetDevice(target_->comNumber, target_->device);
    }
    link_ = std::move(link);
    serial_ = dynamic_cast<SerialLink*>(link_.get());
    schedule_.Opened();
    Notify(LinkEvent::Restored);
    return Reopen::Restored;
}

bool WireGateLibrary::CanReopenByItself() const {
    return target_ && (target_->kind == LinkTarget::Kind::Tcp ||
                       identity_.kind == ControllerIdentity::Kind::Serial);
}

void WireGateLibrary::NoteLoss() {
    if (link_ == nullptr || link_->IsOpen() || !target_ || !schedule_.Lost()) {
        return;
    }
    if (!CanReopenByItself()) {
        lastSystemError_ = QStringLiteral(
            "the serial link was lost, and the controller has no serial number that could "
            "prove a reopened line reaches the same controller: open it again by hand");
        EndLink(LinkEvent::NotReopened);
        return;
    }
    Notify(LinkEvent::Lost);
}

void WireGateLibrary::EndLink(LinkEvent why) {
    schedule_.Closed();
    target_.reset();
    link_.reset();
    serial_ = nullptr;
    handle_ = -1;
    Notify(why);
}

void WireGateLibrary::ReadIdentity(Byte a) {
    Byte s = 0;
    const Exchange x = Call(handle_, a, Command::GetControllerDetailedInfo, s);
    identity_ = IdentityFromReply(x.result, x.payload);
}

LowLatency WireGateLibrary::SerialLowLatency() const {
    return serial_ != nullptr ? serial_->LowLatencyState() : LowLatency::NotAsked;
}

std::optional<SerialDevice> WireGateLibrary::SerialDeviceOpened() const {
    if (serial_ == nullptr || !target_ || target_->kind != LinkTarget::Kind::Serial) {
        return std::nullopt;
    }
    return target_->device;
}

void WireGateLibrary::Notify(LinkEvent event) {
    if (observer_) {
        observer_(event);
    }
}

void WireGateLibrary::Adopt(std::unique_ptr<Link> link, std::int32_t handle,
                            std::optional<LinkTarget> target) {
    link_ = std::move(link);
    serial_ = dynamic_cast<SerialLink*>(link_.get());
    handle_ = handle;
    target_ = std::move(target);
    identity_ = {};
    if (target_) {
        schedule_.Opened();
    }
}

void WireGateLibrary::CloseLink() {
    const bool wasDown = schedule_.Current() == ReconnectSchedule::State::Down;
    schedule_.Closed();
    target_.reset();
    link_.reset();
    serial_ = nullptr;
    handle_ = -1;
    if (wasDown) {
        Notify(LinkEvent::Ended);
    }
}

LinkTarget WireGateLibrary::SerialTarget(std::int32_t comNumber) const {
    // The identity of the device actually opened, not of the one the table was built from: the
    // adapter may have been swapped since start-up.
    const QString path = table_.DevicePath(comNumber);
    return LinkTarget::Serial(comNumber,
                              AdapterAsOpened(path, lister_ ? lister_() : QList<SerialDevice>{}));
}

std::unique_ptr<SerialLink> WireGateLibrary::OpenSerial(std::int32_t comNumber) {
    const QString path = IsSerialHandle(comNumber) ? table_.DevicePath(comNumber) : QString();
    if (path.isEmpty()) {
        return nullptr;
    }
    auto link = std::make_unique<SerialLink>();
    QString error;
    if (!link->Open(path, &error)) {
        lastSystemError_ = error;
        return nullptr;
    }
    return link;
}

std::int32_t WireGateLibrary::OpenComPort(std::int32_t comNumber, Byte& a, std::int32_t& handle) {
    CloseLink();
    lastSystemError_.clear();
    std::unique_ptr<SerialLink> link = OpenSerial(comNumber);
    if (link == nullptr) {
        return result::kCommError;
    }
    Adopt(std::move(link), comNumber, SerialTarget(comNumber));
    ReadIdentity(a);
    handle = comNumber;
    return result::kOk;
}

std::int32_t WireGateLibrary::AutoOpenComPort(std::int32_t& foundPort, Byte& a,
                                              std::int32_t& handle) {
    CloseLink();
    lastSystemError_.clear();
    for (const int com : table_.Numbers()) {
        std::unique_ptr<SerialLink> link = OpenSerial(com);
        if (link == nullptr) {
            continue;
        }
        // Probed without reconnecting: a port that hangs up now is simply not the one.
        Adopt(std::move(link), com, std::nullopt);
        Byte product = 0;
        Byte major = 0;
        Byte minor = 0;
        Byte s = 0;
        const std::int32_t probe = GetControllerInfo(a, product, major, minor, s, com);
        // Any reply that came through whole is a controller answering, whatever its result.
        if (probe != result::kCommError && probe != result::kCrcError) {
            target_ = SerialTarget(com);
            schedule_.Opened();
            ReadIdentity(a);
            foundPort = com;
            handle = com;
            lastSystemError_.clear();  // a refusal of an earlier port no longer matters
            return result::kOk;
        }
        CloseLink();
    }
    return result::kCommError;
}

std::int32_t WireGateLibrary::CloseComPort() {
    if (serial_ != nullptr) {
        CloseLink();
    }
    return result::kOk;
}

std::int32_t WireGateLibrary::OpenNetPort(std::int32_t ipPort, const QString& address, Byte& a,
                                          std::int32_t& handle) {
    CloseLink();
    lastSystemError_.clear();
    if (!IsNetworkHandle(ipPort)) {
        return result::kCommError;
    }
    auto link = std::make_unique<TcpLink>();
    QString error;
    if (!link->Open(address, quint16(ipPort), &error, QDeadlineTimer(timing_.tcpConnectMs))) {
        lastSystemError_ = error;
        return result::kCommError;
    }
    Adopt(std::move(link), ipPort, LinkTarget::Tcp(address, quint16(ipPort)));
    ReadIdentity(a);
    handle = ipPort;
    return result::kOk;
}

std::int32_t WireGateLibrary::CloseNetPort(std::int32_t ipPort) {
    if (link_ == nullptr || serial_ != nullptr) {
        return result::kOk;  // nothing open on the network: nothing to close
    }
    if (ipPort != handle_) {
        return result::kCommError;  // the open connection is another port's
    }
    CloseLink();
    return result::kOk;
}

std::int32_t WireGateLibrary::OpenIF2(std::int32_t comNumber) {
    if2_.reset();
    if2Com_ = -1;
    if2_ = OpenSerial(comNumber);
    if (if2_ == nullptr) {
        return result::kCommError;
    }
    if2Com_ = comNumber;
    return result::kOk;
}

std::int32_t WireGateLibrary::CloseIF2(std::int32_t comNumber) {
    // A port that hung up is still the one opened: closing it must succeed.
    if (if2Com_ == -1 || comNumber != if2Com_) {
        return result::kCommError;
    }
    if2_.reset();
    if2Com_ = -1;
    return result::kOk;
}

std::int32_t WireGateLibrary::GetIF2Data(std::span<Byte> buffer, std::int32_t& count) {
    count = 0;
    if (if2_ == nullptr || !if2_->IsOpen()) {
        return result::kCommError;
    }
    count = std::int32_t(wire::CopyClamped(if2_->ReadAvailable(qint64(buffer.size())), buffer));
    return result::kOk;
}

Exchange WireGateLibrary::Call(std::int32_t h, Byte a, Command command, Byte& s,
                               const QByteArray& payload,
                               std::optional<wire::LengthRule> replyLength,
                               std::optional<Byte> alsoFrom) {
    // A call that reopens its link first proves it (TryReopen), then sends its own request
    // with the usual write time.
    Link* link = LinkFor(h, a);
    if (link == nullptr) {
        return {};
    }
    Exchange x = transactor_.Run(*link, a, command, payload,
                                 replyLength.value_or(wire::ReplyLengthOf(command)), alsoFrom,
                                 QDeadlineTimer(timing_.writeMs));
    if (x.replied) {
        s = x.status;
    }
    NoteLoss();
    return x;
}

std::int32_t WireGateLibrary::Fetch(std::int32_t h, Byte a, Command command,
                                    const QByteArray& payload, std::span<Byte> buffer, Byte& length,
                                    Byte& kind, Byte& s, bool delivers) {
    if (delivers) {
        if (const std::int32_t r = ResolveAcknowledgement(h, a); r != result::kOk) {
            length = 0;
            return r;
        }
    }
    const Exchange x = Call(h, a, command, s, payload);
    if (x.result == result::kOk) {
        const wire::FetchOutput out = wire::CopyFetch(x.payload, buffer);
        kind = out.kind;
        length = out.length;
    } else {
        length = 0;  // nothing valid in the buffer
    }
    return x.result;
}

AcknowledgementTracker::Destination WireGateLibrary::AckDestination(std::int32_t h, Byte a) const {
    QString link = QString::number(h);
    if (target_ && target_->kind == LinkTarget::Kind::Tcp) {
        link = target_->address % u':' % link;
    } else if (target_) {
        link = QStringLiteral("COM") % link;
    }
    return {link, a};
}

Exchange WireGateLibrary::SendAcknowledge(std::int32_t h, Byte a) {
    Byte s = 0;  // Acknowledge has no reply status for its caller
    const Exchange x = Call(h, a, Command::Acknowledge, s);
    if (h == handle_) {
        acknowledgements_.Sent(AckDestination(h, a), x.replied);
    }
    return x;
}

std::int32_t WireGateLibrary::ResolveAcknowledgement(std::int32_t h, Byte a) {
    if (h != handle_ || !acknowledgements_.Unresolved(AckDestination(h, a))) {
        return result::kOk;
    }
    const Exchange x = SendAcknowledge(h, a);
    return x.replied ? result::kOk : x.result;
}

std::int32_t WireGateLibrary::ExchangeByte(std::int32_t h, Byte a, Command command, Byte& value,
                                           Byte& s) {
    const Exchange x = Call(h, a, command, s, QByteArray(1, char(value)));
    if (x.result == result::kOk) {
        value = static_cast<Byte>(x.payload[0]);
    }
    return x.result;
}

}  // namespace gate
