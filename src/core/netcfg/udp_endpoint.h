#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QUdpSocket;

namespace netcfg {

// One UDP endpoint of the module protocol: bound to any IPv4 address and a port the system picks,
// with a current destination kept as state. Each received datagram (up to 8192 bytes) is handed
// on with its sender's dotted IPv4 address when the thread that owns the endpoint handles events.
class UdpEndpoint final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxDatagram = 8192;

    explicit UdpEndpoint(QObject* parent = nullptr);
    ~UdpEndpoint() override;

    // Opens the endpoint on the local address unless it is open; false when the socket cannot be
    // created or bound.
    bool Open(const QHostAddress& local = QHostAddress(QHostAddress::AnyIPv4));
    bool IsOpen() const;
    quint16 LocalPort() const;

    // Permits sending to a broadcast address.
    bool EnableBroadcast();
    bool BroadcastEnabled() const { return broadcast_; }

    void SetDestination(const QString& address, quint16 port);
    const QString& DestinationAddress() const { return address_; }
    quint16 DestinationPort() const { return port_; }

    // Sends the bytes to the current destination. On failure (an address that is not a dotted
    // IPv4 address, or a send the system rejects) returns false and fills error with a text that
    // names the address.
    bool Send(const QByteArray& datagram, QString* error = nullptr);

Q_SIGNALS:
    void DatagramReceived(const QByteArray& datagram, const QString& sender);

private:
    void ReadPending();

    QUdpSocket* socket_;
    QString address_;
    quint16 port_ = 0;
    bool broadcast_ = false;
};

}  // namespace netcfg
