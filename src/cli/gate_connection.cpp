#include "cli/gate_connection.h"

#include "gate/wire_frame.h"

#include <QHostAddress>
#include <QHostInfo>

namespace cli {

GateConnection::GateConnection(LinkSpec link) : link_(std::move(link)), library_(link_.comPorts) {
    // A lost link fails the command that lost it; monitor reopens it with its own back-off and
    // says so on stderr, rather than having calls reopen it unseen.
    library_.SetReconnecting(false);
}

std::optional<Failure> GateConnection::Open() {
    state_ = gate::ConnectionState{};
    state_.ControllerAddress = link_.address;
    std::int32_t result = 0;
    if (link_.kind == LinkSpec::Kind::Serial) {
        result = library_.OpenComPort(link_.comNumber, state_.ControllerAddress, state_.PortHandle);
    } else {
        if (address_.isEmpty()) {
            const QHostAddress literal(link_.host);
            if (!literal.isNull()) {
                address_ = literal.toString();
            } else {
                const QHostInfo info = QHostInfo::fromName(link_.host);
                if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
                    return CommunicationFailure(QStringLiteral("cannot find host %1: %2")
                                                    .arg(link_.host, info.errorString()));
                }
                address_ = info.addresses().constFirst().toString();
            }
        }
        result =
            library_.OpenNetPort(link_.port, address_, state_.ControllerAddress, state_.PortHandle);
    }
    if (result != gate::result::kOk) {
        state_.PortHandle = -1;
        const QString why = SystemReason();
        return Failure{IsCommunicationResult(result) ? ExitCode::Communication : ExitCode::Refused,
                       QStringLiteral("cannot open %1%2")
                           .arg(link_.Describe(), why.isEmpty() ? QString() : u": " + why),
                       result};
    }
    return std::nullopt;
}

std::optional<Failure> GateConnection::PinAddress() {
    gate::Byte address = state_.ControllerAddress;
    state_.LastResult =
        library_.SetControllerAddr(address, 0, 0, state_.ReplyStatus, state_.PortHandle);
    if (state_.LastResult == gate::result::kOk && address != gate::wire::kBroadcastAddress) {
        state_.ControllerAddress = address;
        return std::nullopt;
    }
    if (state_.ControllerAddress == gate::wire::kBroadcastAddress &&
        IsCommunicationResult(state_.LastResult)) {
        Failure f = ResultFailure(QString(), state_.LastResult);
        f.message = QStringLiteral(
                        "refusing to change anything: no valid reply when asking which "
                        "controller answers at address FF (%1); if several controllers share "
                        "this line, they answered at once: name one with --address")
                        .arg(ExplainResult(state_.LastResult));
        return f;
    }
    if (state_.LastResult == gate::result::kOk) {
        return CommunicationFailure(
            QStringLiteral("refusing to change anything: the controller reports the "
                           "broadcast address FF as its own"));
    }
    Failure f = ResultFailure(QStringLiteral("读取地址"), state_.LastResult);
    f.message =
        QStringLiteral("refusing to change anything: cannot read the controller's address: ") +
        f.message;
    return f;
}

QString GateConnection::SystemReason() const {
    QString why = library_.LastSystemError();
    // The link's reason may start by naming what it opened; the message names it already.
    for (const QString& named : QStringList{link_.comPorts.DevicePath(link_.comNumber),
                                            address_ % u':' % QString::number(link_.port)}) {
        if (!named.isEmpty() && why.startsWith(named % QStringLiteral(": "))) {
            why = why.mid(named.size() + 2);
        }
    }
    return why;
}

std::optional<GateConnection::ReopenFailure> GateConnection::Reopen() {
    if (link_.kind == LinkSpec::Kind::Serial && library_.IsLinkOpen()) {
        return std::nullopt;  // the same device is still open: no other adapter can be behind it
    }
    using Outcome = gate::WireGateLibrary::Reopen;
    const Outcome outcome = library_.TryReopen(state_.ControllerAddress);
    if (outcome == Outcome::Restored) {
        return std::nullopt;
    }
    const QString why = SystemReason();
    return ReopenFailure{
        CommunicationFailure(QStringLiteral("cannot reopen %1%2")
                                 .arg(link_.Describe(), why.isEmpty() ? QString() : u": " + why)),
        outcome != Outcome::NotYet};
}

}  // namespace cli
