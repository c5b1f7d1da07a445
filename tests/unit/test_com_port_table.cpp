#include <QTemporaryDir>
#include <QTest>

#include "gate/com_port_table.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>

using gate::ComPortTable;
using gate::SerialDevice;
using namespace Qt::StringLiterals;

namespace {

// Ports as a system would report them, by name: "ttyUSB0" lives at /dev/ttyUSB0, "COM3" at
// \\.\COM3.
QList<SerialDevice> devicesNamed(const QStringList& names) {
    QList<SerialDevice> devices;
    for (const QString& name : names) {
        SerialDevice d;
        d.name = name;
        d.path = name.startsWith(u"COM") ? QStringLiteral("\\\\.\\") + name
                                         : QStringLiteral("/dev/") + name;
        devices.append(d);
    }
    return devices;
}

// "N=name" for every COM number of the table.
QStringList numbering(const ComPortTable& table) {
    QStringList out;
    for (const int n : table.Numbers()) {
        out << QString::number(n) + u'=' + table.Device(n)->name;
    }
    return out;
}

}  // namespace

class TestComPortTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseMapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringLiteral("3=/dev/pts/7") << 3
                               << QStringLiteral("/dev/pts/7");
        QTest::newRow("upper bound") << QStringLiteral("255=/x") << 255 << QStringLiteral("/x");
        QTest::newRow("path with equals")
            << QStringLiteral("2=/a=b") << 2 << QStringLiteral("/a=b");
        QTest::newRow("zero refused") << QStringLiteral("0=/x") << -1 << QString();
        QTest::newRow("256 refused") << QStringLiteral("256=/x") << -1 << QString();
        QTest::newRow("no path") << QStringLiteral("4=") << -1 << QString();
        QTest::newRow("no number") << QStringLiteral("=/x") << -1 << QString();
        QTest::newRow("not a number") << QStringLiteral("COM4=/x") << -1 << QString();
    }
    void parseMapping() {
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(QString, path);
        const auto m = ComPortTable::ParseMapping(text);
        QCOMPARE(m.has_value(), number > 0);
        if (m) {
            QCOMPARE(m->first, number);
            QCOMPARE(m->second, path);
        }
    }

    // The numbering rule over the ports a system reports, in the order it reports them.
    void numberingRule_data() {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("USB adapters, then USB modems, then UARTs, by device number")
            << QStringList{u"ttyS1"_s, u"ttyACM0"_s, u"ttyUSB10"_s, u"ttyS0"_s, u"ttyUSB2"_s}
            << QStringList{u"1=ttyUSB2"_s, u"2=ttyUSB10"_s, u"3=ttyACM0"_s, u"4=ttyS0"_s,
                           u"5=ttyS1"_s};
        QTest::newRow("other serial ports come last, by name")
            << QStringList{u"ttyAMA0"_s, u"rfcomm1"_s, u"ttyS0"_s, u"ttyCH341USB0"_s}
            << QStringList{u"1=ttyS0"_s, u"2=rfcomm1"_s, u"3=ttyAMA0"_s, u"4=ttyCH341USB0"_s};
        QTest::newRow("Windows ports keep their numbers")
            << QStringList{u"COM10"_s, u"COM3"_s, u"COM1"_s}
            << QStringList{u"1=COM1"_s, u"3=COM3"_s, u"10=COM10"_s};
        QTest::newRow("a Windows port beyond 255 is left out")
            << QStringList{u"COM256"_s, u"COM255"_s} << QStringList{u"255=COM255"_s};
        QTest::newRow("named numbers are kept, the rest fill the gaps")
            << QStringList{u"ttyUSB0"_s, u"COM1"_s, u"ttyUSB1"_s}
            << QStringList{u"1=COM1"_s, u"2=ttyUSB0"_s, u"3=ttyUSB1"_s};
        QTest::newRow("no ports") << QStringList{} << QStringList{};
    }
    void numberingRule() {
        QFETCH(QStringList, reported);
        QFETCH(QStringList, expected);
        const ComPortTable table = ComPortTable::Discover([&] { return devicesNamed(reported); });
        QCOMPARE(numbering(table), expected);
    }

    // A discovered port keeps what the system says of it; the device path is what opens.
    void discoveredPortsKeepTheirIdentity() {
        SerialDevice adapter;
        adapter.name = QStringLiteral("ttyUSB0");
        adapter.path = QStringLiteral("/dev/ttyUSB0");
        adapter.description = QStringLiteral("USB-Serial Controller");
        adapter.manufacturer = QStringLiteral("Prolific");
        adapter.serialNumber = QStringLiteral("A9XK31");
        adapter.vendorId = 0x067B;
        adapter.productId = 0x2303;
        const ComPortTable table = ComPortTable::Discover([&] { return QList{adapter, adapter}; });
        QCOMPARE(table.Numbers(), QList<int>{1});
        QCOMPARE(table.Device(1), std::optional<SerialDevice>(adapter));
        QCOMPARE(table.DevicePath(1), QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(!table.Device(2).has_value());
    }

    // Ports given by path carry only their path and name; discovery asks the lister it is given,
    // so tests never see the machine's real devices.
    void mappedAndDiscovered() {
        const ComPortTable mapped(
            QMap<int, QString>{{5, QStringLiteral("/tmp/a")}, {9, QStringLiteral("/tmp/b")}});
        QCOMPARE(mapped.Numbers(), (QList<int>{5, 9}));
        QCOMPARE(mapped.DevicePath(9), QStringLiteral("/tmp/b"));
        QCOMPARE(mapped.Device(9)->name, QStringLiteral("b"));
        QCOMPARE(mapped.DevicePath(1), QString());

        int listed = 0;
        const gate::SerialDeviceLister lister = [&] {
            ++listed;
            return devicesNamed({QStringLiteral("ttyUSB0")});
        };
        const auto discovered = ComPortTable::Discover(lister);
        QCOMPARE(listed, 1);
        QCOMPARE(discovered.DevicePath(1), QStringLiteral("/dev/ttyUSB0"));
    }

    void probe() {
        // A pseudo-terminal stands in for a serial device.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nothing"));
        const ComPortTable table(QMap<int, QString>{{1, slave}, {2, missing}});
        QVERIFY(table.PortExists(1));
        QVERIFY(!table.PortExists(2));
        QVERIFY(!table.PortExists(3));
        QVERIFY(!table.PortExists(0));
        ::close(master);
    }
};

QTEST_APPLESS_MAIN(TestComPortTable)
#include "test_com_port_table.moc"
