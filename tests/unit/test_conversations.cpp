#include <QTest>

#include "core/netcfg/conversations.h"
#include "core/netcfg/ipv4_text.h"

using netcfg::Burst;
using netcfg::BurstItem;

namespace {

QByteArrayList Datagrams(const Burst& b) {
    QByteArrayList list;
    for (const BurstItem& i : b.items) {
        list.append(i.datagram);
    }
    return list;
}

netcfg::ModuleSettings Sample() {
    netcfg::ModuleSettings s;
    s.UserName = "u";
    s.DeviceName = "d";
    s.Mac = "M1";
    s.Ip = "198.18.0.9";
    s.SourcePort = "502";
    s.Protocol = "1";
    s.WorkMode = "0";
    s.ConnectMode = "1";
    s.ConnectTimeLimit = "30";
    s.RtsMode = "0";
    s.DtrMode = "1";
    s.BaudRate = "8";
    s.Parity = "2";
    s.DataBits = "1";
    s.OnTheFly = "0";
    s.MaxPackets = "512";
    s.MaxCharDelay = "20";
    s.DestIp = "198.18.0.1";
    s.DestPort = "4001";
    s.GatewayIp = "198.18.0.254";
    s.NetMask = "255.255.255.0";
    return s;
}

}  // namespace

