#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace gate {

// The console thinks in COM numbers (1 to 255). On Linux a COM number maps onto a device path
// by one rule, fixed when the table is built at start-up:
//   USB serial adapters (/dev/ttyUSB*) first, then USB modems (/dev/ttyACM*), then the on-board
//   UARTs that really exist (/dev/ttyS*), each group in ascending device number, get COM1,
//   COM2, ... in that order.
// So a machine with one USB adapter calls it COM1 whatever else it has. The option
// "--com N=PATH" (repeatable) maps COM number N onto any path and, when given, replaces the
// discovered table; tests and the simulator's pseudo-terminals are reached that way.
// On Windows COM n is the device "\\.\COMn" and the table is not consulted.
class ComPortTable {
public:
    ComPortTable() = default;
    explicit ComPortTable(QMap<int, QString> paths) : paths_(std::move(paths)) {}

    // The table of this machine by the rule above.
    static ComPortTable Discover();

    // "N=PATH" with N from 1 to 255.
    static std::optional<std::pair<int, QString>> ParseMapping(const QString& text);

    // The device path of a COM number; empty when the table has none.
    QString DevicePath(int comNumber) const;

    // The serial port probe: true when the device of the COM number can be opened for reading
    // and writing (it is closed again at once), or when the system refuses it because it is
    // busy or not permitted (the port exists but another program or user holds it).
    bool PortExists(int comNumber) const;

    QList<int> Numbers() const { return paths_.keys(); }

    // Maps the lowest COM number not yet in the table onto path and returns it (0 when all 255
    // are taken).
    int MapFirstFree(const QString& path) {
        for (int n = 1; n <= 255; ++n) {
            if (!paths_.contains(n)) {
                paths_.insert(n, path);
                return n;
            }
        }
        return 0;
    }
    bool IsEmpty() const { return paths_.isEmpty(); }

private:
    QMap<int, QString> paths_;
};

}  // namespace gate
