#include "module_server.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace modulesim {

ModuleServer::ModuleServer(ModuleModel& model, QObject* parent)
    : QObject(parent), model_(model), socket_(new QUdpSocket(this)) {
    connect(socket_, &QUdpSocket::readyRead, this, &ModuleServer::ReadPending);
}

bool ModuleServer::Listen(const QHostAddress& address, quint16 port) {
    return socket_->bind(address, port);
}

quint16 ModuleServer::Port() const {
    return socket_->localPort();
}

void ModuleServer::ReadPending() {
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_->receiveDatagram(8192);
        if (!d.isValid()) {
            break;
        }
        const std::optional<QByteArray> answer = model_.Handle(d.data());
        Q_EMIT Received(d.data(), d.senderAddress().toString());
        if (!answer) {
            continue;
        }
        const QHostAddress to = d.senderAddress();
        const quint16 port = static_cast<quint16>(d.senderPort());
        auto send = [this, to, port, bytes = *answer] {
            socket_->writeDatagram(bytes, to, port);
            Q_EMIT Answered(bytes);
        };
        if (model_.Switches().delayMs > 0) {
            QTimer::singleShot(model_.Switches().delayMs, this, send);
        } else {
            send();
        }
    }
}

}  // namespace modulesim
