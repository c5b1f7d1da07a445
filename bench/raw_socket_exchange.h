#pragma once

#include "gate/wire_commands.h"
#include "gate/wire_frame.h"

#include <QByteArray>
#include <QTcpSocket>

#include <cstdint>

namespace bench {

// One request to gate-sim over a plain socket, by hand: encode, write, read until the reply
// frame is whole. The baseline of what the line costs without the gate library.
class RawSocketExchange {
public:
    // Connects to gate-sim's TCP line on loopback; false when that fails.
    bool Connect(quint16 port) {
        socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!socket_.waitForConnected(1000)) {
            return false;
        }
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }

    // False when no whole reply came within a second.
    bool Exchange(gate::wire::Command command, const QByteArray& payload = {}) {
        socket_.write(
            gate::wire::EncodeRequest({0xFF, gate::wire::Code(command), sequence_++, payload}));
        socket_.waitForBytesWritten(1000);
        std::optional<gate::wire::Reply> reply;
        while (!reply && socket_.waitForReadyRead(1000)) {
            scanner_.Feed(socket_.readAll());
            reply = scanner_.Next();
        }
        return reply.has_value();
    }

private:
    QTcpSocket socket_;
    gate::wire::ReplyScanner scanner_;
    std::uint8_t sequence_ = 0;
};

}  // namespace bench
