#include "core/netcfg/udp_endpoint.h"

#include <QCoreApplication>

#include "core/netcfg/ipv4_text.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace netcfg {

UdpEndpoint::UdpEndpoint(QObject* parent) : QObject(parent), socket_(new QUdpSocket(this)) {
    connect(socket_, &QUdpSocket::readyRead, this, &UdpEndpoint::ReadPending);
}

UdpEndpoint::~UdpEndpoint() = default;

bool UdpEndpoint::Open(const QHostAddress& local) {
    if (IsOpen()) {
        return true;
    }
    return socket_->bind(local, 0);
}

bool UdpEndpoint::IsOpen() const {
    return socket_->state() == QAbstractSocket::BoundState;
}

quint16 UdpEndpoint::LocalPort() const {
    return socket_->localPort();
}

bool UdpEndpoint::EnableBroadcast() {
    if (!IsOpen()) {
        return false;
    }
    // QAbstractSocket has no option for it; set SO_BROADCAST on the descriptor itself.
    int on = 1;
#ifdef Q_OS_WIN
    const auto fd = static_cast<SOCKET>(socket_->socketDescriptor());
    const bool ok = ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                                 sizeof on) == 0;
#else
    const auto fd = static_cast<int>(socket_->socketDescriptor());
    const bool ok = ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
#endif
    broadcast_ = broadcast_ || ok;
    return ok;
}

void UdpEndpoint::SetDestination(const QString& address, quint16 port) {
    address_ = address;
    port_ = port;
}

bool UdpEndpoint::Send(const QByteArray& datagram, QString* error) {
    const std::optional<quint32> address = ParseDottedIpv4(address_);
    if (!address) {
        if (error) {
            *error =
                QCoreApplication::translate("ModuleSettings", "地址 %1 不是有效的IP地址，未发送")
                    .arg(address_);
        }
        return false;
    }
    if (socket_->writeDatagram(datagram, QHostAddress(*address), port_) != datagram.size()) {
        if (error) {
            *error = QCoreApplication::translate("ModuleSettings", "无法发送到 %1:%2：%3")
                         .arg(address_)
                         .arg(port_)
                         .arg(socket_->errorString());
        }
        return false;
    }
    return true;
}

void UdpEndpoint::ReadPending() {
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_->receiveDatagram(kMaxDatagram);
        if (!d.isValid()) {
            break;
        }
        const QHostAddress sender(d.senderAddress().toIPv4Address());
        Q_EMIT DatagramReceived(d.data(), sender.toString());
    }
}

}  // namespace netcfg
