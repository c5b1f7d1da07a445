#pragma once

#include "gate/link.h"
#include "gate/serial_low_latency.h"

#include <QSerialPort>
#include <QString>

namespace gate {

// A serial line: 115200 baud, 8 data bits, no parity, 1 stop bit, no flow control.
//
// A hang-up (a USB adapter pulled out, a pseudo-terminal whose other side closed) leaves
// QSerialPort open but reporting a resource error (or, for a pseudo-terminal, a read error) on
// every read attempt. The link closes the
// port on the first such error, once, wherever it shows up (inside a wait or from the event
// loop), so later calls find it closed instead of raising the error again and again.
//
// Every open asks the device for low latency (see serial_low_latency.h); a device that has no
// such setting or refuses it is used as it is.
//
// A write that does not finish in time discards what the host still holds of it (the output
// queue of the driver and the port's own buffer): a request reported as failed must not go out
// later, in front of the next one.
class SerialLink final : public Link {
public:
    static constexpr qint32 kBaudRate = 115200;

    explicit SerialLink(SerialIoctl ioctl = SystemIoctl());

    // Opens the device; on failure returns false and sets *error to the system's reason.
    bool Open(const QString& path, QString* error);

    // What the last open's request for low latency came to.
    LowLatency LowLatencyState() const { return lowLatency_; }

    bool IsOpen() const override { return port_.isOpen(); }
    bool Write(QByteArrayView bytes, QDeadlineTimer deadline) override;
    QByteArray Read(QDeadlineTimer deadline) override;
    QByteArray ReadAvailable() override { return ReadAvailable(-1); }
    // At most maxBytes (all when negative) of what has arrived, without waiting; the rest stays
    // for the next read.
    QByteArray ReadAvailable(qint64 maxBytes);
    void Close() override { port_.close(); }

    // How many hang-ups closed the port since it was created.
    int HangUps() const { return hangUps_; }

private:
    // Closes the port when the last error says the device is gone; true when it did.
    bool CloseOnHangUp(QSerialPort::SerialPortError error);

    // Drops what has not left yet after a write timed out.
    void DiscardUnsent();

    QSerialPort port_;
    SerialIoctl ioctl_;
    LowLatency lowLatency_ = LowLatency::NotAsked;
    int hangUps_ = 0;
};

}  // namespace gate
