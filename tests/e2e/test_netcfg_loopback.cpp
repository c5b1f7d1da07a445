// Conversations of the console against module-sim over loopback: unicast to 127.0.0.1, and the
// "broadcast" destination injected as 127.0.0.1 so that nothing leaves the machine.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "core/netcfg/exchanges.h"
#include "core/netcfg/netcfg_session.h"
#include "module_sim_fixture.h"

using netcfg::NetcfgSession;

namespace {

constexpr QByteArrayView kMac = "00-0E-C6-AA-BB-01";

void AimAt(NetcfgSession& session, const LoopbackModule& module, int windowMs = 1000) {
    session.Target().broadcastAddress = QStringLiteral("127.0.0.1");
    session.Target().port = module.server.Port();
    session.Timing().windowMs = windowMs;
    QVERIFY(session.OpenConfigEndpoint());
    session.ConfigEndpoint().SetDestination(QStringLiteral("127.0.0.1"), module.server.Port());
}

}  // namespace

class TestNetcfgLoopback : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readExchangeFillsSettings_data() {
        QTest::addColumn<int>("delayMs");
        QTest::newRow("module answers at once") << 0;
        QTest::newRow("module answers late within the window") << 120;
    }
    void readExchangeFillsSettings() {
        QFETCH(int, delayMs);
        LoopbackModule module(kMac.toByteArray());
        QVERIFY(module.listening);
        module.model.Switches().delayMs = delayMs;
        NetcfgSession session;
        AimAt(session, module);

        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    session.Settings(), session.Timing());
        QVERIFY(result.sent);
        QCOMPARE(result.requests, 24);
        QCOMPARE(result.acknowledged, 24);
        QCOMPARE(session.Settings(), module.model.Settings());
        // The module was named by the MAC it reported, then every query went out once.
        QCOMPARE(module.model.Received().mid(0, 4),
                 QByteArrayList({"X", "W" + kMac.toByteArray(), "L", "GON|1"}));
        QCOMPARE(module.model.Received().size(), 24);
    }

    // An earlier value survives a query that gets no answer; the query went out three times.
    void missingConnectionMethodReply() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().silentOn = {"CM"};
        NetcfgSession session;
        AimAt(session, module, 150);
        session.Settings().ConnectMode = "1";

        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    session.Settings(), session.Timing());
        QCOMPARE(result.acknowledged, 23);
        QCOMPARE(session.Settings().ConnectMode, QByteArray("1"));
        QCOMPARE(module.CountReceived("GCM|8"), 3);
        QCOMPARE(session.Settings().ConnectTimeLimit, module.model.Settings().ConnectTimeLimit);
        QCOMPARE(session.Settings().NetMask, module.model.Settings().NetMask);
    }

    // A reply with another number ends that query's wait but stores nothing.
    void wrongNumberReplyStoresNothing() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().wrongNumberOn = {"BR", "NM"};
        NetcfgSession session;
        AimAt(session, module, 150);
        session.Settings().NetMask = "earlier";

        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    session.Settings(), session.Timing());
        QCOMPARE(result.acknowledged, 24);
        QCOMPARE(module.CountReceived("GBR|12"), 1);
        QCOMPARE(module.CountReceived("GNM|21"), 1);
        QVERIFY(session.Settings().BaudRate.isEmpty());
        QCOMPARE(session.Settings().NetMask, QByteArray("earlier"));
        QCOMPARE(session.Settings().Parity, module.model.Settings().Parity);
    }

    // Search and read share LastReply: a search reply arriving while a query waits acknowledges
    // it, stores nothing for the query, and still lists its module.
    void lateSearchReplyTakenAsAcknowledgement() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().silentOn = {"ON"};
        LoopbackModule other("00-0E-C6-AA-BB-02", "late", "reply");
        NetcfgSession session;
        AimAt(session, module);
        QVERIFY(session.SearchEndpoint().Open());
        session.SearchEndpoint().SetDestination(QStringLiteral("127.0.0.1"), other.server.Port());
        connect(&module.server, &modulesim::ModuleServer::Received, this,
                [&session](const QByteArray& datagram) {
                    if (datagram == "GON|1") {
                        session.SearchEndpoint().Send("X");
                    }
                });

        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    session.Settings(), session.Timing());
        QCOMPARE(result.acknowledged, 24);
        QCOMPARE(module.CountReceived("GON|1"), 1);
        // The search handler wrote the other module's names; the query stored nothing over them.
        QCOMPARE(session.Settings().UserName, QByteArray("late"));
        QCOMPARE(session.Settings().DeviceName, module.model.Settings().DeviceName);
        QCOMPARE(session.Rows().Rows().size(), 1);
        QCOMPARE(session.Rows().Rows().first().mac, QByteArray("00-0E-C6-AA-BB-02"));
    }

    void writeSendsAllSetsInBothPasses() {
        LoopbackModule module(kMac.toByteArray());
        NetcfgSession session;
        AimAt(session, module);
        netcfg::ModuleSettings written = module.model.Settings();
        written.UserName = "";
        written.SourcePort = "502";
        written.BaudRate = "8";
        written.DestIp = "127.0.0.9";

        QElapsedTimer timer;
        timer.start();
        const auto plan = netcfg::WriteExchangePlan(written, QStringLiteral("127.0.0.1"));
        const auto result = netcfg::RunBursts(session.ConfigEndpoint(), plan, session.Target());
        QVERIFY(result.sent);
        QVERIFY(timer.elapsed() >= netcfg::TotalPauseMs(plan));
        QTRY_COMPARE_WITH_TIMEOUT(module.model.Received().size(), 45, 5000);

        const QByteArrayList sets = netcfg::SetCommands(written);
        QCOMPARE(sets.size(), 20);
        for (const QByteArray& set : sets) {
            QCOMPARE(module.CountReceived(set), 2);
        }
        QCOMPARE(module.CountReceived("SON|18"), 2);
        QCOMPARE(module.model.Received().at(22), "W" + kMac.toByteArray());
        QCOMPARE(module.model.Received().at(23), "L" + kMac.toByteArray());
        QCOMPARE(module.model.Settings(), written);
    }

    void flashTakesTheFirstReply() {
        LoopbackModule module(kMac.toByteArray(), "u", "d");
        NetcfgSession session;
        AimAt(session, module);
        const auto result =
            netcfg::RunFlash(session.ConfigEndpoint(), session.Reply(), session.Settings(),
                             session.Target(), session.Timing());
        QCOMPARE(result.acknowledged, 1);
        QCOMPARE(module.model.FlashCount(), 1);
        QCOMPARE(session.Settings().Mac, kMac.toByteArray());
        QCOMPARE(session.Settings().Ip, QByteArray("127.0.0.1"));
        QCOMPARE(session.Settings().UserName, QByteArray("u"));
        QCOMPARE(session.Settings().DeviceName, QByteArray("d"));
    }

    // A module that refuses keeps the request waiting for an "A"; the search lists nothing.
    void refusalIsNoAcknowledgement() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().refuseWith = 'R';
        NetcfgSession session;
        AimAt(session, module, 100);
        QString error;
        const auto outcome = netcfg::AcknowledgedRequest(
            session.ConfigEndpoint(), session.Reply(), "X", 0, false, session.Timing(),
            [](const netcfg::ReplySlot&) { QFAIL("a refusal was taken"); }, &error);
        QCOMPARE(outcome, netcfg::RequestOutcome::Unanswered);
        QCOMPARE(module.CountReceived("X"), 3);

        bool opened = true;
        QVERIFY(session.Search([&opened] { opened = false; }).sent);
        QVERIFY(opened);
        QTRY_COMPARE(session.LastRefusalText(), QStringLiteral("设备拒绝执行命令"));
        QVERIFY(session.Rows().Rows().isEmpty());
    }

    void searchListsEachMacOnce() {
        LoopbackModule module(kMac.toByteArray(), "u", "d");
        NetcfgSession session;
        AimAt(session, module);
        QSignalSpy added(&session, &NetcfgSession::RowAdded);
        QVERIFY(session.Search([] { QFAIL("the search endpoint did not open"); }).sent);
        QVERIFY(session.SearchEndpoint().Send("X"));
        QTRY_COMPARE(module.CountReceived("X"), 2);
        QTRY_VERIFY(session.Reply().LastReply.startsWith('A'));
        // Both replies handled (two on the wire, one row).
        QTRY_VERIFY_WITH_TIMEOUT(session.Rows().Rows().size() == 1 && added.size() == 1, 2000);
        QTest::qWait(50);
        QCOMPARE(added.size(), 1);
        const netcfg::ModuleRow row = session.Rows().Rows().first();
        QCOMPARE(row, (netcfg::ModuleRow{1, kMac.toByteArray(), QStringLiteral("127.0.0.1"),
                                         QStringLiteral("u/d")}));
        QCOMPARE(session.Settings().Ip, QByteArray("127.0.0.1"));
    }

    void rejectedSendNamesTheAddress() {
        NetcfgSession session;
        QVERIFY(session.OpenConfigEndpoint());
        session.ConfigEndpoint().SetDestination(QStringLiteral("10.0.0."), 65535);
        netcfg::ModuleSettings settings;
        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    settings, session.Timing());
        QVERIFY(!result.sent);
        QCOMPARE(result.requests, 1);
        QVERIFY2(result.error.contains(u"10.0.0."), qPrintable(result.error));
    }

    // Every query of a silent module goes out three times (short window).
    void silentModuleGetsEveryRequestThreeTimes() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().silent = true;
        NetcfgSession session;
        AimAt(session, module, 10);
        const auto result = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                                    session.Settings(), session.Timing());
        QCOMPARE(result.acknowledged, 0);
        QTRY_COMPARE(module.model.Received().size(), 72);
        QCOMPARE(module.CountReceived("GNM|21"), 3);
    }

    // The real window: three attempts of 1000 ms each.
    void realWindowIsThreeSeconds() {
        LoopbackModule module(kMac.toByteArray());
        module.model.Switches().silent = true;
        NetcfgSession session;
        AimAt(session, module);
        QCOMPARE(session.Timing().windowMs, 1000);
        QElapsedTimer timer;
        timer.start();
        const auto outcome = netcfg::AcknowledgedRequest(
            session.ConfigEndpoint(), session.Reply(), "L", 0, false, session.Timing(),
            [](const netcfg::ReplySlot&) {}, nullptr);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(outcome, netcfg::RequestOutcome::Unanswered);
        QVERIFY2(elapsed >= 3000 && elapsed < 6000, qPrintable(QString::number(elapsed)));
        QCOMPARE(module.CountReceived("L"), 3);
    }
};

QTEST_GUILESS_MAIN(TestNetcfgLoopback)
#include "test_netcfg_loopback.moc"
