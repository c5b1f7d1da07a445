#include "core/netcfg/netcfg_session.h"

#include "core/netcfg/module_protocol.h"

namespace netcfg {

NetcfgSession::NetcfgSession(QObject* parent) : QObject(parent) {
    connect(&search_, &UdpEndpoint::DatagramReceived, this, &NetcfgSession::HandleSearchDatagram);
    connect(&config_, &UdpEndpoint::DatagramReceived, &reply_, &ReplySlot::Store);
}

bool NetcfgSession::OpenConfigEndpoint() {
    if (config_.IsOpen()) {
        return true;
    }
    if (!config_.Open(target_.localAddress)) {
        return false;
    }
    config_.EnableBroadcast();
    return true;
}

ExchangeResult NetcfgSession::Search(const std::function<void()>& reportOpenFailure) {
    ClearRows();
    if (!search_.Open(target_.localAddress)) {
        reportOpenFailure();
    }
    search_.SetDestination(target_.broadcastAddress, target_.port);
    search_.EnableBroadcast();
    ExchangeResult result;
    result.requests = 1;
    result.sent = search_.Send(IdentifyCommand(), &result.error);
    return result;
}

void NetcfgSession::AppendLocatedRow(const QByteArray& datagram, const QString& sender) {
    if (rows_.Full()) {
        return;
    }
    Q_EMIT RowAdded(rows_.Append(datagram, sender));
}

void NetcfgSession::ClearRows() {
    rows_.Clear();
    Q_EMIT RowsCleared();
}

void NetcfgSession::HandleSearchDatagram(const QByteArray& datagram, const QString& sender) {
    reply_.Store(datagram, sender);
    if (datagram.isEmpty()) {
        return;
    }
    if (!IsAcknowledgement(datagram)) {
        lastRefusal_ = RefusalText(datagram, util::TextTable::Display());
        return;
    }
    const SearchReply reply = ParseSearchReply(datagram);
    if (rows_.ContainsMac(reply.mac) || rows_.Full()) {
        return;
    }
    const ModuleRow& row = rows_.Append(datagram, sender);
    settings_.Ip = sender.toLatin1();
    settings_.UserName = reply.userName;
    settings_.DeviceName = reply.deviceName;
    Q_EMIT RowAdded(row);
}

}  // namespace netcfg
