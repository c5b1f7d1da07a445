// Real broadcast on a private segment of network namespaces (run by netcfg_netns.sh, which
// creates the console and module hosts and starts module-sim on each). The console uses its
// fixed destinations: 255.255.255.255 and port 65535.
#include <QFile>
#include <QTest>

#include "core/netcfg/exchanges.h"
#include "core/netcfg/netcfg_session.h"

namespace {

struct ModuleHost {
    QString ip;
    QByteArray mac;
    QString log;
};

QList<ModuleHost> Hosts() {
    QList<ModuleHost> hosts;
    const QString modules = qEnvironmentVariable("NETCFG_NETNS_MODULES");
    for (const QString& entry : modules.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(u'=');
        if (parts.size() == 3) {
            hosts.append({parts[0], parts[1].toLatin1(), parts[2]});
        }
    }
    return hosts;
}

QByteArrayList LogLines(const ModuleHost& host) {
    QFile file(host.log);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().split('\n');
}

int CountLines(const ModuleHost& host, const QByteArray& line) {
    return static_cast<int>(LogLines(host).count(line));
}

}  // namespace

class TestNetcfgNetns : public QObject {
    Q_OBJECT
    QList<ModuleHost> hosts_;

private Q_SLOTS:
    void initTestCase() {
        hosts_ = Hosts();
        if (hosts_.size() != 3) {
            QSKIP("run through netcfg_netns.sh");
        }
    }

    void searchListsEachModuleOnceWithItsSender() {
        netcfg::NetcfgSession session;
        QCOMPARE(session.Target().broadcastAddress, QStringLiteral("255.255.255.255"));
        bool opened = true;
        const auto result = session.Search([&opened] { opened = false; });
        QVERIFY(opened);
        QVERIFY2(result.sent, qPrintable(result.error));
        QTRY_COMPARE_WITH_TIMEOUT(session.Rows().Rows().size(), 3, 10000);
        // A second "X" makes every module answer again; no row is added.
        QVERIFY(session.SearchEndpoint().Send("X"));
        for (const ModuleHost& h : hosts_) {
            QTRY_COMPARE_WITH_TIMEOUT(CountLines(h, "recv 198.18.0.1 X"), 2, 10000);
        }
        QTest::qWait(200);
        QCOMPARE(session.Rows().Rows().size(), 3);
        for (const ModuleHost& h : hosts_) {
            const auto& rows = session.Rows().Rows();
            const auto it =
                std::find_if(rows.begin(), rows.end(),
                             [&h](const netcfg::ModuleRow& r) { return r.mac == h.mac; });
            QVERIFY2(it != rows.end(), h.mac.constData());
            QCOMPARE(it->ip, h.ip);
        }
    }

    void flashReachesEveryModule() {
        netcfg::NetcfgSession session;
        QVERIFY(session.OpenConfigEndpoint());
        const auto result =
            netcfg::RunFlash(session.ConfigEndpoint(), session.Reply(), session.Settings(),
                             session.Target(), session.Timing());
        QVERIFY(result.sent);
        QCOMPARE(result.acknowledged, 1);
        QVERIFY(!session.Settings().Mac.isEmpty());
        for (const ModuleHost& h : hosts_) {
            QTRY_VERIFY_WITH_TIMEOUT(CountLines(h, "flash") >= 1, 10000);
        }
    }

    // Pass 1 goes to the listed address, pass 2 by broadcast naming the MAC: the named module
    // takes the settings twice, the others never.
    void writeReachesTheNamedModuleOnly() {
        const ModuleHost& target = hosts_[1];
        netcfg::NetcfgSession session;
        QVERIFY(session.OpenConfigEndpoint());
        session.ConfigEndpoint().SetDestination(target.ip, session.Target().port);
        auto read = netcfg::RunReadExchange(session.ConfigEndpoint(), session.Reply(),
                                            session.Settings(), session.Timing());
        QCOMPARE(read.acknowledged, 24);
        QCOMPARE(session.Settings().Mac, target.mac);
        session.Settings().Ip = "198.18.0.22";
        session.Settings().SourcePort = "502";
        const auto plan = netcfg::WriteExchangePlan(session.Settings(), target.ip);
        const auto result = netcfg::RunBursts(session.ConfigEndpoint(), plan, session.Target());
        QVERIFY2(result.sent, qPrintable(result.error));
        QTRY_COMPARE_WITH_TIMEOUT(CountLines(target, "applied IP=198.18.0.22"), 2, 10000);
        QCOMPARE(CountLines(target, "applied PN=502"), 2);
        for (const ModuleHost& h : {hosts_[0], hosts_[2]}) {
            QCOMPARE(CountLines(h, "recv 198.18.0.1 W" + target.mac), 1);
            QCOMPARE(CountLines(h, "applied PN=502"), 0);
        }
    }

    // The listed address is stale (the module has moved): only the broadcast pass, which names
    // the module by MAC, reaches it.
    void changeIpReachesAMovedModuleByMac() {
        const ModuleHost& target = hosts_[2];
        netcfg::NetcfgSession session;
        netcfg::UdpEndpoint changeIp;
        QVERIFY(changeIp.Open());
        const auto plan =
            netcfg::ChangeIpExchangePlan(QStringLiteral("198.18.0.99"), target.mac, "198.18.0.33");
        const auto result = netcfg::RunBursts(changeIp, plan, session.Target());
        QVERIFY2(result.sent, qPrintable(result.error));
        QTRY_COMPARE_WITH_TIMEOUT(CountLines(target, "applied IP=198.18.0.33"), 1, 10000);
        for (const ModuleHost& h : {hosts_[0], hosts_[1]}) {
            QTRY_COMPARE_WITH_TIMEOUT(CountLines(h, "recv 198.18.0.1 E|35"), 1, 10000);
            QCOMPARE(CountLines(h, "applied IP=198.18.0.33"), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestNetcfgNetns)
#include "test_netcfg_netns.moc"
