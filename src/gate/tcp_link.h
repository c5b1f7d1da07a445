#pragma once

#include "gate/link.h"

#include <QString>
#include <QTcpSocket>

namespace gate {

// The TCP server of a serial-to-Ethernet module: the stream carries the serial line's bytes.
class TcpLink final : public Link {
public:
    static constexpr int kConnectTimeoutMs = 1000;

    // Connects within kConnectTimeoutMs; on failure returns false and sets *error to the reason.
    bool Open(const QString& address, quint16 port, QString* error) {
        return Open(address, port, error, QDeadlineTimer(kConnectTimeoutMs));
    }
    // Connects before the deadline (a reconnect inside a call, which has its own time budget).
    bool Open(const QString& address, quint16 port, QString* error, QDeadlineTimer deadline);

    bool IsOpen() const override;
    bool Write(QByteArrayView bytes, QDeadlineTimer deadline) override;
    QByteArray Read(QDeadlineTimer deadline) override;
    QByteArray ReadAvailable() override;
    void Close() override;

private:
    QTcpSocket socket_;
};

}  // namespace gate
