#include "gate/serial_low_latency.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace gate {

SerialIoctl SystemIoctl() {
#ifdef Q_OS_LINUX
    return [](int fd, unsigned long request, void* argument) {
        return ::ioctl(fd, request, argument);
    };
#else
    return [](int, unsigned long, void*) { return -1; };
#endif
}

LowLatency RequestLowLatency(int fd, const SerialIoctl& ioctl) {
#ifdef Q_OS_LINUX
    if (fd < 0) {
        return LowLatency::NotAsked;
    }
    serial_struct settings{};
    if (ioctl(fd, TIOCGSERIAL, &settings) != 0) {
        return LowLatency::Unsupported;
    }
    if ((settings.flags & ASYNC_LOW_LATENCY) != 0) {
        return LowLatency::AlreadyOn;
    }
    settings.flags |= ASYNC_LOW_LATENCY;
    if (ioctl(fd, TIOCSSERIAL, &settings) != 0) {
        return LowLatency::Refused;
    }
    return LowLatency::On;
#else
    static_cast<void>(fd);
    static_cast<void>(ioctl);
    return LowLatency::NotAsked;
#endif
}

QString LowLatencyText(LowLatency state) {
    switch (state) {
        case LowLatency::On:
            return QStringLiteral("on");
        case LowLatency::AlreadyOn:
            return QStringLiteral("already on");
        case LowLatency::Unsupported:
            return QStringLiteral("not supported by the device");
        case LowLatency::Refused:
            return QStringLiteral("refused (no permission)");
        case LowLatency::NotAsked:
            break;
    }
    return QStringLiteral("not asked");
}

std::optional<int> LatencyTimerMs(const QString& deviceName, const QString& sysRoot) {
    if (deviceName.isEmpty() || deviceName.contains(u'/')) {
        return std::nullopt;
    }
    QFile file(sysRoot + QStringLiteral("/class/tty/") + deviceName +
               QStringLiteral("/device/latency_timer"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    bool ok = false;
    const int ms = file.read(16).trimmed().toInt(&ok);
    if (!ok || ms < 0) {
        return std::nullopt;
    }
    return ms;
}

}  // namespace gate
