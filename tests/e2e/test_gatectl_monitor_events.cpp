// gatectl monitor --format events against gate-sim: each message comes out as gate-bridge's
// event object (the fields and lines of core/monitor's structured event), with ids unique in the
// run, also for the messages the console shows nothing for, and every message is acknowledged;
// --no-ack is refused before anything is sent.
#include "core/monitor/live_event.h"
#include "gate_simulator.h"
#include "gatectl_runner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTest>

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

}  // namespace

class TestGatectlMonitorEvents : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyMessageIsTheBridgesEventObject() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        // A tagged passage with tag data, a no-person report and its repeat (the console shows
        // the repeat not at all), statistics, and an unknown kind.
        const QList<std::pair<int, QByteArray>> messages{
            {0, Hex("0123456789ABCDEF 31 180506090807 0A0B0C0D0E0F1011")},
            {0, Hex("0000000000000000 01 180506090808")},
            {0, Hex("0000000000000000 01 180506090809")},
            {1, Hex("0300 0200 0100 0500 18050609080A")},
            {9, Hex("0102")},
        };
        const auto queued = [&] {
            return simulator.WithModel(
                [](sim::ControllerModel& m) { return m.ChannelQueue().Size(); });
        };
        simulator.WithModel([&](sim::ControllerModel& m) {
            for (const auto& [kind, body] : messages) {
                m.PushChannelMessage(sim::Byte(kind), body);
            }
            return 0;
        });
        const QString tcp = TcpArgument(simulator.Endpoints().tcpPort);

        // Refused as input: the controller is not touched.
        const GatectlResult refused = RunGatectl(
            {QStringLiteral("monitor"), QStringLiteral("--tcp"), tcp, QStringLiteral("--format"),
             QStringLiteral("events"), QStringLiteral("--no-ack")});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.Err().contains(QStringLiteral("--no-ack")), qPrintable(refused.Err()));
        QCOMPARE(queued(), messages.size());

        QProcess monitor;
        QByteArray out;
        connect(&monitor, &QProcess::readyReadStandardOutput, this,
                [&] { out += monitor.readAllStandardOutput(); });
        monitor.start(
            QStringLiteral(GATECTL_PATH),
            {QStringLiteral("monitor"), QStringLiteral("--tcp"), tcp, QStringLiteral("--format"),
             QStringLiteral("events"), QStringLiteral("--gate"), QStringLiteral("door-2")});
        QVERIFY(monitor.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(out.count('\n'), messages.size(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(queued(), 0, 3000);  // every one acknowledged
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(5000));
        QCOMPARE(monitor.exitCode(), 0);

        const QList<QByteArray> lines = out.trimmed().split('\n');
        QCOMPARE(lines.size(), messages.size());
        QString marker;
        QSet<QString> ids;
        QString run;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QJsonObject got = QJsonDocument::fromJson(lines.at(i)).object();
            const QString id = got.take(QStringLiteral("id")).toString();
            const QString received = got.take(QStringLiteral("received")).toString();
            QVERIFY2(QDateTime::fromString(received, Qt::ISODateWithMs).isValid(),
                     qPrintable(received));
            // <run>-<gate>-<n>: one run prefix, counted from 1.
            const QString suffix = QStringLiteral("-door-2-%1").arg(i + 1);
            QVERIFY2(id.endsWith(suffix), qPrintable(id));
            if (run.isEmpty()) {
                run = id.chopped(suffix.size());
                QVERIFY(!run.isEmpty());
            }
            QCOMPARE(id, run + suffix);
            ids.insert(id);

            const auto& [kind, body] = messages.at(i);
            monitor::LiveEventInput in;
            in.gate = QStringLiteral("door-2");
            in.kind = kind;
            in.body = monitor::MessageBody(body);
            in.lines =
                monitor::LiveMessageLines(false, kind, in.body, marker, util::TextTable::Source());
            QJsonObject expected = monitor::LiveEventObject(in);
            expected.remove(QStringLiteral("id"));
            expected.remove(QStringLiteral("received"));
            QCOMPARE(got, expected);
        }
        QCOMPARE(ids.size(), messages.size());
        // What the console leaves out is there, with no lines: the repeat and the unknown kind.
        QCOMPARE(QJsonDocument::fromJson(lines.at(2)).object().value(QStringLiteral("lines")),
                 QJsonValue(QJsonArray()));
        QCOMPARE(QJsonDocument::fromJson(lines.at(4)).object().value(QStringLiteral("event")),
                 QJsonValue(QStringLiteral("unknown")));
    }
};

QTEST_GUILESS_MAIN(TestGatectlMonitorEvents)
#include "test_gatectl_monitor_events.moc"
