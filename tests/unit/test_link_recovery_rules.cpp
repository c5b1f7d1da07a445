#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

#include "gate/controller_identity.h"
#include "gate/link_target.h"
#include "gate/link_timing.h"
#include "gate/reconnect_schedule.h"
#include "gate/serial_low_latency.h"

using gate::ReconnectSchedule;
using gate::SerialDevice;
using State = ReconnectSchedule::State;

namespace {

SerialDevice Device(const char* path, const char* serial, std::optional<quint16> vendor,
                    std::optional<quint16> product = std::nullopt) {
    SerialDevice d;
    d.path = QString::fromLatin1(path);
    d.serialNumber = QString::fromLatin1(serial);
    d.vendorId = vendor;
    d.productId = product;
    return d;
}

// A detailed-identity reply payload: product, major, minor, serial.
QByteArray DetailedInfo(int major, const char* serialHex) {
    return QByteArray::fromHex("31") + QByteArray(1, char(major)) + QByteArray(1, char(2)) +
           QByteArray::fromHex(serialHex);
}

}  // namespace

Q_DECLARE_METATYPE(SerialDevice)
Q_DECLARE_METATYPE(gate::IdentityCheck)

class TestLinkRecoveryRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Tries come from calls: the first call after the loss tries at once, then at most one a
    // second; an open or a close by hand ends the tries.
    void scheduleTriesAtMostOnceASecond() {
        qint64 now = 50'000;
        ReconnectSchedule schedule([&] { return now; }, gate::LinkTiming{}.reopenIntervalMs);
        QVERIFY(!schedule.TryDue());  // nothing opened yet
        QVERIFY(!schedule.Lost());
        schedule.Opened();
        QVERIFY(!schedule.TryDue());  // up: nothing to try
        QVERIFY(schedule.Lost());
        QVERIFY(!schedule.Lost());  // told once
        QVERIFY(schedule.TryDue());
        QVERIFY(!schedule.TryDue());
        now += 999;
        QVERIFY(!schedule.TryDue());
        now += 1;
        QVERIFY(schedule.TryDue());
        QCOMPARE(schedule.Tries(), 2);
        schedule.Opened();
        QCOMPARE(schedule.Current(), State::Up);
        // Back and lost again at once: the interval holds across the reopen, so a line that
        // comes back and drops straight away is not tried at every call.
        QVERIFY(schedule.Lost());
        QVERIFY(!schedule.TryDue());
        now += 1000;
        QVERIFY(schedule.TryDue());
        schedule.Opened();
        now += 60'000;
        QVERIFY(schedule.Lost());
        QVERIFY(schedule.TryDue());  // a loss long after the last try: at once again
        schedule.Closed();
        now += 10'000;
        QVERIFY(!schedule.TryDue());
        QCOMPARE(schedule.Current(), State::Idle);
    }

    void adapterFoundByIdentity_data() {
        QTest::addColumn<SerialDevice>("wanted");
        QTest::addColumn<QList<SerialDevice>>("present");
        QTest::addColumn<QString>("found");  // empty: none
        const SerialDevice adapter = Device("/dev/ttyUSB0", "A1B2", 0x0403, 0x6001);
        QTest::newRow("back under another name")
            << adapter
            << QList<SerialDevice>{Device("/dev/ttyUSB0", "Z9", 0x0403, 0x6001),
                                   Device("/dev/ttyUSB1", "A1B2", 0x0403, 0x6001)}
            << "/dev/ttyUSB1";
        QTest::newRow("old name taken by another adapter, ours away")
            << adapter << QList<SerialDevice>{Device("/dev/ttyUSB0", "Z9", 0x0403, 0x6001)} << "";
        QTest::newRow("same serial number, other vendor")
            << adapter << QList<SerialDevice>{Device("/dev/ttyUSB1", "A1B2", 0x1a86)} << "";
        QTest::newRow("product unknown on one side")
            << adapter << QList<SerialDevice>{Device("/dev/ttyACM0", "A1B2", 0x0403)}
            << "/dev/ttyACM0";
        QTest::newRow("two claim the identity: neither is taken")
            << adapter
            << QList<SerialDevice>{Device("/dev/ttyUSB1", "A1B2", 0x0403, 0x6001),
                                   Device("/dev/ttyUSB2", "A1B2", 0x0403, 0x6001)}
            << "";
        QTest::newRow("no serial number: never looked up")
            << Device("/dev/ttyUSB0", "", 0x1a86, 0x7523)
            << QList<SerialDevice>{Device("/dev/ttyUSB1", "", 0x1a86, 0x7523)} << "";
    }
    void adapterFoundByIdentity() {
        QFETCH(SerialDevice, wanted);
        QFETCH(QList<SerialDevice>, present);
        QFETCH(QString, found);
        const auto device = gate::FindAdapter(wanted, present);
        QCOMPARE(device ? device->path : QString(), found);
    }

    // The identity a reopened link must show, against the one read at the open.
    void reopenedControllerProvenTheSame_data() {
        QTest::addColumn<int>("openedResult");
        QTest::addColumn<QByteArray>("openedPayload");
        QTest::addColumn<int>("nowResult");
        QTest::addColumn<QByteArray>("nowPayload");
        QTest::addColumn<gate::IdentityCheck>("check");
        using gate::IdentityCheck;
        const QByteArray a = DetailedInfo(7, "01020304");
        const QByteArray b = DetailedInfo(7, "01020305");
        const QByteArray old = DetailedInfo(6, "00000000");
        QTest::newRow("same serial number") << 0 << a << 0 << a << IdentityCheck::Same;
        QTest::newRow("another serial number") << 0 << a << 0 << b << IdentityCheck::Other;
        QTest::newRow("a version 6 where a serial number was")
            << 0 << a << 0 << old << IdentityCheck::Other;
        QTest::newRow("invalid command where a serial number was")
            << 0 << a << 8 << QByteArray() << IdentityCheck::Other;
        QTest::newRow("silence after the reopen")
            << 0 << a << 48 << QByteArray() << IdentityCheck::NotProven;
        QTest::newRow("self-test after the reopen")
            << 0 << a << 6 << QByteArray() << IdentityCheck::NotProven;
        QTest::newRow("short reply") << 0 << a << 0 << a.left(5) << IdentityCheck::NotProven;
        QTest::newRow("two version 6 controllers look alike")
            << 0 << old << 0 << DetailedInfo(6, "AABBCCDD") << IdentityCheck::Same;
        QTest::newRow("a serial number where none was")
            << 0 << old << 0 << a << IdentityCheck::Other;
        QTest::newRow("nothing known at the open: the new one is taken")
            << 48 << QByteArray() << 0 << b << IdentityCheck::Same;
    }
    void reopenedControllerProvenTheSame() {
        QFETCH(int, openedResult);
        QFETCH(QByteArray, openedPayload);
        QFETCH(int, nowResult);
        QFETCH(QByteArray, nowPayload);
        QFETCH(gate::IdentityCheck, check);
        QCOMPARE(gate::CheckReopenedIdentity(gate::IdentityFromReply(openedResult, openedPayload),
                                             gate::IdentityFromReply(nowResult, nowPayload)),
                 check);
    }

    // The identity a reopen looks for is the one of the device opened, kept only when no other
    // present device claims it.
    void adapterIdentityTakenAtTheOpen_data() {
        QTest::addColumn<QList<SerialDevice>>("present");
        QTest::addColumn<QString>("serial");  // the identity kept; empty: reopened by path
        const SerialDevice b = Device("/dev/ttyUSB0", "B7", 0x0403, 0x6001);
        QTest::newRow("swapped since start-up: the device now at the path")
            << QList<SerialDevice>{Device("/dev/ttyUSB1", "A1B2", 0x0403, 0x6001), b} << "B7";
        QTest::newRow("a twin with the same factory serial number")
            << QList<SerialDevice>{b, Device("/dev/ttyUSB3", "B7", 0x0403, 0x6001)} << "";
        QTest::newRow("same serial number, other product: unique")
            << QList<SerialDevice>{b, Device("/dev/ttyUSB3", "B7", 0x0403, 0x6015)} << "B7";
        QTest::newRow("not reported by the system") << QList<SerialDevice>{} << "";
    }
    void adapterIdentityTakenAtTheOpen() {
        QFETCH(QList<SerialDevice>, present);
        QFETCH(QString, serial);
        const SerialDevice opened = gate::AdapterAsOpened(QStringLiteral("/dev/ttyUSB0"), present);
        QCOMPARE(opened.path, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(opened.serialNumber, serial);
        QCOMPARE(gate::HasAdapterIdentity(opened), !serial.isEmpty());
    }

#ifdef Q_OS_LINUX
    // Low latency is asked for on every serial open; what the driver answers decides the
    // outcome, and the flag is set only when it was not set already.
    void lowLatencyRequest_data() {
        QTest::addColumn<bool>("getFails");
        QTest::addColumn<int>("flagsBefore");
        QTest::addColumn<bool>("setFails");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("sets");
        QTest::newRow("adapter grants it") << false << 0 << false << int(gate::LowLatency::On) << 1;
        QTest::newRow("already set by the driver")
            << false << int(ASYNC_LOW_LATENCY) << false << int(gate::LowLatency::AlreadyOn) << 0;
        QTest::newRow("no permission to change it")
            << false << 0 << true << int(gate::LowLatency::Refused) << 1;
        QTest::newRow("pseudo-terminal: no such setting")
            << true << 0 << false << int(gate::LowLatency::Unsupported) << 0;
    }
    void lowLatencyRequest() {
        QFETCH(bool, getFails);
        QFETCH(int, flagsBefore);
        QFETCH(bool, setFails);
        QFETCH(int, expected);
        QFETCH(int, sets);
        int setCalls = 0;
        int flagsSet = -1;
        bool baseKept = false;
        const gate::SerialIoctl fake = [&](int fd, unsigned long request, void* argument) {
            if (fd != 7) {
                return -1;
            }
            auto* settings = static_cast<serial_struct*>(argument);
            if (request == TIOCGSERIAL) {
                if (getFails) {
                    return -1;
                }
                settings->flags = flagsBefore;
                settings->baud_base = 24000000;
                return 0;
            }
            if (request == TIOCSSERIAL) {
                ++setCalls;
                flagsSet = settings->flags;
                baseKept = settings->baud_base == 24000000;  // the rest of the settings kept
                return setFails ? -1 : 0;
            }
            return -1;
        };
        QCOMPARE(int(gate::RequestLowLatency(7, fake)), expected);
        QCOMPARE(setCalls, sets);
        if (sets > 0) {
            QCOMPARE(flagsSet & int(ASYNC_LOW_LATENCY), int(ASYNC_LOW_LATENCY));
            QVERIFY(baseKept);
        }
        QCOMPARE(int(gate::RequestLowLatency(-1, fake)), int(gate::LowLatency::NotAsked));
    }
#endif

    void latencyTimerFromSysfs() {
        QTemporaryDir sys;
        QVERIFY(QDir(sys.path()).mkpath(QStringLiteral("class/tty/ttyUSB0/device")));
        QFile timer(sys.filePath(QStringLiteral("class/tty/ttyUSB0/device/latency_timer")));
        QVERIFY(timer.open(QIODevice::WriteOnly));
        timer.write("16\n");
        timer.close();
        QCOMPARE(gate::LatencyTimerMs(QStringLiteral("ttyUSB0"), sys.path()), std::optional(16));
        QCOMPARE(gate::LatencyTimerMs(QStringLiteral("ttyS0"), sys.path()), std::nullopt);
        QCOMPARE(gate::LatencyTimerMs(QStringLiteral("../ttyUSB0"), sys.path()), std::nullopt);
    }
};

QTEST_MAIN(TestLinkRecoveryRules)
#include "test_link_recovery_rules.moc"
