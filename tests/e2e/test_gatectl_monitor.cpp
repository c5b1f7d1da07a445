// gatectl monitor against gate-sim: events written to the daily journal through an
// acknowledgement lost with its connection and through a restart of the simulator's line on the
// same port; every event comes out exactly once, and SIGTERM ends the run cleanly.
#include "gate_simulator.h"
#include "gatectl_runner.h"
#include "golden_records.h"
#include "model_settings.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr sim::Byte kPassageTimeout = 3;
constexpr std::uint8_t kAcknowledge = 0x1F;
constexpr std::uint8_t kBuzzerAndLed = 0x07;

// Passage time-out number n: its time's seconds tell the events apart.
QByteArray Event(int n) {
    return GoldenBody({24, 5, 6, 9, 8, n});
}

QStringList JournalLines(const QString& dir) {
    QStringList lines;
    for (const QString& name : QDir(dir).entryList({QStringLiteral("*.jsonl")}, QDir::Files)) {
        QFile f(QDir(dir).filePath(name));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& l : f.readAll().split('\n')) {
                if (!l.isEmpty()) {
                    lines << QJsonDocument::fromJson(l)
                                 .object()
                                 .value(QStringLiteral("line"))
                                 .toString();
                }
            }
        }
    }
    return lines;
}

}  // namespace

