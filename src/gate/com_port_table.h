#pragma once

#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace gate {

// One serial port as the system reports it. Ports given on the command line carry only their
// path and name; discovered ones also say what they are, so that a USB adapter can be told
// apart from another (vendor, product, serial number).
struct SerialDevice {
    QString path;  // what to open: "/dev/ttyUSB0", "\\.\COM3"
    QString name;  // the system's name: "ttyUSB0", "COM3"
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;

    bool operator==(const SerialDevice&) const = default;
};

// Lists the serial ports of the machine; injectable so that tests never see real devices.
using SerialDeviceLister = std::function<QList<SerialDevice>()>;

// The ports the system reports (QSerialPortInfo): device files on Linux, COMn on Windows.
QList<SerialDevice> SystemSerialDevices();

// The console thinks in COM numbers (1 to 255). The table maps them onto serial devices by one
// rule, fixed when it is built at start-up from the ports the system reports:
//   - a port named "COMn" (every port on Windows) keeps its number n;
//   - USB serial adapters (ttyUSB*) first, then USB modems (ttyACM*), then the on-board UARTs
//     that really exist (ttyS*), each group in ascending device number, take the lowest free
//     numbers in that order: COM1, COM2, ...;
//   - any other serial port the system reports (ttyAMA0, ttyCH341USB0, rfcomm0, ...) comes
//     after them, ordered by name and then by device number.
// So a Linux machine with one USB adapter calls it COM1 whatever else it has. The option
// "--com N=PATH" (repeatable) maps COM number N onto any path and, when given, replaces the
// discovered table; tests and the simulator's pseudo-terminals are reached that way.
// On Windows a COM number that is not in the table still opens as "\\.\COMn", so a port
// plugged in after start-up is reachable by its number.
class ComPortTable {
public:
    ComPortTable() = default;
    // Ports known only by their paths, as "--com N=PATH" gives them.
    explicit ComPortTable(const QMap<int, QString>& paths);

    // The numbering rule above applied to the given ports.
    static ComPortTable Numbered(const QList<SerialDevice>& devices);

    // The table of this machine by the rule above.
    static ComPortTable Discover(const SerialDeviceLister& lister = SystemSerialDevices);

    // "N=PATH" with N from 1 to 255.
    static std::optional<std::pair<int, QString>> ParseMapping(const QString& text);

    // The device path of a COM number; empty when the table has none.
    QString DevicePath(int comNumber) const;

    // What the table knows of a COM number's device; nothing when the number is not mapped.
    std::optional<SerialDevice> Device(int comNumber) const;

    // The serial port probe: true when the device of the COM number can be opened for reading
    // and writing (it is closed again at once), or when the system refuses it because it is
    // busy or not permitted (the port exists but another program or user holds it).
    bool PortExists(int comNumber) const;

    QList<int> Numbers() const { return devices_.keys(); }

    // Points a COM number at a device (a USB adapter found again under another name).
    void SetDevice(int comNumber, SerialDevice device) { devices_.insert(comNumber, device); }

    // Maps the lowest COM number not yet in the table onto path and returns it (0 when all 255
    // are taken).
    int MapFirstFree(const QString& path);
    bool IsEmpty() const { return devices_.isEmpty(); }

private:
    QMap<int, SerialDevice> devices_;
};

}  // namespace gate
