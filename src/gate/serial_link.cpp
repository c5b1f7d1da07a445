#include "gate/serial_link.h"

namespace gate {

SerialLink::SerialLink(SerialIoctl ioctl) : ioctl_(std::move(ioctl)) {
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { CloseOnHangUp(error); });
}

bool SerialLink::Open(const QString& path, QString* error) {
    Close();
    lowLatency_ = LowLatency::NotAsked;
    port_.setPortName(path);
    if (!port_.open(QIODevice::ReadWrite)) {
        *error = path + QStringLiteral(": ") + port_.errorString();
        port_.clearError();
        return false;
    }
    const bool configured = port_.setBaudRate(kBaudRate) && port_.setDataBits(QSerialPort::Data8) &&
                            port_.setParity(QSerialPort::NoParity) &&
                            port_.setStopBits(QSerialPort::OneStop) &&
                            port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        *error = path + QStringLiteral(": ") + port_.errorString();
        port_.close();
        port_.clearError();
        return false;
    }
    port_.clear();  // nothing that arrived before the open belongs to us
    lowLatency_ = RequestLowLatency(int(port_.handle()), ioctl_);
    return true;
}

bool SerialLink::CloseOnHangUp(QSerialPort::SerialPortError error) {
    // A vanished USB adapter reports a resource error; a pseudo-terminal whose master closed
    // reports a read error. Either way every later read fails the same way.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!gone || !port_.isOpen()) {
        return false;
    }
    ++hangUps_;
    port_.close();
    port_.clearError();
    return true;
}

bool SerialLink::Write(QByteArrayView bytes, QDeadlineTimer deadline) {
    if (!IsOpen() || port_.write(bytes.data(), bytes.size()) != bytes.size()) {
        CloseOnHangUp(port_.error());
        return false;
    }
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(int(deadline.remainingTime()))) {
            if (!CloseOnHangUp(port_.error())) {
                DiscardUnsent();
            }
            return false;
        }
        if (deadline.hasExpired() && port_.bytesToWrite() > 0) {
            DiscardUnsent();
            return false;
        }
    }
    return true;
}

void SerialLink::DiscardUnsent() {
    // Both the port's buffer and the driver's output queue (tcflush TCOFLUSH): the request
    // is reported as failed, so none of it may reach the controller later.
    port_.clear(QSerialPort::Output);
    port_.clearError();
}

QByteArray SerialLink::Read(QDeadlineTimer deadline) {
    if (IsOpen() && port_.bytesAvailable() == 0 &&
        !port_.waitForReadyRead(int(deadline.remainingTime()))) {
        if (!CloseOnHangUp(port_.error())) {
            port_.clearError();  // a plain timeout
        }
        return {};
    }
    return port_.readAll();
}

QByteArray SerialLink::ReadAvailable(qint64 maxBytes) {
    if (!IsOpen()) {
        return {};
    }
    if (maxBytes < 0 || port_.bytesAvailable() < maxBytes) {
        // Pull in what the system holds without waiting; a timeout here only means nothing new.
        if (!port_.waitForReadyRead(0) && !CloseOnHangUp(port_.error())) {
            port_.clearError();
        }
    }
    if (!IsOpen()) {
        return {};
    }
    return maxBytes < 0 ? port_.readAll() : port_.read(maxBytes);
}

}  // namespace gate
