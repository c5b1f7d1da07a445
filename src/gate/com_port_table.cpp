#include "gate/com_port_table.h"

#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>

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

struct Candidate {
    int group;
    int number;
    QString path;
};

// Group of a device name in the numbering rule, or -1 when it is not a serial port we number.
int groupOf(const QString& name, int* number) {
    static const QRegularExpression re(QStringLiteral("^tty(USB|ACM|S)(\\d+)$"));
    const auto m = re.match(name);
    if (!m.hasMatch()) {
        return -1;
    }
    *number = m.captured(2).toInt();
    const QString kind = m.captured(1);
    if (kind == u"USB") {
        return 0;
    }
    return kind == u"ACM" ? 1 : 2;
}

}  // namespace

ComPortTable ComPortTable::Discover() {
    std::vector<Candidate> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        int number = 0;
        const int group = groupOf(info.portName(), &number);
        if (group >= 0) {
            found.push_back({group, number, info.systemLocation()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Candidate& x, const Candidate& y) {
        return std::tie(x.group, x.number) < std::tie(y.group, y.number);
    });
    QMap<int, QString> paths;
    int com = 1;
    for (const Candidate& c : found) {
        if (com > 255) {
            break;
        }
        paths.insert(com++, c.path);
    }
    return ComPortTable(paths);
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

QString ComPortTable::DevicePath(int comNumber) const {
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(comNumber);
#else
    return paths_.value(comNumber);
#endif
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
