#include "gate/link_target.h"

#include "gate/serial_link.h"
#include "gate/tcp_link.h"

#include <QFileInfo>

namespace gate {

LinkTarget LinkTarget::Serial(int comNumber, SerialDevice device) {
    LinkTarget t;
    t.kind = Kind::Serial;
    t.comNumber = comNumber;
    t.device = std::move(device);
    return t;
}

LinkTarget LinkTarget::Tcp(QString address, quint16 port) {
    LinkTarget t;
    t.kind = Kind::Tcp;
    t.address = std::move(address);
    t.port = port;
    return t;
}

bool HasAdapterIdentity(const SerialDevice& device) {
    return !device.serialNumber.isEmpty() && device.vendorId.has_value();
}

namespace {

bool SameAdapter(const SerialDevice& a, const SerialDevice& b) {
    return a.serialNumber == b.serialNumber && a.vendorId == b.vendorId &&
           a.productId == b.productId;
}

// Whether two paths name the same device (a symbolic link such as /dev/serial/by-id/... and
// the device it points to).
bool SameDevicePath(const QString& a, const QString& b) {
    if (a == b) {
        return true;
    }
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

}  // namespace

SerialDevice AdapterAsOpened(const QString& path, const QList<SerialDevice>& present) {
    SerialDevice opened;
    opened.path = path;
    opened.name = QFileInfo(path).fileName();
    for (const SerialDevice& d : present) {
        if (!d.path.isEmpty() && SameDevicePath(d.path, path)) {
            opened = d;
            opened.path = path;
            break;
        }
    }
    if (!HasAdapterIdentity(opened)) {
        return opened;
    }
    int claims = 0;
    for (const SerialDevice& d : present) {
        claims += SameAdapter(d, opened) ? 1 : 0;
    }
    if (claims > 1) {
        opened.serialNumber.clear();
        opened.vendorId.reset();
        opened.productId.reset();
    }
    return opened;
}

std::optional<SerialDevice> FindAdapter(const SerialDevice& wanted,
                                        const QList<SerialDevice>& present) {
    if (!HasAdapterIdentity(wanted)) {
        return std::nullopt;
    }
    std::optional<SerialDevice> found;
    for (const SerialDevice& d : present) {
        const bool same = d.serialNumber == wanted.serialNumber && d.vendorId == wanted.vendorId &&
                          (!d.productId || !wanted.productId || d.productId == wanted.productId);
        if (!same || d.path.isEmpty()) {
            continue;
        }
        if (found && found->path != d.path) {
            return std::nullopt;  // two adapters claim the identity: opening either is a guess
        }
        found = d;
    }
    return found;
}

std::unique_ptr<Link> ReopenLink(LinkTarget& target, const SerialDeviceLister& lister,
                                 QDeadlineTimer deadline, QString* error) {
    if (target.kind == LinkTarget::Kind::Tcp) {
        auto link = std::make_unique<TcpLink>();
        if (!link->Open(target.address, target.port, error, deadline)) {
            return nullptr;
        }
        return link;
    }
    SerialDevice device = target.device;
    if (HasAdapterIdentity(target.device)) {
        // The adapter may be back under another name, and its old name may now belong to
        // another adapter: only the identity decides.
        const std::optional<SerialDevice> found =
            lister ? FindAdapter(target.device, lister()) : std::nullopt;
        if (!found) {
            *error = target.device.path + QStringLiteral(": the adapter with serial number ") +
                     target.device.serialNumber + QStringLiteral(" is not present");
            return nullptr;
        }
        device = *found;
    }
    auto link = std::make_unique<SerialLink>();
    if (!link->Open(device.path, error)) {
        return nullptr;
    }
    target.device = device;
    return link;
}

}  // namespace gate
