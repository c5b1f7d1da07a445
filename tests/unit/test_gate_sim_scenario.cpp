#include <QTest>

#include "model_settings.h"
#include "scenario.h"

using sim::ScenarioEvent;

class TestGateSimScenario : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("action");
        QTest::addColumn<qint64>("atMs");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("data");
        using A = ScenarioEvent::Action;
        QTest::newRow("record") << "at 10 record 3 0c0506090807" << int(A::Record) << qint64(10)
                                << 3 << QByteArray::fromHex("0c0506090807");
        QTest::newRow("channel, spaced hex") << "at 0 channel 0 01 02 03" << int(A::Channel)
                                             << qint64(0) << 0 << QByteArray::fromHex("010203");
        QTest::newRow("eas, hex kind") << "at 5 eas 0x21 0c0506090807" << int(A::Eas) << qint64(5)
                                       << 0x21 << QByteArray::fromHex("0c0506090807");
        QTest::newRow("empty body")
            << "at 1 channel 7 -" << int(A::Channel) << qint64(1) << 7 << QByteArray();
        QTest::newRow("if2") << "at 2 if2 0501020304" << int(A::If2) << qint64(2) << 0
                             << QByteArray::fromHex("0501020304");
        QTest::newRow("comment after the line")
            << "at 3 set mode eas # switch" << int(A::Set) << qint64(3) << 0 << QByteArray();
        QTest::newRow("fault") << "at 4 fault delay 700" << int(A::Fault) << qint64(4) << 0
                               << QByteArray();
    }
    void parsesLines() {
        QFETCH(QString, line);
        QFETCH(int, action);
        QFETCH(qint64, atMs);
        QFETCH(int, kind);
        QFETCH(QByteArray, data);
        QString error;
        const auto s = sim::ParseScenario(line, &error);
        QVERIFY2(s, qPrintable(error));
        QCOMPARE(int(s->events.size()), 1);
        const ScenarioEvent& e = s->events[0];
        QCOMPARE(int(e.action), action);
        QCOMPARE(qint64(e.atMs), atMs);
        QCOMPARE(int(e.kind), kind);
        QCOMPARE(e.data, data);
    }

    void refusesBadLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("no at") << "channel 3 00"
                               << "line 1: expected";
        QTest::newRow("bad time") << "at soon record 3 00"
                                  << "line 1: bad time";
        QTest::newRow("negative time") << "at -5 record 3 00"
                                       << "line 1: bad time";
        QTest::newRow("kind with a leading zero is decimal") << "at 0 record 09 0g"
                                                             << "line 1: bad hexadecimal";
        QTest::newRow("kind above a byte") << "at 0 record 256 00"
                                           << "line 1: bad kind";
        QTest::newRow("odd hex") << "at 0 channel 0 123"
                                 << "line 1: bad hexadecimal";
        QTest::newRow("not hex") << "at 0 channel 0 zz"
                                 << "line 1: bad hexadecimal";
        QTest::newRow("record of 18 bytes")
            << QStringLiteral("at 0 record 0 ") + QString(36, QLatin1Char('a')) << "longer than 17";
        QTest::newRow("message of 48 bytes")
            << QStringLiteral("at 0 channel 0 ") + QString(96, QLatin1Char('a'))
            << "longer than 47";
        QTest::newRow("unknown setting") << "# header\n\nat 0 set colour red"
                                         << "line 3: unknown setting";
        QTest::newRow("bad setting value") << "at 0 set full-policy sometimes"
                                           << "full-policy";
        QTest::newRow("unknown fault") << "at 0 fault explode"
                                       << "unknown fault";
        QTest::newRow("delay without time") << "at 0 fault delay"
                                            << "delay needs";
        QTest::newRow("fault with extra words") << "at 0 fault drop 2 3"
                                                << "too many";
        QTest::newRow("event without its words") << "at 0"
                                                 << "line 1: expected";
        QTest::newRow("unknown event") << "at 0 dance"
                                       << "line 1: unknown event";
        QTest::newRow("kind with a leading zero is decimal") << "at 0 record 09 0g"
                                                             << "line 1: bad hexadecimal";
    }
    void refusesBadLines() {
        QFETCH(QString, text);
        QFETCH(QString, error);
        QString why;
        QVERIFY(!sim::ParseScenario(text, &why));
        QVERIFY2(why.contains(error), qPrintable(why));
    }

    void ordersByTimeKeepingFileOrder() {
        QString error;
        const auto s = sim::ParseScenario(QStringLiteral("at 50 channel 1 01\n"
                                                         "at 10 channel 2 02\n"
                                                         "at 50 channel 3 03\n"),
                                          &error);
        QVERIFY(s);
        QCOMPARE(int(s->events.size()), 3);
        QCOMPARE(int(s->events[0].kind), 2);
        QCOMPARE(int(s->events[1].kind), 1);
        QCOMPARE(int(s->events[2].kind), 3);
    }

    void faultRepeatCount_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<int>("delay");
        QTest::newRow("once by default") << "at 0 fault busy" << 1 << 0;
        QTest::newRow("three drops") << "at 0 fault drop 3" << 3 << 0;
        QTest::newRow("delay twice") << "at 0 fault delay 250 2" << 2 << 250;
    }
    void faultRepeatCount() {
        QFETCH(QString, line);
        QFETCH(int, repeat);
        QFETCH(int, delay);
        const auto s = sim::ParseScenario(line, nullptr);
        QVERIFY(s);
        QCOMPARE(s->events[0].repeat, repeat);
        QCOMPARE(s->events[0].fault.delayMs, delay);
    }

    void eventsChangeTheModel() {
        const auto s = sim::ParseScenario(QStringLiteral("at 0 set record-capacity 2\n"
                                                         "at 0 record 3 0c0506090807\n"
                                                         "at 0 channel 4 0c0506090807\n"
                                                         "at 0 set mode eas\n"
                                                         "at 0 eas 0x22 0c0506090807\n"
                                                         "at 0 if2 0102\n"
                                                         "at 0 fault drop 2\n"),
                                          nullptr);
        QVERIFY(s);
        sim::ControllerModel model;
        sim::FaultPlan faults;
        for (const auto& e : s->events) {
            sim::ApplyScenarioEvent(e, model, faults);
        }
        QCOMPARE(model.Records().Capacity(), 2);
        QCOMPARE(model.Records().Count(), 1);
        QCOMPARE(model.ChannelQueue().Size(), 1);
        QCOMPARE(model.EasQueue().Size(), 1);
        QVERIFY(model.State().mode == sim::Mode::Eas);
        QCOMPARE(model.TakeIf2Output(), QByteArray::fromHex("0102"));
        QVERIFY(faults.TakeNext());
        QVERIFY(faults.TakeNext());
        QVERIFY(!faults.TakeNext());
    }

    void faultAfterCleanRepliesWaitsItsTurn() {
        sim::FaultPlan faults;
        faults.AddAfter(2, sim::Fault{sim::Fault::Kind::Busy});
        faults.Add(sim::Fault{sim::Fault::Kind::Drop});
        QVERIFY(!faults.TakeNext());
        QVERIFY(!faults.TakeNext());
        const auto busy = faults.TakeNext();
        QVERIFY(busy && busy->kind == sim::Fault::Kind::Busy);
        const auto drop = faults.TakeNext();
        QVERIFY(drop && drop->kind == sim::Fault::Kind::Drop);
        QVERIFY(faults.Empty());
    }

    // "on CMD" makes a fault wait for that command, letting every other request pass.
    void faultOnACommandWaitsForIt() {
        sim::Fault fault;
        int count = 0;
        QString why;
        QVERIFY2(
            sim::ParseFault(QStringLiteral("disconnect"),
                            {QStringLiteral("2"), QStringLiteral("on"), QStringLiteral("0x1F")},
                            fault, count, &why),
            qPrintable(why));
        QCOMPARE(count, 2);
        sim::FaultPlan faults;
        faults.Add(fault, count);
        QVERIFY(!faults.TakeNext(0x1A));
        QVERIFY(faults.TakeNext(0x1F));
        QVERIFY(!faults.TakeNext(0x1A));
        QVERIFY(faults.TakeNext(0x1F));
        QVERIFY(faults.Empty());
        QVERIFY(!sim::ParseFault(QStringLiteral("drop"),
                                 {QStringLiteral("on"), QStringLiteral("x")}, fault, count,
                                 nullptr));
    }

    void settingsChangeIdentity_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("version") << "version"
                                 << "6.09" << true;
        QTest::newRow("version without dot") << "version"
                                             << "7" << false;
        QTest::newRow("serial") << "serial"
                                << "0a0b0c0d" << true;
        QTest::newRow("serial too short") << "serial"
                                          << "0a0b" << false;
        QTest::newRow("address hex") << "address"
                                     << "0x1f" << true;
        QTest::newRow("broadcast address") << "address"
                                           << "255" << false;
        QTest::newRow("clock") << "clock"
                               << "120506090807" << true;
        QTest::newRow("clock on 31 February") << "clock"
                                              << "120231090807" << false;
    }
    void settingsChangeIdentity() {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        sim::ControllerModel model;
        QCOMPARE(sim::ApplySetting(model, name, value).isEmpty(), accepted);
    }
};

QTEST_GUILESS_MAIN(TestGateSimScenario)
#include "test_gate_sim_scenario.moc"
