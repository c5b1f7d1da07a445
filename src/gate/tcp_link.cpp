#include "gate/tcp_link.h"

#include <QHostAddress>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

namespace gate {

bool TcpLink::Open(const QString& address, quint16 port, QString* error, QDeadlineTimer deadline) {
    Close();
    QHostAddress host;
    if (!host.setAddress(address)) {
        // Only numeric addresses: a name lookup could block far longer than the connect timeout.
        *error = address + QStringLiteral(": not an IP address");
        return false;
    }
    socket_.connectToHost(host, port);
    if (!socket_.waitForConnected(int(deadline.remainingTime()))) {
        *error =
            address + u':' + QString::number(port) + QStringLiteral(": ") + socket_.errorString();
        socket_.abort();
        return false;
    }
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

bool TcpLink::IsOpen() const {
    return socket_.state() == QAbstractSocket::ConnectedState;
}

bool TcpLink::Write(QByteArrayView bytes, QDeadlineTimer deadline) {
    if (!IsOpen() || socket_.write(bytes.data(), bytes.size()) != bytes.size()) {
        return false;
    }
    while (socket_.bytesToWrite() > 0) {
        if (!socket_.waitForBytesWritten(int(deadline.remainingTime())) || deadline.hasExpired()) {
            if (socket_.bytesToWrite() == 0) {
                return true;
            }
            AbortWithReset();
            return false;
        }
    }
    return true;
}

void TcpLink::AbortWithReset() {
#ifdef Q_OS_UNIX
    const qintptr fd = socket_.socketDescriptor();
    if (fd >= 0) {
        const linger reset{1, 0};
        ::setsockopt(int(fd), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
#endif
    socket_.abort();
}

QByteArray TcpLink::Read(QDeadlineTimer deadline) {
    if (socket_.bytesAvailable() == 0 && IsOpen()) {
        socket_.waitForReadyRead(int(deadline.remainingTime()));
    }
    return socket_.readAll();
}

QByteArray TcpLink::ReadAvailable() {
    return socket_.readAll();
}

void TcpLink::Close() {
    socket_.abort();
}

}  // namespace gate