class TestConversations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readExchangeOrderAndPauses() {
        const auto plan = netcfg::ReadExchangePlan();
        QCOMPARE(plan.size(), 24);
        QCOMPARE(plan[0].datagram, QByteArray("X"));
        QCOMPARE(plan[0].handling, netcfg::ReplyHandling::SearchReply);
        QVERIFY(plan[1].namesModule && plan[1].enableBroadcastFirst);
        QCOMPARE(plan[1].pauseMs, 100);
        QCOMPARE(plan[2].datagram, QByteArray("L"));
        QCOMPARE(plan[2].pauseMs, 50);
        QCOMPARE(plan[3].datagram, QByteArray("GON|1"));
        QCOMPARE(plan[3].pauseMs, 10);
        QByteArrayList queries;
        for (qsizetype i = 3; i < plan.size(); ++i) {
            queries.append(plan[i].datagram);
            QCOMPARE(plan[i].pauseMs, (i == 3 ? 10 : i <= 6 ? 50 : 0));
            QCOMPARE(plan[i].handling, netcfg::ReplyHandling::Parameter);
        }
        QCOMPARE(queries.join(' '),
                 QByteArray("GON|1 GDN|2 GFE|3 GIP|4 GPN|5 GTP|6 GRM|7 GCM|8 GCT|9 GFC|10 "
                            "GDT|11 GBR|12 GPR|13 GBB|14 GRC|15 GML|16 GMD|17 GDI|18 GDP|19 "
                            "GGI|20 GNM|21"));
        QCOMPARE(netcfg::TotalPauseMs(plan), 310);
    }

    void writeExchangeTwoPasses() {
        const auto plan = netcfg::WriteExchangePlan(Sample(), QStringLiteral("198.18.0.7"));
        QCOMPARE(plan.size(), 2);
        const QByteArrayList sets = netcfg::SetCommands(Sample());
        QCOMPARE(sets.size(), 20);
        QCOMPARE(sets.first(), QByteArray("SONu|18"));
        QCOMPARE(sets[3], QByteArray("SPN502|21"));
        QCOMPARE(sets[7], QByteArray("SBR8|25"));
        QCOMPARE(sets.last(), QByteArray("SIP198.18.0.9|37"));

        // Pass 1 goes to the listed address, not the edited one.
        QVERIFY(!plan[0].broadcast);
        QCOMPARE(plan[0].destination, QStringLiteral("198.18.0.7"));
        QCOMPARE(Datagrams(plan[0]), QByteArrayList{"L"} + sets + QByteArrayList{"E"});
        QCOMPARE(plan[0].items.first().pauseMs, 50);
        QCOMPARE(plan[0].items.last().pauseMs, 500);

        QVERIFY(plan[1].broadcast);
        QCOMPARE(Datagrams(plan[1]), QByteArrayList({"WM1", "LM1"}) + sets + QByteArrayList{"E"});
        QCOMPARE(plan[1].items[0].pauseMs, 100);
        QCOMPARE(plan[1].items[1].pauseMs, 50);
        QCOMPARE(plan[1].items.last().pauseMs, 10);
        for (qsizetype i = 2; i < 22; ++i) {
            QCOMPARE(plan[1].items[i].pauseMs, 10);
        }
        QCOMPARE(netcfg::TotalPauseMs(plan), 750 + 360);
    }

    void changeIpSendsOnlyTheAddress() {
        const auto plan =
            netcfg::ChangeIpExchangePlan(QStringLiteral("198.18.0.7"), "M1", "198.18.0.50");
        QCOMPARE(plan.size(), 2);
        QCOMPARE(plan[0].destination, QStringLiteral("198.18.0.7"));
        QCOMPARE(
            plan[0].items,
            (QList<BurstItem>{{"X", 100}, {"L", 50}, {"SIP198.18.0.50|34", 10}, {"E|35", 200}}));
        QVERIFY(plan[1].broadcast);
        QCOMPARE(
            plan[1].items,
            (QList<BurstItem>{{"WM1", 100}, {"L", 50}, {"SIP198.18.0.50|34", 100}, {"E|35", 0}}));
    }

    void dottedIpv4_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << QStringLiteral("198.18.0.2") << true;
        QTest::newRow("leading zeros read as decimal") << QStringLiteral("010.1.1.1") << true;
        QTest::newRow("empty first field") << QStringLiteral(".1.1.1") << false;
        QTest::newRow("empty last field") << QStringLiteral("1.1.1.") << false;
        QTest::newRow("field above 255") << QStringLiteral("1.1.1.256") << false;
        QTest::newRow("three fields") << QStringLiteral("1.1.1") << false;
        QTest::newRow("host name") << QStringLiteral("localhost") << false;
        QTest::newRow("sign") << QStringLiteral("+1.1.1.1") << false;
    }
    void dottedIpv4() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(netcfg::ParseDottedIpv4(text).has_value(), valid);
    }

    void compactIp_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("compact");
        QTest::addColumn<bool>("emptyMiddle");
        QTest::newRow("blank entry")
            << QStringLiteral("   .   .   .   ") << QStringLiteral("...") << true;
        QTest::newRow("padded fields")
            << QStringLiteral("198.18 .1  .7  ") << QStringLiteral("198.18.1.7") << false;
        QTest::newRow("empty middle field")
            << QStringLiteral("198.   .0  .1  ") << QStringLiteral("198..0.1") << true;
        QTest::newRow("empty last field passes")
            << QStringLiteral("198.18 .0  .   ") << QStringLiteral("198.18.0.") << false;
    }
    void compactIp() {
        QFETCH(QString, entry);
        QFETCH(QString, compact);
        QFETCH(bool, emptyMiddle);
        QCOMPARE(netcfg::CompactIp(entry), compact);
        QCOMPARE(netcfg::HasEmptyMiddleField(compact), emptyMiddle);
    }

    void octetCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank mask passes") << QStringLiteral("   .   .   .   ") << QString();
        QTest::newRow("partly typed field passes")
            << QStringLiteral("3  .   .   .   ") << QString();
        QTest::newRow("300 in first field")
            << QStringLiteral("300.   .   .   ") << QStringLiteral("错误: 300是错误的地址");
        QTest::newRow("300 in last field")
            << QStringLiteral("1  .2  .3  .300") << QStringLiteral("错误: 300是错误的地址");
        QTest::newRow("first bad field only")
            << QStringLiteral("256.999.   .   ") << QStringLiteral("错误: 256是错误的地址");
        QTest::newRow("255 passes") << QStringLiteral("255.255.255.255") << QString();
        QTest::newRow("short text stops early") << QStringLiteral("12") << QString();
    }
    void octetCheck() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QCOMPARE(netcfg::OctetCheck(text).value_or(QString()), message);
    }
};

QTEST_GUILESS_MAIN(TestConversations)
#include "test_conversations.moc"
