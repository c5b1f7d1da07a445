// gate-sim's steady load: the schedule of due messages, the queue stamp in the UID (which the
// bridge benchmark reads back), and a real run on several controllers that stops at its count.
#include "gate_simulator.h"
#include "steady_traffic.h"

#include <QTest>

#include <chrono>

namespace {

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

class TestSteadyTraffic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dueMessages_data() {
        QTest::addColumn<qint64>("elapsedUs");
        QTest::addColumn<int>("rate");
        QTest::addColumn<qint64>("offsetUs");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<qint64>("due");
        QTest::newRow("before its offset")
            << qint64(999) << 10 << qint64(1000) << qint64(0) << qint64(0);
        QTest::newRow("at its offset, the first")
            << qint64(1000) << 10 << qint64(1000) << qint64(0) << qint64(1);
        QTest::newRow("just before the second")
            << qint64(100999) << 10 << qint64(1000) << qint64(0) << qint64(1);
        QTest::newRow("at the second")
            << qint64(101000) << 10 << qint64(1000) << qint64(0) << qint64(2);
        QTest::newRow("ten seconds at 10/s")
            << qint64(10000000) << 10 << qint64(0) << qint64(0) << qint64(101);
        QTest::newRow("bounded by its count")
            << qint64(10000000) << 10 << qint64(0) << qint64(30) << qint64(30);
        QTest::newRow("a rate that does not divide a second")
            << qint64(1000000) << 3 << qint64(0) << qint64(0) << qint64(4);
        QTest::newRow("an hour at 1000/s, no overflow")
            << qint64(3600000000) << 1000 << qint64(0) << qint64(0) << qint64(3600001);
    }
    void dueMessages() {
        QFETCH(qint64, elapsedUs);
        QFETCH(int, rate);
        QFETCH(qint64, offsetUs);
        QFETCH(qint64, count);
        QFETCH(qint64, due);
        QCOMPARE(sim::DueMessages(elapsedUs, rate, offsetUs, count), due);
    }

    void stampIsTheMarkerThenSevenBytesMostSignificantFirst() {
        const std::int64_t us = 0x0006123456789ABCLL;
        const sim::Uid8 uid = sim::StampUid(us);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(uid.data()), 8).toHex().toUpper(),
                 QByteArray("B506123456789ABC"));
        QCOMPARE(sim::UidStamp(uid), std::optional<std::int64_t>(us));
        sim::Uid8 other = uid;
        other[0] = 0xE0;  // a tag of the demo traffic carries no stamp
        QVERIFY(!sim::UidStamp(other));
    }

    void everyControllerQueuesItsCountOfStampedPassages() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        options.tcpLines = 3;
        options.steadyRate = 200;
        options.steadyCount = 6;
        const std::int64_t startUs = NowUs();
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        const auto queued = [&](std::size_t i) {
            return simulator.WithModelOf(
                i, [](sim::ControllerModel& m) { return m.ChannelQueue().Size(); });
        };
        for (std::size_t i = 0; i < 3; ++i) {
            QTRY_COMPARE_WITH_TIMEOUT(queued(i), 6, 5000);
        }
        const std::int64_t endUs = NowUs();
        QTest::qWait(100);  // at 200/s, 20 more would be due by now without the count
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(queued(i), 6);
            std::int64_t previous = 0;
            for (int n = 0; n < 6; ++n) {
                const auto [kind, body] = simulator.WithModelOf(i, [](sim::ControllerModel& m) {
                    const sim::LiveMessage* front = m.ChannelQueue().Fetch();
                    const auto out = std::make_pair(front->kind, front->body);
                    m.ChannelQueue().Remove(front->id);
                    return out;
                });
                QCOMPARE(kind, sim::Byte(0));
                QCOMPARE(body.size(), 15);     // UID, passage byte, time
                QCOMPARE(body.at(8), '\x01');  // forward, no tag data
                sim::Uid8 uid{};
                std::copy(body.begin(), body.begin() + 8, uid.begin());
                const auto stamp = sim::UidStamp(uid);
                QVERIFY(stamp);
                QVERIFY(*stamp >= startUs && *stamp <= endUs);
                QVERIFY(*stamp >= previous);
                previous = *stamp;
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSteadyTraffic)
#include "test_steady_traffic.moc"
