#include <QTest>

#include "core/commands/config_values.h"

using commands::ConfigField;
using commands::CorrelationControls;
using commands::CorrelationRequest;
using commands::TagDataControls;
using commands::TagDataEntry;
using TagError = commands::TagDataEntry::Error;

Q_DECLARE_METATYPE(TagDataEntry::Error)
Q_DECLARE_METATYPE(CorrelationControls)
Q_DECLARE_METATYPE(TagDataControls)

namespace {
int f(ConfigField field) {
    return static_cast<int>(field);
}
}  // namespace

class TestConfigValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void indexFromValue_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("index");
        QTest::newRow("inventory 30 is the first item")
            << f(ConfigField::ReaderInventory) << 30 << 0;
        QTest::newRow("inventory 255 the last") << f(ConfigField::ReaderInventory) << 255 << 225;
        QTest::newRow("inventory below 30 has no item")
            << f(ConfigField::ReaderInventory) << 29 << -1;
        QTest::newRow("close time index is the value") << f(ConfigField::CloseReaderTime) << 0 << 0;
        QTest::newRow("stat 10") << f(ConfigField::StatTime) << 10 << 7;
        QTest::newRow("stat 2 has no item") << f(ConfigField::StatTime) << 2 << -1;
        QTest::newRow("tag time-out 15") << f(ConfigField::TagOverTime) << 15 << 14;
        QTest::newRow("tag time-out 0 has no item") << f(ConfigField::TagOverTime) << 0 << -1;
        QTest::newRow("tag time-out 16 has no item") << f(ConfigField::TagOverTime) << 16 << -1;
        QTest::newRow("quiet 2") << f(ConfigField::TagQuietTime) << 2 << 1;
        QTest::newRow("stay 3") << f(ConfigField::BlockMaxStayTime) << 3 << 0;
        QTest::newRow("stay below 3 has no item") << f(ConfigField::BlockMaxStayTime) << 0 << -1;
        QTest::newRow("back record 0 stops") << f(ConfigField::BackRecordConfig) << 0 << 0;
        QTest::newRow("back record 2 overwrites") << f(ConfigField::BackRecordConfig) << 2 << 1;
        QTest::newRow("green 5 is enabled") << f(ConfigField::GreenLight) << 5 << 0;
        QTest::newRow("green 0 is off") << f(ConfigField::GreenLight) << 0 << 1;
    }
    void indexFromValue() {
        QFETCH(int, field);
        QFETCH(int, value);
        QFETCH(int, index);
        QCOMPARE(commands::ConfigIndexFromValue(field, static_cast<gate::Byte>(value)), index);
    }

    void valueFromSelection_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // -1: nothing to send
        QTest::newRow("numeric list sends its item text")
            << f(ConfigField::ReaderInventory) << 0 << QStringLiteral("30") << 30;
        QTest::newRow("no selection sends nothing")
            << f(ConfigField::StatTime) << -1 << QString() << -1;
        QTest::newRow("back record sends the index")
            << f(ConfigField::BackRecordConfig) << 1
            << QStringLiteral("后台数据记录存储区满时覆盖最早记录") << 1;
        QTest::newRow("green first item sends 1")
            << f(ConfigField::GreenLight) << 0 << QStringLiteral("启用") << 1;
        QTest::newRow("green second item sends 0")
            << f(ConfigField::GreenLight) << 1 << QStringLiteral("关闭") << 0;
        QTest::newRow("green without selection sends nothing")
            << f(ConfigField::GreenLight) << -1 << QString() << -1;
    }
    void valueFromSelection() {
        QFETCH(int, field);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(int, value);
        const auto v = commands::ConfigValueFromSelection(field, index, text);
        QCOMPARE(v.has_value(), value >= 0);
        if (v) {
            QCOMPARE(int(*v), value);
        }
    }

    // Every value that has an item comes back as the same value from that item's text.
    void numericListsRoundTrip() {
        for (int field = 0; field < 6; ++field) {
            const auto& info = commands::ConfigFieldOf(field);
            for (int v = 0; v <= 255; ++v) {
                const int index = commands::ConfigIndexFromValue(field, static_cast<gate::Byte>(v));
                QCOMPARE(index >= 0, v >= info.first && v <= info.last);
                if (index >= 0) {
                    const auto back = commands::ConfigValueFromSelection(
                        field, index, QString::number(info.first + index));
                    QCOMPARE(int(back.value()), v);
                }
            }
        }
    }

    void correlationSet_data() {
        QTest::addColumn<CorrelationControls>("controls");
        QTest::addColumn<bool>("sent");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("lead");
        QTest::addColumn<int>("lag");
        QTest::newRow("disabled sends 0x80 whatever else is checked")
            << CorrelationControls{false, true, true, true, 40, 30} << true << 0x80 << 0 << 0;
        QTest::newRow("default times and early detection: 0xA9")
            << CorrelationControls{true, true, false, true, 40, 30} << true << 0xA9 << 0 << 0;
        QTest::newRow("own times sent from the lists")
            << CorrelationControls{true, false, true, false, 40, 30} << true << 0x8A << 40 << 30;
        QTest::newRow("all flags")
            << CorrelationControls{true, true, true, true, 0, 0} << true << 0xAB << 0 << 0;
        QTest::newRow("own times with an unselected list are refused")
            << CorrelationControls{true, false, false, false, -1, 30} << false << 0 << 0 << 0;
        QTest::newRow("default times need no list selection")
            << CorrelationControls{true, true, false, false, -1, -1} << true << 0xA8 << 0 << 0;
    }
    void correlationSet() {
        QFETCH(CorrelationControls, controls);
        QFETCH(bool, sent);
        QFETCH(int, flags);
        QFETCH(int, lead);
        QFETCH(int, lag);
        const auto r = commands::CorrelationSetRequest(controls);
        QCOMPARE(r.has_value(), sent);
        if (r) {
            QCOMPARE(*r, (CorrelationRequest{static_cast<gate::Byte>(flags),
                                             static_cast<gate::Byte>(lead),
                                             static_cast<gate::Byte>(lag)}));
        }
    }

    void correlationFromFlags() {
        const auto c = commands::CorrelationFromFlags(0x28);
        QVERIFY(c.enabled && c.useDefaultTimes && !c.unique && !c.earlyDetection);
        const auto d = commands::CorrelationFromFlags(0x83);
        QVERIFY(!d.enabled && !d.useDefaultTimes && d.unique && d.earlyDetection);
    }

    void tagDataSet_data() {
        QTest::addColumn<TagDataControls>("controls");
        QTest::addColumn<TagDataEntry::Error>("error");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("badText");
        const auto s = [](const char* t) { return QString::fromLatin1(t); };
        QTest::newRow("blocks off sends 0x80 and zeros")
            << TagDataControls{false, false, 2, s(""), s("")} << TagError::None
            << QByteArray("\x80\x00\x00\x00", 4) << QString();
        QTest::newRow("blocks off with reread sends 0x82")
            << TagDataControls{false, true, 2, s("4"), s("9")} << TagError::None
            << QByteArray("\x82\x00\x00\x00", 4) << QString();
        QTest::newRow("six blocks from 4, repeat 3")
            << TagDataControls{true, false, 2, s("4"), s("6")} << TagError::None
            << QByteArray("\x81\x03\x04\x06", 4) << QString();
        QTest::newRow("with reread 0x83")
            << TagDataControls{true, true, 2, s("4"), s("6")} << TagError::None
            << QByteArray("\x83\x03\x04\x06", 4) << QString();
        QTest::newRow("count 7 refused") << TagDataControls{true, false, 0, s("4"), s("7")}
                                         << TagError::BadCount << QByteArray() << QString();
        QTest::newRow("count 0 refused") << TagDataControls{true, false, 0, s("4"), s("00")}
                                         << TagError::BadCount << QByteArray() << QString();
        QTest::newRow("empty start refused") << TagDataControls{true, false, 0, s(""), s("1")}
                                             << TagError::EmptyEntry << QByteArray() << QString();
        QTest::newRow("pasted letters") << TagDataControls{true, false, 0, s("a"), s("1")}
                                        << TagError::NotANumber << QByteArray() << s("a");
        QTest::newRow("no repeat selection refused")
            << TagDataControls{true, false, -1, s("1"), s("1")} << TagError::NoRepeat
            << QByteArray() << QString();
    }
    void tagDataSet() {
        QFETCH(TagDataControls, controls);
        QFETCH(TagDataEntry::Error, error);
        QFETCH(QByteArray, request);
        QFETCH(QString, badText);
        const TagDataEntry e = commands::TagDataSetRequest(controls);
        QCOMPARE(e.error, error);
        QCOMPARE(e.badText, badText);
        if (error == TagError::None) {
            const char bytes[] = {char(e.request.flags), char(e.request.repeat),
                                  char(e.request.start), char(e.request.count)};
            const QByteArray got(bytes, 4);
            QCOMPARE(got, request);
        }
    }

    void tagDataRepeatIndex() {
        QCOMPARE(commands::TagDataRepeatIndex(1), 0);
        QCOMPARE(commands::TagDataRepeatIndex(5), 4);
        QCOMPARE(commands::TagDataRepeatIndex(0), -1);
        QCOMPARE(commands::TagDataRepeatIndex(6), -1);
    }

    void address_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("address");
        QTest::newRow("1F") << QStringLiteral("1F") << 0 << 0x1F;
        QTest::newRow("lower case") << QStringLiteral("ab") << 0 << 0xAB;
        QTest::newRow("one digit") << QStringLiteral("7") << 0 << 7;
        QTest::newRow("empty") << QString() << int(commands::AddressEntry::Error::Empty) << 0;
        QTest::newRow("pasted non-hex")
            << QStringLiteral("G1") << int(commands::AddressEntry::Error::NotANumber) << 0;
        QTest::newRow("pasted prefix")
            << QStringLiteral("0x") << int(commands::AddressEntry::Error::NotANumber) << 0;
    }
    void address() {
        QFETCH(QString, text);
        QFETCH(int, error);
        QFETCH(int, address);
        const auto e = commands::AddressFromText(text);
        QCOMPARE(int(e.error), error);
        QCOMPARE(int(e.address), address);
    }

    void addressText() {
        QCOMPARE(commands::AddressText(0x0A), QStringLiteral("0A"));
        QCOMPARE(commands::AddressText(0xFF), QStringLiteral("FF"));
    }
};

QTEST_APPLESS_MAIN(TestConfigValues)
#include "test_config_values.moc"
