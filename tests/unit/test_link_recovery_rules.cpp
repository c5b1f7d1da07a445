#include <QTest>

#include "gate/link_target.h"
#include "gate/link_timing.h"
#include "gate/reconnect_schedule.h"

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

}  // namespace

Q_DECLARE_METATYPE(SerialDevice)

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
        QVERIFY(schedule.Lost());
        QVERIFY(schedule.TryDue());  // a new loss: at once again
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
};

QTEST_MAIN(TestLinkRecoveryRules)
#include "test_link_recovery_rules.moc"
