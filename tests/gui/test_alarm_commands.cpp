#include <QTest>

#include "console_window.h"
#include "core/commands/alarm_values.h"

using testing_support::Args;
using testing_support::CommandConsole;

namespace {
const char* const kEnableBoxes[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",
                                    "CheckBox7"};
QVariantMap reply(const QByteArray& bytes) {
    return QVariantMap{{QStringLiteral("reply"), bytes}};
}
}  // namespace

class TestAlarmCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void maskSet_data() {
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<int>("mask");
        QTest::newRow("none is still a set request") << QStringList() << 0x80;
        QTest::newRow("reverse and EAS")
            << QStringList{QStringLiteral("CheckBox2"), QStringLiteral("CheckBox7")} << 0x92;
        QTest::newRow("all five") << QStringList{QStringLiteral("CheckBox1"),
                                                 QStringLiteral("CheckBox2"),
                                                 QStringLiteral("CheckBox3"),
                                                 QStringLiteral("CheckBox4"),
                                                 QStringLiteral("CheckBox7")}
                                  << 0x9F;
    }
    void maskSet() {
        QFETCH(QStringList, checked);
        QFETCH(int, mask);
        CommandConsole f;
        for (const QString& n : checked) {
            f.check(n.toLatin1().constData());
        }
        f.bar->SetPanel(1, QStringLiteral("old"));
        f.click("Button12");
        QCOMPARE(f.onlyCall(QStringLiteral("SetAlarmMask")), Args({1, mask, 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置  操作成功"));
        QCOMPARE(f.panel(1), QString());
    }

    void maskQueryFillsThePage() {
        CommandConsole f;
        f.check("CheckBox2");
        f.check("RadioButton8");
        QByteArray bytes(46, '\0');
        bytes[0] = char(0x15);
        for (int i = 1; i < 46; ++i) {
            bytes[i] = char(i * 5);
        }
        bytes[3] = char(240);
        bytes[45] = char(255);
        f.library.Script(QStringLiteral("SetAlarmMask"), 0, reply(bytes));
        f.click("Button12");
        QCOMPARE(f.onlyCall(QStringLiteral("SetAlarmMask")), Args({1, 0, 4}));
        const bool expected[] = {true, false, true, false, true};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(f.checked(kEnableBoxes[i]), expected[i]);
        }
        for (int n = 0; n < 45; ++n) {
            const QString name = commands::AlarmPatternListName(n);
            QCOMPARE(f.list(name.toLatin1().constData())->currentIndex(),
                     int(quint8(bytes[n + 1])));
        }
        QCOMPARE(f.list("ComboBox14")->currentText(), QStringLiteral("240"));
        QCOMPARE(f.list("ComboBox56")->currentText(), QStringLiteral("255"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  询查 操作成功"));

        // What the query brought back goes out again unchanged.
        f.click("Button11");
        QCOMPARE(f.onlyCall(QStringLiteral("SetAlarmPattern")), Args({1, bytes.mid(1), 4}));
    }

    void failedQueryLeavesThePage() {
        CommandConsole f;
        f.check("CheckBox4");
        f.check("RadioButton8");
        QByteArray bytes(46, char(7));
        f.library.Script(QStringLiteral("SetAlarmMask"), 48, reply(bytes));
        f.click("Button12");
        QVERIFY(f.checked("CheckBox4"));
        QVERIFY(!f.checked("CheckBox1"));
        QCOMPARE(f.list("ComboBox1")->currentIndex(), 1);
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07   通讯错误"));
    }

    void patternSetAtStartUpSelections() {
        CommandConsole f;
        f.click("Button11");
        const QByteArray one("\x01\x01\x02\x01\x01\x02\x00\x00\x01", 9);
        QCOMPARE(f.onlyCall(QStringLiteral("SetAlarmPattern")), Args({1, one.repeated(5), 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  报警设置   操作成功"));
    }

    void patternSetSendsEachListAtItsOffset() {
        CommandConsole f;
        f.select("ComboBox20", 9);   // alarm 1, relay count
        f.select("ComboBox21", 21);  // alarm 2, first
        f.select("ComboBox48", 48);  // alarm 5, first
        f.click("Button11");
        const QByteArray sent =
            f.onlyCall(QStringLiteral("SetAlarmPattern")).value(1).toByteArray();
        QCOMPARE(sent.size(), 45);
        QCOMPARE(int(sent[8]), 9);
        QCOMPARE(int(sent[9]), 21);
        QCOMPARE(int(sent[36]), 48);
    }
};

QTEST_MAIN(TestAlarmCommands)
#include "test_alarm_commands.moc"
