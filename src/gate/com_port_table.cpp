#include "gate/com_port_table.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSet>

#include <algorithm>
#include <tuple>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace gate {

namespace {

// Where a port stands in the numbering rule.
struct Placement {
    int group = 0;  // 0 ttyUSB, 1 ttyACM, 2 ttyS, 3 any other
    QString prefix;
    int number = -1;  // the trailing device number, -1 when the name has none
};

Placement placementOf(const QString& name) {
    static const QRegularExpression split(QStringLiteral("^(.*?)(\\d*)$"));
    const auto m = split.match(name);
    Placement p;
    p.prefix = m.captured(1);
    bool ok = false;
    const int number = m.captured(2).toInt(&ok);
    p.number = ok ? number : -1;
    if (p.number >= 0 && p.prefix == u"ttyUSB") {
        p.group = 0;
    } else if (p.number >= 0 && p.prefix == u"ttyACM") {
        p.group = 1;
    } else if (p.number >= 0 && p.prefix == u"ttyS") {
        p.group = 2;
    } else {
        p.group = 3;
    }
    return p;
}

// The number n of a Windows port name "COMn" (which may lie outside 1 to 255), or nothing.
std::optional<int> windowsComNumber(const QString& name) {
    static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(name);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const int n = m.captured(1).toInt(&ok);
    return ok ? n : 0;
}

SerialDevice deviceAt(const QString& path) {
    SerialDevice d;
    d.path = path;
    d.name = QFileInfo(path).fileName();
    return d;
}

}  // namespace

QList<SerialDevice> SystemSerialDevices() {
    QList<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDevice d;
        d.path = info.systemLocation();
        d.name = info.portName();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        d.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier()) {
            d.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            d.productId = info.productIdentifier();
        }
        devices.append(d);
    }
    return devices;
}

ComPortTable::ComPortTable(const QMap<int, QString>& paths) {
    for (auto it = paths.begin(); it != paths.end(); ++it) {
        devices_.insert(it.key(), deviceAt(it.value()));
    }
}

ComPortTable ComPortTable::Numbered(const QList<SerialDevice>& devices) {
    ComPortTable table;
    QSet<QString> seen;  // a port reported twice is numbered once
    std::vector<std::pair<Placement, SerialDevice>> unnumbered;
    for (const SerialDevice& d : devices) {
        if (d.path.isEmpty() || seen.contains(d.path)) {
            continue;
        }
        seen.insert(d.path);
        if (const auto n = windowsComNumber(d.name)) {
            // Windows names the port: it keeps that number or, beyond the console's range
            // or already taken, stays out of the table.
            if (*n >= 1 && *n <= 255 && !table.devices_.contains(*n)) {
                table.devices_.insert(*n, d);
            }
        } else {
            unnumbered.emplace_back(placementOf(d.name), d);
        }
    }
    std::stable_sort(unnumbered.begin(), unnumbered.end(), [](const auto& x, const auto& y) {
        return std::tie(x.first.group, x.first.prefix, x.first.number) <
               std::tie(y.first.group, y.first.prefix, y.first.number);
    });
    int com = 1;
    for (const auto& [placement, device] : unnumbered) {
        while (com <= 255 && table.devices_.contains(com)) {
            ++com;
        }
        if (com > 255) {
            break;
        }
        table.devices_.insert(com, device);
    }
    return table;
}

ComPortTable ComPortTable::Discover(const SerialDeviceLister& lister) {
    return Numbered(lister());
}

std::optional<std::pair<int, QString>> ComPortTable::ParseMapping(const QString& text) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0 || eq == text.size() - 1) {
        return std::nullopt;
    }
    bool ok = false;
    const int n = text.left(eq).toInt(&ok, 10);
    if (!ok || n < 1 || n > 255) {
        return std::nullopt;
    }
    return std::make_pair(n, text.mid(eq + 1));
}

std::optional<SerialDevice> ComPortTable::Device(int comNumber) const {
    const auto it = devices_.constFind(comNumber);
    if (it == devices_.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

int ComPortTable::MapFirstFree(const QString& path) {
    for (int n = 1; n <= 255; ++n) {
        if (!devices_.contains(n)) {
            devices_.insert(n, deviceAt(path));
            return n;
        }
    }
    return 0;
}

QString ComPortTable::DevicePath(int comNumber) const {
    const auto it = devices_.constFind(comNumber);
    if (it != devices_.constEnd()) {
        return it->path;
    }
#ifdef Q_OS_WIN
    if (comNumber >= 1 && comNumber <= 255) {
        return QStringLiteral("\\\\.\\COM%1").arg(comNumber);
    }
#endif
    return {};
}

bool ComPortTable::PortExists(int comNumber) const {
    if (comNumber <= 0) {
        return false;
    }
    const QString path = DevicePath(comNumber);
    if (path.isEmpty()) {
        return false;
    }
#ifdef Q_OS_UNIX
    const QByteArray native = path.toLocal8Bit();
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EACCES || errno == EBUSY || errno == EPERM;
#else
    QSerialPort port(path);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return true;
    }
    return port.error() == QSerialPort::PermissionError;
#endif
}

}  // namespace gate
