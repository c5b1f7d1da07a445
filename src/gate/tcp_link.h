#pragma once

#include "gate/link.h"

#include <QString>
#include <QTcpSocket>

namespace gate {

// The TCP server of a serial-to-Ethernet module: the stream carries the serial line's bytes.
class TcpLink final : public Link {
public:
    // Connects before the deadline (LinkTiming::tcpConnectMs from now for an open by hand, what
    // is left of the call's budget for a reconnect); on failure returns false and sets *error to
    // the reason.
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