class TestGatectlMonitor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingLostOrDoubledThroughARestart() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        options.tcpPort = simulator.Endpoints().tcpPort;
        const auto queued = [&] {
            return simulator.WithModel(
                [](sim::ControllerModel& m) { return m.ChannelQueue().Size(); });
        };
        const auto push = [&](int from, int to) {
            simulator.WithModel([&](sim::ControllerModel& m) {
                for (int n = from; n <= to; ++n) {
                    m.PushChannelMessage(kPassageTimeout, Event(n));
                }
                return 0;
            });
        };

        QTemporaryDir dir;
        QProcess monitor;
        QByteArray err;
        connect(&monitor, &QProcess::readyReadStandardError, this,
                [&] { err += monitor.readAllStandardError(); });
        monitor.start(QStringLiteral(GATECTL_PATH),
                      {QStringLiteral("monitor"), QStringLiteral("--tcp"),
                       TcpArgument(options.tcpPort), QStringLiteral("--format"),
                       QStringLiteral("jsonl"), QStringLiteral("--output"), dir.path()});
        QVERIFY(monitor.waitForStarted());

        // The first acknowledgement is lost with its connection: the message must neither come
        // back as a second line nor stay in the controller.
        simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0, kAcknowledge});
        push(1, 4);
        QTRY_COMPARE_WITH_TIMEOUT(JournalLines(dir.path()).size(), 4, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(queued(), 0, 5000);

        // The line goes down; events keep coming while it is; it comes back on the same port.
        simulator.Stop();
        push(5, 8);
        QTRY_VERIFY_WITH_TIMEOUT(err.count("link lost") == 2, 5000);
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(JournalLines(dir.path()).size(), 8, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(queued(), 0, 5000);

        monitor.terminate();  // SIGTERM
        QVERIFY(monitor.waitForFinished(5000));
        QCOMPARE(monitor.exitStatus(), QProcess::NormalExit);
        QCOMPARE(monitor.exitCode(), 0);

        QStringList expected;
        for (int n = 1; n <= 8; ++n) {
            expected
                << QStringLiteral("2024-05-06 09:08:%1  通过超时").arg(n, 2, 10, QLatin1Char('0'));
        }
        QCOMPARE(JournalLines(dir.path()), expected);
        QCOMPARE(err.count("reconnected"), 2);
        simulator.Stop();
    }

    // Watching only: the controller delivers each message three times and then drops it; each
    // is printed once, and none is deleted by an acknowledgement.
    void watchingWithoutAcknowledgingPrintsEachOnce() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(kPassageTimeout, Event(1));
            m.PushChannelMessage(kPassageTimeout, Event(2));
            return 0;
        });
        QProcess monitor;
        monitor.start(QStringLiteral(GATECTL_PATH),
                      {QStringLiteral("monitor"), QStringLiteral("--tcp"),
                       TcpArgument(simulator.Endpoints().tcpPort), QStringLiteral("--no-ack")});
        QVERIFY(monitor.waitForStarted());
        // Gone from the queue only by being delivered three times each.
        QTRY_COMPARE_WITH_TIMEOUT(simulator.WithModel([](sim::ControllerModel& m) {
            return static_cast<int>(m.ChannelQueue().Dropped());
        }),
                                  2, 10000);
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(5000));
        QCOMPARE(monitor.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(monitor.readAllStandardOutput()),
                 QStringLiteral("2024-05-06 09:08:01  通过超时\n2024-05-06 09:08:02  通过超时\n"));
        simulator.Stop();
    }

    // A tagged passage whose lamp and buzzer command gets no reply: the passage line and both
    // tag-data lines are written (before the acknowledgement), and the message, acknowledged
    // once, is not written again.
    void tagLinesWrittenWhenTheLampCommandFails() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        simulator.AddFault(sim::Fault{sim::Fault::Kind::Drop, 0, 0, kBuzzerAndLed});
        simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(0, QByteArray::fromHex("0123456789ABCDEF31180506090807A1B2"));
            return 0;
        });
        QProcess monitor;
        monitor.start(QStringLiteral(GATECTL_PATH),
                      {QStringLiteral("monitor"), QStringLiteral("--tcp"),
                       TcpArgument(simulator.Endpoints().tcpPort), QStringLiteral("--led-buzzer"),
                       QStringLiteral("1,1,1,1,1,1")});
        QVERIFY(monitor.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(
            simulator.WithModel([](sim::ControllerModel& m) { return m.ChannelQueue().Size(); }), 0,
            10000);
        QTest::qWait(500);  // polls after it: the message must not be written again
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(5000));
        QCOMPARE(monitor.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(monitor.readAllStandardOutput()),
                 QStringLiteral("2024-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向\n"
                                "2024-05-06 09:08:07  0123456789ABCDEF\n"
                                "          A1B2\n"));
        simulator.Stop();
    }

    // Every fetch drops the connection; the mode read after each reopen still answers. The
    // back-off grows instead of starting over at each reopen: about one connection a second
    // at most, not two.
    void backoffGrowsWhileEveryPollDropsTheLink() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        constexpr std::uint8_t kGetChannelMessage = 0x1A;
        simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0, kGetChannelMessage},
                           1000);
        QProcess monitor;
        monitor.start(QStringLiteral(GATECTL_PATH),
                      {QStringLiteral("monitor"), QStringLiteral("--tcp"),
                       TcpArgument(simulator.Endpoints().tcpPort)});
        QVERIFY(monitor.waitForStarted());
        QTest::qWait(4500);
        const int connections = simulator.TcpConnectionsAccepted();
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(5000));
        QCOMPARE(monitor.exitCode(), 0);
        const QByteArray err = monitor.readAllStandardError();
        QVERIFY2(connections >= 3 && connections <= 5,
                 qPrintable(QString::number(connections) + u'\n' + QString::fromUtf8(err)));
        QVERIFY(err.count("reconnected") >= 2);
        simulator.Stop();
    }

    // The link comes back to another controller (another serial number behind the module):
    // the run ends with exit code 3 and says why; nothing is fetched from that controller.
    void anotherControllerAfterAReopenEndsTheRun() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        QProcess monitor;
        monitor.start(QStringLiteral(GATECTL_PATH),
                      {QStringLiteral("monitor"), QStringLiteral("--tcp"),
                       TcpArgument(simulator.Endpoints().tcpPort)});
        QVERIFY(monitor.waitForStarted());
        QByteArray err;
        connect(&monitor, &QProcess::readyReadStandardError, this,
                [&] { err += monitor.readAllStandardError(); });
        QTRY_VERIFY_WITH_TIMEOUT(err.contains("polling"), 5000);
        // The next request drops the line (before it runs); then the other controller is there.
        simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0});
        simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(kPassageTimeout, Event(1));
            return sim::ApplySetting(m, QStringLiteral("serial"), QStringLiteral("0A0B0C0D"));
        });
        QVERIFY(monitor.waitForFinished(10000));
        err += monitor.readAllStandardError();
        QCOMPARE(monitor.exitCode(), 3);
        QVERIFY2(err.contains("another controller") && err.contains("0A0B0C0D"), err.constData());
        QCOMPARE(simulator.WithModel([](sim::ControllerModel& m) {
            return static_cast<int>(m.ChannelQueue().Size());
        }),
                 1);
        QVERIFY(monitor.readAllStandardOutput().isEmpty());
        simulator.Stop();
    }
};

QTEST_GUILESS_MAIN(TestGatectlMonitor)
#include "test_gatectl_monitor.moc"
