#include <QTest>

#include "demo_simulator.h"
#include "gate_simulator.h"
#include "if2_frame.h"
#include "scenario.h"
#include "sim_line_client.h"

#include "util/conversions.h"

#include <QTemporaryDir>

using gate::wire::Request;

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(text);
}

// A simulator with TCP on a free loopback port and the main line on a pseudo-terminal.
struct Rig {
    sim::GateSimulator simulator;
    std::unique_ptr<SimLineClient> line;
    std::uint8_t sequence = 0;

    bool Start(const QString& transport, sim::SimulatorOptions options = {}) {
        options.tcpPort = 0;
        options.pty = true;
        QString error;
        if (!simulator.Start(options, &error)) {
            qWarning("start: %s", qPrintable(error));
            return false;
        }
        return Connect(transport);
    }
    bool Connect(const QString& transport) {
        QString error;
        const sim::SimulatorEndpoints ends = simulator.Endpoints();
        line.reset();
        line = transport == QLatin1String("tcp") ? ConnectTcp(ends.tcpPort, &error)
                                                 : OpenPty(ends.ptyPath, &error);
        if (!line) {
            qWarning("connect: %s", qPrintable(error));
        }
        return line != nullptr;
    }
    SimLineClient::Outcome Call(int command, const QByteArray& payload = {}, int timeoutMs = 2000) {
        return line->Exchange(
            Request{0xFF, static_cast<std::uint8_t>(command), ++sequence, payload}, timeoutMs);
    }
};

void AddTransports() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("tcp") << QStringLiteral("tcp");
    QTest::newRow("pty") << QStringLiteral("pty");
}

}  // namespace

class TestGateSimLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Every operation gets a result-0 reply of the expected size over both lines.
    void everyOperationAnswers_data() { AddTransports(); }
    void everyOperationAnswers() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.Start(transport));
        rig.simulator.WithModel([](sim::ControllerModel& m) {
            m.PushChannelMessage(3, Hex("0c0506090807"));
            m.PushEasMessage(0x21, Hex("0c0506090807"));
            m.AppendRecord(4, Hex("0c0506090807"));
        });
        const struct {
            int command;
            const char* payload;
            int replySize;
        } ops[] = {
            {0x1A, "", 7},
            {0x1F, "", 0},
            {0x03, "81", 1},
            {0x1B, "", 7},
            {0x1F, "", 0},
            {0x03, "80", 1},
            {0x1C, "", 7},
            {0x01, "", 3},
            {0x02, "", 7},
            {0x03, "00", 1},
            {0x04, "", 0},
            {0x05, "", 0},
            {0x06, "05000000", 0},
            {0x07, "01010101010100", 0},
            {0x08, "0c0506090807", 6},
            {0x09, "", 6},
            {0x0A, "02", 0},
            {0x0B, "", 1},
            {0x0C, "", 1},
            {0x0D, "", 2},
            {0x0E, "1e000a0502030001", 0},
            {0x0F, "", 8},
            {0x10, "000000", 3},
            {0x11, "00000000", 4},
            {0x12, "0000", 1},
            {0x13, "00", 1},
            {0x14, "00", 1},
            {0x15, "81", 1},
            {0x16, "01", 0},
            {0x17, "00", 0},
            {0x18, "00", 46},
            {0x19, "", 45},
            {0x1D, "01000000", 13},  // the clock-set record
            {0x1C, "", 13},
            {0x1F, "", 0},
            {0x1E, "", 16},
            {0x20, "0102030405060708000204", 10},
        };
        for (const auto& op : ops) {
            QByteArray payload = Hex(op.payload);
            if (op.command == 0x19) {
                payload = QByteArray(45, '\x02');
            }
            const auto out = rig.Call(op.command, payload);
            const QByteArray what = QByteArray::number(op.command, 16);
            QVERIFY2(out.reply.has_value(), what.constData());
            QVERIFY2(out.reply->result == 0, what.constData());
            QVERIFY2(out.reply->payload.size() == op.replySize, what.constData());
        }
    }

    void faults_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("expect");
        for (const char* t : {"tcp", "pty"}) {
            const QString transport = QLatin1String(t);
            auto row = [&](const char* name, const char* fault, const char* expect) {
                QTest::newRow(qPrintable(transport + QLatin1Char(' ') + QLatin1String(name)))
                    << transport << QString::fromLatin1(fault) << QString::fromLatin1(expect);
            };
            row("drop", "drop", "silence");
            row("corrupt-crc", "corrupt-crc", "damaged");
            row("truncate", "truncate", "silence");
            row("garbage", "garbage", "reply");
            row("delay", "delay 300", "late");
            row("busy", "busy", "busy");
            row("result", "result 6", "code 6");
            row("disconnect", "disconnect", "hang-up");
        }
    }
    // Each fault spoils exactly the next reply, which the client sees within its timeout; the
    // reply after it is whole again.
    void faults() {
        QFETCH(QString, transport);
        QFETCH(QString, fault);
        QFETCH(QString, expect);
        Rig rig;
        QVERIFY(rig.Start(transport));
        sim::Fault f;
        int count = 0;
        QString why;
        const QStringList words = fault.split(QLatin1Char(' '));
        QVERIFY2(sim::ParseFault(words[0], words.mid(1), f, count, &why), qPrintable(why));
        rig.simulator.AddFault(f, count);

        const int timeoutMs =
            expect == QLatin1String("silence") || expect == QLatin1String("damaged") ? 800 : 3000;
        if (expect == QLatin1String("hang-up")) {
            const auto out = rig.Call(0x01, {}, 500);
            QVERIFY(!out.reply.has_value());
            QVERIFY(rig.line->HungUp(3000));
            QVERIFY(rig.Connect(transport));
        } else {
            const auto out = rig.Call(0x01, {}, timeoutMs);
            if (expect == QLatin1String("silence")) {
                QVERIFY(!out.reply.has_value());
                QVERIFY(!out.damaged);
            } else if (expect == QLatin1String("damaged")) {
                QVERIFY(!out.reply.has_value());
                QVERIFY(out.damaged);
            } else if (expect == QLatin1String("late")) {
                QVERIFY(out.reply.has_value());
                QVERIFY2(out.elapsedMs >= 280, qPrintable(QString::number(out.elapsedMs)));
            } else if (expect == QLatin1String("busy")) {
                QVERIFY(out.reply.has_value());
                QCOMPARE(int(out.reply->result), 51);
                QVERIFY(out.reply->payload.isEmpty());
            } else if (expect == QLatin1String("code 6")) {
                QVERIFY(out.reply.has_value());
                QCOMPARE(int(out.reply->result), 6);
            } else {
                QVERIFY(out.reply.has_value());
                QCOMPARE(out.reply->payload, Hex("310702"));
            }
        }
        const auto after = rig.Call(0x01);
        QVERIFY(after.reply.has_value());
        QCOMPARE(int(after.reply->result), 0);
        QCOMPARE(after.reply->payload, Hex("310702"));
    }

    // A dropped request is not executed, a busy one neither.
    void droppedAndBusyRequestsAreNotExecuted_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("drop") << QStringLiteral("drop");
        QTest::newRow("busy") << QStringLiteral("busy");
    }
    void droppedAndBusyRequestsAreNotExecuted() {
        QFETCH(QString, fault);
        Rig rig;
        QVERIFY(rig.Start(QStringLiteral("tcp")));
        sim::Fault f;
        int count = 0;
        QVERIFY(sim::ParseFault(fault, {}, f, count, nullptr));
        rig.simulator.AddFault(f);
        rig.Call(0x0A, Hex("01"), 700);
        QCOMPARE(rig.Call(0x0B).reply->payload, Hex("01"));
    }

    // Garbage in front of a request, and a broken request, do not hide the next request.
    void resynchronisesAfterGarbage_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QByteArray>("garbage");
        QByteArray broken = gate::wire::EncodeRequest(Request{0xFF, 0x09, 200, {}});
        broken[broken.size() - 1] = static_cast<char>(broken[broken.size() - 1] ^ 0x11);
        for (const char* t : {"tcp", "pty"}) {
            const QString tr = QLatin1String(t);
            QTest::newRow(qPrintable(tr + QStringLiteral(" noise")))
                << tr << QByteArray("\x00\x13\xa5\xa5\x01\x02\xff", 7);
            QTest::newRow(qPrintable(tr + QStringLiteral(" broken request"))) << tr << broken;
            QTest::newRow(qPrintable(tr + QStringLiteral(" cut request")))
                << tr << gate::wire::EncodeRequest(Request{0xFF, 0x09, 201, {}}).left(4);
        }
    }
    void resynchronisesAfterGarbage() {
        QFETCH(QString, transport);
        QFETCH(QByteArray, garbage);
        Rig rig;
        QVERIFY(rig.Start(transport));
        const auto out = rig.line->ExchangeAfter(garbage, Request{0xFF, 0x01, 77, {}}, 3000);
        QVERIFY(out.reply.has_value());
        QCOMPARE(out.reply->payload, Hex("310702"));
    }

    // Opening and closing the device does not hang the line up.
    void ptySurvivesReopen() {
        Rig rig;
        QVERIFY(rig.Start(QStringLiteral("pty")));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(rig.Connect(QStringLiteral("pty")));
            QVERIFY(rig.Call(0x01).reply.has_value());
        }
    }

    void ptySymbolicLink() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("gate"));
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcp = false;
        options.pty = true;
        options.ptyLink = link;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        QCOMPARE(QFileInfo(link).symLinkTarget(), simulator.Endpoints().ptyPath);
        auto line = OpenPty(link, &error);
        QVERIFY(line);
        QVERIFY(line->Exchange(Request{0xFF, 0x01, 1, {}}).reply.has_value());
        simulator.Stop();
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }

    // At 9600 baud the 55-byte alarm reply needs about 57 ms on the line.
    void ptyOutputIsPacedAtBaudRate() {
        Rig rig;
        sim::SimulatorOptions options;
        options.baud = 9600;
        QVERIFY(rig.Start(QStringLiteral("pty"), options));
        const auto out = rig.Call(0x18, Hex("00"));
        QVERIFY(out.reply.has_value());
        QVERIFY2(out.elapsedMs >= 45, qPrintable(QString::number(out.elapsedMs)));
    }

    void if2ReportsOnTheirOwnPty() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcp = false;
        options.if2Pty = true;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        auto line = OpenPty(simulator.Endpoints().if2PtyPath, &error);
        QVERIFY(line);
        const sim::Uid8 uid{1, 2, 3, 4, 5, 6, 7, 8};
        simulator.WithModel([&](sim::ControllerModel& m) {
            m.EmitIf2(sim::If2TagReport(uid, sim::Clock6{12, 5, 6, 9, 8, 7}));
        });
        QByteArray got;
        QElapsedTimer t;
        t.start();
        while (got.size() < 20 && t.elapsed() < 3000) {
            got += line->Read(200);
        }
        QCOMPARE(got.size(), 20);
        QCOMPARE(int(got[0]), 20);
        QCOMPARE(got.mid(3, 8), Hex("0102030405060708"));
        QCOMPARE(got.mid(12, 6), Hex("0c0506090807"));
        QVERIFY(util::CheckCrcTrailer(got));
    }

    void scenarioPlaysOnTime() {
        QString error;
        auto scenario = sim::ParseScenario(QStringLiteral("at 0 channel 3 0c0506090807\n"
                                                          "at 200 fault busy\n"),
                                           &error);
        QVERIFY2(scenario, qPrintable(error));
        Rig rig;
        sim::SimulatorOptions options;
        options.scenario = scenario;
        QVERIFY(rig.Start(QStringLiteral("tcp"), options));
        // The message is there from the start; the busy fault comes 200 ms later.
        QCOMPARE(rig.Call(0x1A).reply->payload, Hex("030c0506090807"));
        QCOMPARE(int(rig.Call(0x1F).reply->result), 0);
        QElapsedTimer t;
        t.start();
        bool armed = false;
        while (!armed && t.elapsed() < 3000) {
            QTest::qWait(20);
            armed = rig.simulator.Shared().With(
                [](sim::ControllerModel&, sim::FaultPlan& f) { return !f.Empty(); });
        }
        QVERIFY(armed);
        QVERIFY2(t.elapsed() >= 100, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(int(rig.Call(0x01).reply->result), 51);
    }

    void demoSimulatorProducesTraffic() {
        QString error;
        auto demo = sim::StartDemoSimulator(&error, 7);
        QVERIFY2(demo, qPrintable(error));
        QVERIFY(demo->tcpPort != 0);
        QVERIFY(!demo->ptyPath.isEmpty());
        QVERIFY(!demo->if2PtyPath.isEmpty());
        auto line = ConnectTcp(demo->tcpPort, &error);
        QVERIFY(line);
        std::uint8_t seq = 0;
        int messages = 0;
        QElapsedTimer t;
        t.start();
        while (messages < 2 && t.elapsed() < 15000) {
            const auto out = line->Exchange(Request{0xFF, 0x1A, ++seq, {}});
            QVERIFY(out.reply.has_value());
            QCOMPARE(int(out.reply->result), 0);
            if (out.reply->payload != Hex("ff")) {
                QVERIFY(int(out.reply->payload[0]) <= 4);
                ++messages;
                line->Exchange(Request{0xFF, 0x1F, ++seq, {}});
            } else {
                QTest::qWait(100);
            }
        }
        QCOMPARE(messages, 2);
    }
};

QTEST_GUILESS_MAIN(TestGateSimLines)
#include "test_gate_sim_lines.moc"
