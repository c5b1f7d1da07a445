#pragma once

#include "gate/com_port_table.h"
#include "gate/link.h"

#include <QDeadlineTimer>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace gate {

// The link the library opened, as far as it needs to open it again after a loss: a serial
// device (with the adapter's identity when the system reported one) or a TCP address and port.
struct LinkTarget {
    enum class Kind { Serial, Tcp };

    Kind kind = Kind::Serial;
    int comNumber = 0;    // serial: the COM number the device was opened as
    SerialDevice device;  // serial: path, and the identity of a USB adapter
    QString address;      // TCP: numeric IP address
    quint16 port = 0;     // TCP

    static LinkTarget Serial(int comNumber, SerialDevice device);
    static LinkTarget Tcp(QString address, quint16 port);
};

// Whether a USB adapter can be recognised under another device name: it reports a serial
// number and a vendor. Pseudo-terminals, on-board ports and ports given by path do not.
bool HasAdapterIdentity(const SerialDevice& device);

// The device at path as the system reports it at the moment it is opened, with its adapter
// identity only when no other present device claims the same serial number, vendor and product:
// an identity two adapters share (cheap bridges, clones) cannot find the right one again, so
// such a device (and one the system does not report) is reopened by its path.
SerialDevice AdapterAsOpened(const QString& path, const QList<SerialDevice>& present);

// The adapter among the present devices that is `wanted`: the same serial number and vendor,
// and the same product when both report one. Nothing when no device, or more than one, fits.
std::optional<SerialDevice> FindAdapter(const SerialDevice& wanted,
                                        const QList<SerialDevice>& present);

// Opens the target again. A serial device with an adapter identity is looked up among the
// present devices and opened wherever it is now (target.device then holds its new path);
// without one the same path is opened. A TCP connection must be made before the deadline.
// Nothing (and the reason in error) when it could not be opened.
std::unique_ptr<Link> ReopenLink(LinkTarget& target, const SerialDeviceLister& lister,
                                 QDeadlineTimer deadline, QString* error);

}  // namespace gate
