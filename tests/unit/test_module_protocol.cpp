#include <QTest>

#include "core/netcfg/module_protocol.h"
#include "core/netcfg/parameter_codes.h"

using netcfg::SearchReply;

class TestModuleProtocol : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data() {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        using namespace netcfg;
        QTest::newRow("identify") << IdentifyCommand() << QByteArray("X");
        QTest::newRow("flash") << FlashCommand() << QByteArray("B");
        QTest::newRow("name by mac")
            << NameCommand("00-11-22-33-44-55") << QByteArray("W00-11-22-33-44-55");
        QTest::newRow("open plain") << OpenCommand() << QByteArray("L");
        QTest::newRow("open by mac") << OpenCommand("AB") << QByteArray("LAB");
        QTest::newRow("query user name")
            << QueryCommand(*FindParameter("ON")) << QByteArray("GON|1");
        QTest::newRow("query two-digit number")
            << QueryCommand(*FindParameter("NM")) << QByteArray("GNM|21");
        QTest::newRow("set source port") << SetCommand("PN", "502", 21) << QByteArray("SPN502|21");
        QTest::newRow("set empty user name") << SetCommand("ON", "", 18) << QByteArray("SON|18");
        QTest::newRow("end") << EndCommand() << QByteArray("E");
        QTest::newRow("end of change ip") << EndChangeIpCommand() << QByteArray("E|35");
    }
    void commands() {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built, expected);
    }

    void searchReply_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QByteArray>("mac");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("device");
        QTest::newRow("full reply")
            << QByteArray("A00-11-22-33-44-55/x/y*V2.3.01gate/door 1")
            << QByteArray("00-11-22-33-44-55") << QByteArray("gate") << QByteArray("door 1");
        QTest::newRow("bare A has no mac and no names")
            << QByteArray("A") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("no star: tail starts at position 8")
            << QByteArray("AMAC/xyuser/dev") << QByteArray("MAC") << QByteArray("user")
            << QByteArray("dev");
        QTest::newRow("tail without slash is all device name")
            << QByteArray("AM/*1234567devname") << QByteArray("M") << QByteArray()
            << QByteArray("devname");
        QTest::newRow("gbk names stay bytes")
            << QByteArray("AM/*1234567\xD5\xFD/\xCF\xF2") << QByteArray("M")
            << QByteArray("\xD5\xFD") << QByteArray("\xCF\xF2");
        QTest::newRow("star near the end leaves an empty tail")
            << QByteArray("AM/*12") << QByteArray("M") << QByteArray() << QByteArray();
        QTest::newRow("device part may itself hold a slash")
            << QByteArray("AM/*1234567u/d/e") << QByteArray("M") << QByteArray("u")
            << QByteArray("d/e");
    }
    void searchReply() {
        QFETCH(QByteArray, datagram);
        QFETCH(QByteArray, mac);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, device);
        QCOMPARE(netcfg::ParseSearchReply(datagram), (SearchReply{mac, user, device}));
    }

    void parameterReply_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("readNumber");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("matching one digit")
            << QByteArray("Agate|1") << 1 << true << QByteArray("gate");
        QTest::newRow("matching two digits")
            << QByteArray("A255.255.255.0|21") << 21 << true << QByteArray("255.255.255.0");
        QTest::newRow("empty value taken") << QByteArray("A|5") << 5 << true << QByteArray();
        QTest::newRow("other number stores nothing")
            << QByteArray("A3|9") << 8 << false << QByteArray();
        QTest::newRow("one digit only is compared for read numbers below 10")
            << QByteArray("Ax|12") << 1 << true << QByteArray("x");
        QTest::newRow("two digits compared from 10 on")
            << QByteArray("Ax|1") << 10 << false << QByteArray();
        QTest::newRow("no bar") << QByteArray("A00-11/x*1234567u/d") << 1 << false << QByteArray();
        QTest::newRow("value up to the first bar")
            << QByteArray("Aa|b|2") << 2 << false << QByteArray();
    }
    void parameterReply() {
        QFETCH(QByteArray, datagram);
        QFETCH(int, readNumber);
        QFETCH(bool, taken);
        QFETCH(QByteArray, value);
        const auto got = netcfg::TakeParameterReply(datagram, readNumber);
        QCOMPARE(got.has_value(), taken);
        if (taken) {
            QCOMPARE(*got, value);
        }
    }

    void acknowledgementAndRefusal_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("ack");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("A acknowledges") << QByteArray("A|3") << true << QString();
        QTest::newRow("lower-case a does not") << QByteArray("a") << false << QString();
        QTest::newRow("empty") << QByteArray() << false << QString();
        QTest::newRow("C") << QByteArray("C") << false << QStringLiteral("命令错误");
        QTest::newRow("R") << QByteArray("Rxx") << false << QStringLiteral("设备拒绝执行命令");
        QTest::newRow("D") << QByteArray("D") << false << QStringLiteral("与设备连接不上");
        QTest::newRow("F") << QByteArray("F") << false << QStringLiteral("命令执行失败");
    }
    void acknowledgementAndRefusal() {
        QFETCH(QByteArray, datagram);
        QFETCH(bool, ack);
        QFETCH(QString, refusal);
        QCOMPARE(netcfg::IsAcknowledgement(datagram), ack);
        QCOMPARE(netcfg::RefusalText(datagram, util::TextTable::Source()), refusal);
    }

    void moduleLabel_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("label");
        QTest::newRow("both names")
            << QStringLiteral("u") << QStringLiteral("d") << QStringLiteral("u/d");
        QTest::newRow("both empty") << QString() << QString() << QString();
        QTest::newRow("device exactly slash")
            << QStringLiteral("u") << QStringLiteral("/") << QString();
        QTest::newRow("only device") << QString() << QStringLiteral("d") << QStringLiteral("/d");
        QTest::newRow("only user") << QStringLiteral("u") << QString() << QStringLiteral("u/");
    }
    void moduleLabel() {
        QFETCH(QString, user);
        QFETCH(QString, device);
        QFETCH(QString, label);
        QCOMPARE(netcfg::ModuleLabel(user, device), label);
    }

    // Read numbers follow the read order 1..21; write numbers 18..37 with FE never written.
    void parameterTableNumbering() {
        const auto codes = netcfg::ParameterCodes();
        QCOMPARE(codes.size(), std::size_t{21});
        for (std::size_t i = 0; i < codes.size(); ++i) {
            QCOMPARE(codes[i].readNumber, static_cast<int>(i) + 1);
        }
        QStringList order;
        int expected = 18;
        for (const auto* p : netcfg::WritableParametersInWriteOrder()) {
            QCOMPARE(p->writeNumber, expected++);
            order.append(QString::fromLatin1(p->code));
        }
        QCOMPARE(order.join(u' '),
                 QStringLiteral("ON DN TP PN RM FC DT BR PR BB RC CM CT ML MD DI DP GI NM IP"));
        QCOMPARE(netcfg::FindParameter("FE")->writeNumber, 0);
        QVERIFY(netcfg::FindParameter("XX") == nullptr);
    }
};

QTEST_GUILESS_MAIN(TestModuleProtocol)
#include "test_module_protocol.moc"
