#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace gate {

// USB serial adapters of the FTDI kind hold received bytes until their latency timer runs out
// (16 ms by default), which every reply then waits for. The driver's low-latency flag
// (ASYNC_LOW_LATENCY, through TIOCGSERIAL/TIOCSSERIAL) shortens that to about 1 ms. Linux no
// longer sets it by itself, so every serial open asks for it; a device without the setting (a
// pseudo-terminal, an on-board port) or a user who may not change it keeps working as before.
enum class LowLatency {
    NotAsked,     // not a Linux serial device, or not opened
    On,           // the flag was set by this open
    AlreadyOn,    // the driver had it set
    Unsupported,  // the device has no such setting (TIOCGSERIAL refused)
    Refused,      // the setting exists but changing it was refused (no permission)
};

// The ioctl the decision uses; injectable so that the decision can be tested without an
// adapter. Returns what ioctl(2) returns.
using SerialIoctl = std::function<int(int fd, unsigned long request, void* argument)>;

// The system's ioctl(2).
SerialIoctl SystemIoctl();

// Asks the device open on fd for low latency. Never fails the open: a refusal is only
// reported.
LowLatency RequestLowLatency(int fd, const SerialIoctl& ioctl = SystemIoctl());

// A short English description for `gatectl info`: "on", "already on", "not supported by the
// device", "refused (no permission)", "not asked".
QString LowLatencyText(LowLatency state);

// The adapter's latency timer in milliseconds as sysfs tells it
// (sysRoot/class/tty/NAME/device/latency_timer); nothing when the device has none.
std::optional<int> LatencyTimerMs(const QString& deviceName,
                                  const QString& sysRoot = QStringLiteral("/sys"));

}  // namespace gate
