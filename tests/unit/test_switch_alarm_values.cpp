#include <QTest>

#include "core/commands/alarm_values.h"
#include "core/commands/switch_values.h"

namespace {
QString orNone(const std::optional<QString>& t) {
    return t.value_or(QStringLiteral("<none>"));
}
}  // namespace

class TestSwitchAlarmValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modeText_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("text");
        QTest::newRow("channel management") << 0 << false << QStringLiteral("   通道管理模式");
        QTest::newRow("EAS") << 1 << false << QStringLiteral("   EAS模式");
        QTest::newRow("forced 2") << 2 << true << QStringLiteral("   强制EAS模式");
        QTest::newRow("forced 3") << 3 << true << QStringLiteral("   强制EAS模式");
        QTest::newRow("4 has no text") << 4 << false << QStringLiteral("<none>");
        QTest::newRow("0x82 is forced") << 0x82 << true << QStringLiteral("   强制EAS模式");
    }
    void modeText() {
        QFETCH(int, mode);
        QFETCH(bool, forced);
        QFETCH(QString, text);
        QCOMPARE(commands::IsForcedEas(static_cast<gate::Byte>(mode)), forced);
        QCOMPARE(
            orNone(commands::ModeText(static_cast<gate::Byte>(mode), util::TextTable::Source())),
            text);
    }

    void optionTexts() {
        QCOMPARE(orNone(commands::InfraredDirectionText(0)), QStringLiteral("   红外线正向"));
        QCOMPARE(orNone(commands::InfraredDirectionText(1)), QStringLiteral("   红外线反向"));
        QCOMPARE(orNone(commands::InfraredDirectionText(2)), QStringLiteral("<none>"));
        QCOMPARE(orNone(commands::ReaderLossAlarmText(0)),
                 QStringLiteral("   读写器失去连接时不报警"));
        QCOMPARE(orNone(commands::ReaderLossAlarmText(1)),
                 QStringLiteral("   读写器失去连接时报警"));
        QCOMPARE(orNone(commands::ReaderLossAlarmText(0x81)), QStringLiteral("<none>"));
        QCOMPARE(commands::BackRecordWritingText(0x03), QStringLiteral("   要写后台记录"));
        QCOMPARE(commands::BackRecordWritingText(0x02), QStringLiteral("   不写后台记录"));
        QCOMPARE(commands::SwitchSetRequest(false), gate::Byte(0x80));
        QCOMPARE(commands::SwitchSetRequest(true), gate::Byte(0x81));
        QCOMPARE(commands::StampedLine(QTime(7, 5, 3), QStringLiteral("   EAS模式")),
                 QStringLiteral("07:05:03   EAS模式"));
    }

    void alarmMask_data() {
        QTest::addColumn<QList<bool>>("enables");
        QTest::addColumn<int>("mask");
        QTest::newRow("none is still a set request") << QList<bool>{0, 0, 0, 0, 0} << 0x80;
        QTest::newRow("reverse and EAS") << QList<bool>{0, 1, 0, 0, 1} << 0x92;
        QTest::newRow("all five") << QList<bool>{1, 1, 1, 1, 1} << 0x9F;
        QTest::newRow("no tag and undetermined") << QList<bool>{1, 0, 1, 0, 0} << 0x85;
    }
    void alarmMask() {
        QFETCH(QList<bool>, enables);
        QFETCH(int, mask);
        commands::AlarmEnables e{};
        std::copy(enables.begin(), enables.end(), e.begin());
        const gate::Byte sent = commands::AlarmMaskSetByte(e);
        QCOMPARE(int(sent), mask);
        QCOMPARE(commands::AlarmEnablesFromMask(sent), e);
    }

    void alarmEnablesIgnoreHighBits() {
        QCOMPARE(commands::AlarmEnablesFromMask(0x15),
                 (commands::AlarmEnables{true, false, true, false, true}));
        QCOMPARE(commands::AlarmEnablesFromMask(0xE0), (commands::AlarmEnables{}));
    }

    void patternListNames() {
        QCOMPARE(commands::AlarmPatternListName(0), QStringLiteral("ComboBox1"));
        QCOMPARE(commands::AlarmPatternListName(1), QStringLiteral("ComboBox13"));
        QCOMPARE(commands::AlarmPatternListName(8), QStringLiteral("ComboBox20"));
        QCOMPARE(commands::AlarmPatternListName(9), QStringLiteral("ComboBox21"));
        QCOMPARE(commands::AlarmPatternListName(18), QStringLiteral("ComboBox30"));
        QCOMPARE(commands::AlarmPatternListName(36), QStringLiteral("ComboBox48"));
        QCOMPARE(commands::AlarmPatternListName(44), QStringLiteral("ComboBox56"));
        QCOMPARE(commands::AlarmCheckBoxName(4), QStringLiteral("CheckBox7"));
    }

    void patternFromReplySkipsMaskByte() {
        commands::AlarmMaskReply reply{};
        for (std::size_t i = 0; i < reply.size(); ++i) {
            reply[i] = static_cast<gate::Byte>(200 + i);
        }
        const auto p = commands::AlarmPatternFromReply(reply);
        QCOMPARE(int(p[0]), 201);
        QCOMPARE(int(p[44]), 245);
    }

    void patternFromTexts() {
        QStringList texts;
        for (int i = 0; i < gate::kAlarmPatternSize; ++i) {
            texts << QString::number(i * 5 + 15);
        }
        int bad = -1;
        const auto p = commands::AlarmPatternFromTexts(texts, &bad);
        QVERIFY(p.has_value());
        QCOMPARE(int((*p)[0]), 15);
        QCOMPARE(int((*p)[44]), 235);
        texts[7] = QStringLiteral("256");
        QVERIFY(!commands::AlarmPatternFromTexts(texts, &bad).has_value());
        QCOMPARE(bad, 7);
        texts[7] = QString();
        QVERIFY(!commands::AlarmPatternFromTexts(texts, &bad).has_value());
        QVERIFY(!commands::AlarmPatternFromTexts(texts.mid(0, 44), &bad).has_value());
    }
};

QTEST_APPLESS_MAIN(TestSwitchAlarmValues)
#include "test_switch_alarm_values.moc"
