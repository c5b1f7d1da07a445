#include <QTest>
#include <QTimer>

#include "console_window.h"

using testing_support::Args;
using testing_support::CommandConsole;

namespace {
QVariantMap out(std::initializer_list<std::pair<const char*, QVariant>> values) {
    QVariantMap m;
    for (const auto& [k, v] : values) {
        m.insert(QString::fromLatin1(k), v);
    }
    return m;
}
const QString kT = QStringLiteral("09:08:07");
}  // namespace

class TestSwitchCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modeSetToEas() {
        CommandConsole f;
        f.check("rb2");
        f.library.Script(QStringLiteral("ModeSwitch"), 0, out({{"mode", 0}}));
        f.library.Script(QStringLiteral("ModeSwitch"), 0, out({{"mode", 1}, {"s", 3}}));
        f.bar->SetPanel(1, QStringLiteral("kept"));
        // A channel poll that runs keeps running; only the buttons change.
        f.click("Button_C_Get");
        QVERIFY(f.form.Timer1().isActive());
        QVERIFY(f.get("StopGet")->isEnabled());
        f.click("Button5");
        const auto calls = f.library.CallsOf(QStringLiteral("ModeSwitch"));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].args, Args({1, 0, 4}));
        QCOMPARE(calls[1].args, Args({1, 0x81, 4}));
        QCOMPARE(f.fields.connection.OperatingMode, gate::Byte(1));
        QVERIFY(f.get("Button13")->isEnabled());
        QVERIFY(!f.get("Button14")->isEnabled());
        QVERIFY(!f.get("Button_C_Get")->isEnabled());
        QVERIFY(!f.get("StopGet")->isEnabled());
        QVERIFY(f.form.Timer1().isActive());
        QCOMPARE(f.panel(0), kT + QStringLiteral("   模式设置成功"));
        QCOMPARE(f.panel(1), QStringLiteral("kept"));
    }

    void modeSetToChannel() {
        CommandConsole f;
        f.library.Script(QStringLiteral("ModeSwitch"), 0, out({{"mode", 1}}));
        f.library.Script(QStringLiteral("ModeSwitch"), 0, out({{"mode", 0}}));
        f.click("Button5");
        QCOMPARE(f.library.CallsOf(QStringLiteral("ModeSwitch"))[1].args, Args({1, 0x80, 4}));
        QVERIFY(f.get("Button_C_Get")->isEnabled());
        QVERIFY(!f.get("Button13")->isEnabled());
    }

    void modeSetRefusedWhenForced_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("mode 2") << 2;
        QTest::newRow("mode 3") << 3;
    }
    void modeSetRefusedWhenForced() {
        QFETCH(int, mode);
        CommandConsole f;
        f.library.Script(QStringLiteral("ModeSwitch"), 0, out({{"mode", mode}}));
        f.click("Button5");
        QCOMPARE(f.library.CountOf(QStringLiteral("ModeSwitch")), 1);
        QCOMPARE(f.panel(0), kT + QStringLiteral("   操作失败  强制EAS模式"));
    }

    void modeSetFailure() {
        CommandConsole f;
        f.get("Button_C_Get")->setEnabled(true);
        f.library.Script(QStringLiteral("ModeSwitch"), 48);  // the read is not checked
        f.library.Script(QStringLiteral("ModeSwitch"), 10);
        f.click("Button5");
        QCOMPARE(f.library.CountOf(QStringLiteral("ModeSwitch")), 2);
        QCOMPARE(f.fields.connection.LastResult, 10);
        QCOMPARE(f.panel(0), kT + QStringLiteral("   操作失败"));
        QVERIFY(f.get("Button_C_Get")->isEnabled());
    }

    void modeRead_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("panel");
        QTest::newRow("channel") << 0 << 0 << kT + QStringLiteral("   通道管理模式");
        QTest::newRow("EAS") << 0 << 1 << kT + QStringLiteral("   EAS模式");
        QTest::newRow("forced 3") << 0 << 3 << kT + QStringLiteral("   强制EAS模式");
        QTest::newRow("4 leaves the panel") << 0 << 4 << QStringLiteral("before");
        QTest::newRow("failure") << 48 << 0 << kT + QStringLiteral("   模式读取失败");
    }
    void modeRead() {
        QFETCH(int, result);
        QFETCH(int, mode);
        QFETCH(QString, panel);
        CommandConsole f;
        f.bar->SetPanel(0, QStringLiteral("before"));
        f.get("Button13")->setEnabled(true);
        f.library.Script(QStringLiteral("ModeSwitch"), result, out({{"mode", mode}}));
        f.click("Button6");
        QCOMPARE(f.onlyCall(QStringLiteral("ModeSwitch")), Args({1, 0, 4}));
        QCOMPARE(f.panel(0), panel);
        QCOMPARE(int(f.fields.connection.OperatingMode), mode);
        QVERIFY(f.checked("rb1"));
        QVERIFY(f.get("Button13")->isEnabled());
    }

    // Both two-way switches: the set sends 0x80 or 0x81, the read shows its text.
    void twoWaySwitches_data() {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("setButton");
        QTest::addColumn<QString>("readButton");
        QTest::addColumn<QString>("secondRadio");
        QTest::addColumn<QString>("setCaption");
        QTest::addColumn<QString>("readCaption");
        QTest::addColumn<QString>("text1");
        QTest::newRow("infrared direction")
            << QStringLiteral("IRDirectionSetting") << QStringLiteral("Button7")
            << QStringLiteral("Button8") << QStringLiteral("rb4")
            << QStringLiteral("红外探测方向设置") << QStringLiteral("红外探测方向读取")
            << QStringLiteral("   红外线反向");
        QTest::newRow("reader-loss alarm")
            << QStringLiteral("ControllerReaderConnectionBrokenAlarm") << QStringLiteral("Button9")
            << QStringLiteral("Button10") << QStringLiteral("rb10")
            << QStringLiteral("读写器连接中断报警设置") << QStringLiteral("读写器连接中断报警读取")
            << QStringLiteral("   读写器失去连接时报警");
    }
    void twoWaySwitches() {
        QFETCH(QString, op);
        QFETCH(QString, setButton);
        QFETCH(QString, readButton);
        QFETCH(QString, secondRadio);
        QFETCH(QString, setCaption);
        QFETCH(QString, readCaption);
        QFETCH(QString, text1);
        CommandConsole f;
        f.click(setButton.toLatin1().constData());
        f.check(secondRadio.toLatin1().constData());
        f.click(setButton.toLatin1().constData());
        QCOMPARE(f.panel(0), kT + QStringLiteral("  ") + setCaption + QStringLiteral("操作成功"));
        f.library.Script(op, 0, out({{"request", 1}}));
        f.click(readButton.toLatin1().constData());
        QCOMPARE(f.panel(0), kT + text1);
        f.library.Script(op, 0, out({{"request", 5}}));
        f.bar->SetPanel(0, QStringLiteral("before"));
        f.click(readButton.toLatin1().constData());
        QCOMPARE(f.panel(0), QStringLiteral("before"));
        f.library.Script(op, 48);
        f.click(readButton.toLatin1().constData());
        QCOMPARE(f.panel(0), kT + QStringLiteral("   通讯错误"));
        f.library.Script(op, 12);
        f.click(readButton.toLatin1().constData());
        QCOMPARE(f.panel(0), kT + QStringLiteral("  ") + readCaption +
                                 QStringLiteral("控制器保存新的红外方向失败"));
        const auto calls = f.library.CallsOf(op);
        QCOMPARE(calls.size(), 6);
        QCOMPARE(calls[0].args, Args({1, 0x80, 4}));
        QCOMPARE(calls[1].args, Args({1, 0x81, 4}));
        QCOMPARE(calls[2].args, Args({1, 0, 4}));
        QVERIFY(f.checked(secondRadio.toLatin1().constData()));
    }

    void backRecordSet_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("sent");
        QTest::addColumn<QString>("panel");
        QTest::newRow("do not write")
            << false << 0 << 0 << kT + QStringLiteral("  设置是否写后台记录操作成功");
        QTest::newRow("write") << true << 0 << 1
                               << kT + QStringLiteral("  设置是否写后台记录操作成功");
        QTest::newRow("refused")
            << false << 13 << 0
            << kT + QStringLiteral("  设置是否写后台记录操作失败      不能设置为不写后台记录");
    }
    void backRecordSet() {
        QFETCH(bool, write);
        QFETCH(int, result);
        QFETCH(int, sent);
        QFETCH(QString, panel);
        CommandConsole f;
        f.check(write ? "rb14" : "rb13");
        f.library.Script(QStringLiteral("SetBGLogDataStatus"), result);
        f.click("btnSetBackRecord");
        QCOMPARE(f.onlyCall(QStringLiteral("SetBGLogDataStatus")), Args({1, sent, 4}));
        QCOMPARE(f.panel(0), panel);
    }

    void backRecordRead_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("panel");
        QTest::newRow("bit 0 set writes") << 0 << 0x03 << kT + QStringLiteral("   要写后台记录");
        QTest::newRow("bit 0 clear does not")
            << 0 << 0x02 << kT + QStringLiteral("   不写后台记录");
        QTest::newRow("failure") << 9 << 1
                                 << kT + QStringLiteral("  读取是否写后台记录操作失败    模式不对");
    }
    void backRecordRead() {
        QFETCH(int, result);
        QFETCH(int, status);
        QFETCH(QString, panel);
        CommandConsole f;
        f.library.Script(QStringLiteral("GetBGLogDataRecordingStatus"), result,
                         out({{"status", status}}));
        f.click("btnReadBackRecord");
        QCOMPARE(f.panel(0), panel);
    }

    void saveRestoreAndAutoLoad_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("sent");
        QTest::addColumn<QString>("caption");
        QTest::newRow("save") << QStringLiteral("RadioButton3") << QStringLiteral("Button16")
                              << QStringLiteral("SaveRestoreConfig") << 1
                              << QStringLiteral("保存或恢复配置现场数据    ");
        QTest::newRow("restore") << QStringLiteral("RadioButton4") << QStringLiteral("Button16")
                                 << QStringLiteral("SaveRestoreConfig") << 0
                                 << QStringLiteral("保存或恢复配置现场数据    ");
        QTest::newRow("enable auto-load")
            << QStringLiteral("RadioButton5") << QStringLiteral("Button17")
            << QStringLiteral("SetAutoLoad") << 1 << QStringLiteral("设置后台配置信息自动加载   ");
        QTest::newRow("disable auto-load")
            << QStringLiteral("RadioButton6") << QStringLiteral("Button17")
            << QStringLiteral("SetAutoLoad") << 0 << QStringLiteral("设置后台配置信息自动加载   ");
    }
    void saveRestoreAndAutoLoad() {
        QFETCH(QString, radio);
        QFETCH(QString, button);
        QFETCH(QString, op);
        QFETCH(int, sent);
        QFETCH(QString, caption);
        CommandConsole f;
        f.bar->SetPanel(1, QStringLiteral("old"));
        f.check(radio.toLatin1().constData());
        f.click(button.toLatin1().constData());
        QCOMPARE(f.onlyCall(op), Args({1, sent, 4}));
        QCOMPARE(f.panel(0), kT + QStringLiteral("  ") + caption + QStringLiteral("操作成功"));
        QCOMPARE(f.panel(1), QString());
    }
};

QTEST_MAIN(TestSwitchCommands)
#include "test_switch_commands.moc"
