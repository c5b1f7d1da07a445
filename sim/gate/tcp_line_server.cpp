#include "tcp_line_server.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace sim {

TcpLineServer::TcpLineServer(const ControllerBus& bus) : bus_(bus), server_(this) {
    connect(&server_, &QTcpServer::newConnection, this, &TcpLineServer::Accept);
}

bool TcpLineServer::Listen(const QHostAddress& host, quint16 port, QString* error) {
    if (!server_.listen(host, port)) {
        if (error) {
            *error = QStringLiteral("TCP %1:%2: %3")
                         .arg(host.toString())
                         .arg(port)
                         .arg(server_.errorString());
        }
        return false;
    }
    return true;
}

void TcpLineServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (accepted_) {
            accepted_();
        }
        auto processor = std::make_shared<RequestProcessor>(bus_);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, processor] {
            for (LineOutput& out : processor->Feed(socket->readAll())) {
                if (out.disconnect) {
                    socket->abort();
                    return;
                }
                if (out.delayMs > 0) {
                    QTimer::singleShot(out.delayMs, socket,
                                       [socket, bytes = out.bytes] { socket->write(bytes); });
                } else if (!out.bytes.isEmpty()) {
                    socket->write(out.bytes);
                }
            }
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

}  // namespace sim
