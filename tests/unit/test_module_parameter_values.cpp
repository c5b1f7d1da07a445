// Module settings by name on the command line: entered words to wire text and back.
#include "core/netcfg/module_parameter_values.h"
#include "util/gbk_codec.h"

#include <QTest>

class TestModuleParameterValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entered_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("wire");  // empty: refused
        QTest::newRow("baud rate by its word") << "BaudRate"
                                               << "115200" << QByteArray("7");
        QTest::newRow("code and case do not matter") << "br"
                                                     << "150" << QByteArray("8");
        QTest::newRow("parity") << "Parity"
                                << "EVEN" << QByteArray("1");
        QTest::newRow("work mode") << "WorkMode"
                                   << "client" << QByteArray("1");
        QTest::newRow("baud rate index is not a word") << "BaudRate"
                                                       << "7" << QByteArray();
        QTest::newRow("name in GBK") << "UserName"
                                     << "入口" << util::ToGbk(u"入口");
        QTest::newRow("separator in a name") << "DeviceName"
                                             << "a|b" << QByteArray();
        QTest::newRow("address") << "DestIp"
                                 << "192.0.2.7" << QByteArray("192.0.2.7");
        QTest::newRow("address field above 255") << "Ip"
                                                 << "10.0.0.300" << QByteArray();
        QTest::newRow("port") << "DestPort"
                              << "7000" << QByteArray("7000");
        QTest::newRow("port too large") << "SourcePort"
                                        << "70000" << QByteArray();
        QTest::newRow("time limit above its list") << "ConnectTimeLimit"
                                                   << "100" << QByteArray();
        QTest::newRow("MAC is read only") << "Mac"
                                          << "00-11-22-33-44-55" << QByteArray();
    }
    void entered() {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QByteArray, wire);
        const netcfg::ParameterValue* p = netcfg::FindParameterValue(name);
        QVERIFY(p);
        QString why;
        const auto got = netcfg::WireValue(*p, value, &why);
        if (wire.isEmpty()) {
            QVERIFY(!got);
            QVERIFY(why.contains(p->name));
        } else {
            QCOMPARE(got.value_or("<refused>"), wire);
            QCOMPARE(netcfg::DisplayValue(*p, wire).toLower(), value.toLower());
        }
    }

    void unknownIndexIsShownAsItCame() {
        const netcfg::ParameterValue* p = netcfg::FindParameterValue(u"BaudRate");
        QVERIFY(netcfg::DisplayValue(*p, "12").startsWith(QStringLiteral("12 (")));
        QVERIFY(!netcfg::FindParameterValue(u"Relay"));
        QCOMPARE(netcfg::ParameterValues().size(), std::size_t(21));
    }
};

QTEST_GUILESS_MAIN(TestModuleParameterValues)
#include "test_module_parameter_values.moc"
