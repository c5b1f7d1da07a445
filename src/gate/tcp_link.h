#pragma once

#include "gate/link.h"

#include <QString>
#include <QTcpSocket>

namespace gate {

// The TCP server of a serial-to-Ethernet module: the stream carries the serial line's bytes.
//
// A write that does not finish in time ends the connection with a reset (SO_LINGER 0), not a
// graceful close: a graceful close would still deliver what the system holds of the request,
// and a request reported as failed must not reach the controller later.
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
    // Drops the connection and everything not yet sent on it.
    void AbortWithReset();

    QTcpSocket socket_;
};

}  // namespace gate
