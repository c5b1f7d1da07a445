#include <QTest>

#include "core/commands/device_values.h"

using commands::ClockEntry;
using Error = commands::ClockEntry::Error;

Q_DECLARE_METATYPE(ClockEntry::Error)

class TestDeviceValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void identity_data() {
        QTest::addColumn<int>("product");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("productText");
        QTest::addColumn<QString>("versionText");
        QTest::addColumn<bool>("detailed");
        QTest::newRow("version 6 has no detailed info")
            << 0x0A << 6 << 9 << QStringLiteral("0A") << QStringLiteral("06.09") << false;
        QTest::newRow("version 7 allows detailed info")
            << 0xB1 << 7 << 0 << QStringLiteral("B1") << QStringLiteral("07.00") << true;
        QTest::newRow("three-digit version parts stay whole")
            << 0 << 255 << 100 << QStringLiteral("00") << QStringLiteral("255.100") << true;
    }
    void identity() {
        QFETCH(int, product);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, productText);
        QFETCH(QString, versionText);
        QFETCH(bool, detailed);
        QCOMPARE(commands::ProductCodeText(static_cast<gate::Byte>(product)), productText);
        QCOMPARE(
            commands::VersionText(static_cast<gate::Byte>(major), static_cast<gate::Byte>(minor)),
            versionText);
        QCOMPARE(commands::AllowsDetailedInfo(static_cast<gate::Byte>(major)), detailed);
    }

    void serialNumber_data() {
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<QString>("text");
        QTest::newRow("fourth byte first")
            << QByteArray("\x01\x02\x03\x04", 4) << QStringLiteral("04-03-02-01");
        QTest::newRow("two-digit bytes turn hexadecimal")
            << QByteArray("\x0A\x63\x00\x10", 4) << QStringLiteral("10-00-63-0A");
        QTest::newRow("bytes of 100 and more as hex pairs")
            << QByteArray("\x64\xFF\xC8\x05", 4) << QStringLiteral("05-C8-FF-64");
    }
    void serialNumber() {
        QFETCH(QByteArray, serial);
        QFETCH(QString, text);
        std::array<gate::Byte, 4> bytes{};
        std::copy_n(reinterpret_cast<const gate::Byte*>(serial.constData()), 4, bytes.begin());
        QCOMPARE(commands::SerialNumberText(bytes), text);
    }

    void readerStatus_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("rf");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("field");
        QTest::newRow("link up, field off")
            << 1 << 0 << QStringLiteral("连接正常") << QStringLiteral("关闭");
        QTest::newRow("link up, field on")
            << 1 << 1 << QStringLiteral("连接正常") << QStringLiteral("打开");
        QTest::newRow("link up, field opening")
            << 1 << 2 << QStringLiteral("连接正常") << QStringLiteral("射频场正在打开...");
        QTest::newRow("link up, unknown field")
            << 1 << 3 << QStringLiteral("连接正常") << QString();
        QTest::newRow("link down ignores the field")
            << 0 << 1 << QStringLiteral("连接断开") << QString();
        QTest::newRow("link 2 counts as down") << 2 << 0 << QStringLiteral("连接断开") << QString();
    }
    void readerStatus() {
        QFETCH(int, link);
        QFETCH(int, rf);
        QFETCH(QString, connection);
        QFETCH(QString, field);
        const auto t = commands::ReaderStatusText(
            static_cast<gate::Byte>(link), static_cast<gate::Byte>(rf), util::TextTable::Source());
        QCOMPARE(t.connection, connection);
        QCOMPARE(t.rfField, field);
    }

    void infraredState() {
        QCOMPARE(commands::InfraredStateText(1), QStringLiteral("ON"));
        QCOMPARE(commands::InfraredStateText(0), QStringLiteral("OFF"));
        QCOMPARE(commands::InfraredStateText(2), QString());
    }

    void clockEntry_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<ClockEntry::Error>("error");
        QTest::addColumn<QByteArray>("clock");
        QTest::addColumn<QString>("badText");
        const auto t = [](const char* s) { return QString::fromUtf8(s).split(QLatin1Char(',')); };
        QTest::newRow("complete entry") << t("99,12,31,23,59,58") << Error::None
                                        << QByteArray("\x63\x0C\x1F\x17\x3B\x3A", 6) << QString();
        QTest::newRow("single digits") << t("0,1,2,3,4,5") << Error::None
                                       << QByteArray("\x00\x01\x02\x03\x04\x05", 6) << QString();
        QTest::newRow("month and hour left to the controller")
            << t("26,13,40,25,61,99") << Error::None << QByteArray("\x1A\x0D\x28\x19\x3D\x63", 6)
            << QString();
        QTest::newRow("one empty field")
            << t("26,1,2,,4,5") << Error::EmptyField << QByteArray() << QString();
        QTest::newRow("empty wins over bad text")
            << t("x,1,2,3,4,") << Error::EmptyField << QByteArray() << QString();
        QTest::newRow("pasted letters")
            << t("26,1a,2,3,4,5") << Error::NotANumber << QByteArray() << QStringLiteral("1a");
        QTest::newRow("pasted minus")
            << t("-1,1,2,3,4,5") << Error::NotANumber << QByteArray() << QStringLiteral("-1");
        QTest::newRow("three-digit year")
            << t("100,1,2,3,4,5") << Error::YearOutOfRange << QByteArray() << QString();
    }
    void clockEntry() {
        QFETCH(QStringList, texts);
        QFETCH(ClockEntry::Error, error);
        QFETCH(QByteArray, clock);
        QFETCH(QString, badText);
        std::array<QString, 6> fields;
        std::copy_n(texts.begin(), 6, fields.begin());
        const ClockEntry e = commands::ClockFromTexts(fields);
        QCOMPARE(e.error, error);
        QCOMPARE(e.badText, badText);
        if (error == Error::None) {
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(e.clock.data()), 6), clock);
        }
    }

    void clockTexts() {
        const auto t = commands::ClockTexts(gate::Clock6{9, 3, 7, 8, 5, 9});
        QCOMPARE(QStringList(t.begin(), t.end()),
                 QStringList({QStringLiteral("09"), QStringLiteral("03"), QStringLiteral("07"),
                              QStringLiteral("08"), QStringLiteral("05"), QStringLiteral("09")}));
        QCOMPARE(commands::ClockTexts(gate::Clock6{255, 0, 0, 0, 0, 0})[0], QStringLiteral("255"));
    }
};

QTEST_APPLESS_MAIN(TestDeviceValues)
#include "test_device_values.moc"
