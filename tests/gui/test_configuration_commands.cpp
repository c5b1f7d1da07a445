#include <QTest>

#include "console_window.h"

using testing_support::Args;
using testing_support::CommandConsole;
using Icon = gui::Prompter::Icon;

namespace {
QVariantMap out(std::initializer_list<std::pair<const char*, QVariant>> values) {
    QVariantMap m;
    for (const auto& [k, v] : values) {
        m.insert(QString::fromLatin1(k), v);
    }
    return m;
}
const char* const kConfigLists[] = {"ComboBox_ReaderInventory",  "ComboBox_CloseReaderTime",
                                    "ComboBox_StatTime",         "ComboBox_TagOverTime",
                                    "ComboBox_TagQuietTime",     "ComboBox_BlockMaxStayTime",
                                    "ComboBox_BackRecordConfig", "ComboBox9"};
}  // namespace

class TestConfigurationCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void configSetAtStartUpSelections() {
        CommandConsole f;
        f.click("ControllerInfo");
        QCOMPARE(f.onlyCall(QStringLiteral("ConfigureController")),
                 Args({1, 30, 0, 10, 5, 2, 3, 0, 1, 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置控制器配置信息操作成功"));
    }

    void configSetSendsItemValues() {
        CommandConsole f;
        f.select("ComboBox_ReaderInventory", 225);  // 255
        f.select("ComboBox_CloseReaderTime", 7);
        f.select("ComboBox_StatTime", 0);            // 3
        f.select("ComboBox_TagOverTime", 14);        // 15
        f.select("ComboBox_TagQuietTime", 0);        // 1
        f.select("ComboBox_BlockMaxStayTime", 252);  // 255
        f.select("ComboBox_BackRecordConfig", 1);
        f.select("ComboBox9", 1);  // "关闭"
        f.click("ControllerInfo");
        QCOMPARE(f.onlyCall(QStringLiteral("ConfigureController")),
                 Args({1, 255, 7, 3, 15, 1, 255, 1, 0, 4}));
    }

    void configRead_data() {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QList<int>>("indexes");
        QTest::newRow("values in range") << QByteArray("\x64\x05\x3C\x0F\x01\x14\x01\x00", 8)
                                         << QList<int>{70, 5, 57, 14, 0, 17, 1, 1};
        QTest::newRow("out of range values leave lists unselected")
            << QByteArray("\x1D\xFF\x02\x00\x10\x02\x02\x05", 8)
            << QList<int>{-1, 255, -1, -1, -1, -1, 1, 0};
    }
    void configRead() {
        QFETCH(QByteArray, config);
        QFETCH(QList<int>, indexes);
        CommandConsole f;
        f.check("RadioButton1");
        f.library.Script(QStringLiteral("GetControllerConfig"), 0, out({{"config", config}}));
        f.click("ControllerInfo");
        QCOMPARE(f.library.CountOf(QStringLiteral("GetControllerConfig")), 1);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(f.list(kConfigLists[i])->currentIndex(), indexes[i]);
        }
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  获取控制器配置信息操作成功"));
    }

    // A failed read puts back the values it started from, so the lists keep their selections.
    void failedConfigReadKeepsSelections() {
        CommandConsole f;
        f.check("RadioButton1");
        f.select("ComboBox_StatTime", 100);
        f.select("ComboBox_BackRecordConfig", 1);
        f.library.Script(QStringLiteral("GetControllerConfig"), 48);
        f.click("ControllerInfo");
        QCOMPARE(f.list("ComboBox_StatTime")->currentIndex(), 100);
        QCOMPARE(f.list("ComboBox_BackRecordConfig")->currentIndex(), 1);
        QCOMPARE(f.list("ComboBox9")->currentIndex(), 0);
        QCOMPARE(f.list("ComboBox_ReaderInventory")->currentIndex(), 0);
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07   通讯错误"));
    }

    // After an out-of-range read a set has no value for that field and is refused before
    // anything is sent; a read still goes ahead.
    void setWithUnselectedListIsRefused() {
        CommandConsole f;
        f.check("RadioButton1");
        f.library.Script(QStringLiteral("GetControllerConfig"), 0,
                         out({{"config", QByteArray("\x1E\x00\x02\x05\x02\x03\x00\x01", 8)}}));
        f.click("ControllerInfo");
        QCOMPARE(f.list("ComboBox_StatTime")->currentIndex(), -1);
        f.bar->SetPanel(0, QStringLiteral("before"));
        f.library.ClearCalls();
        f.check("RadioButton2");
        f.click("ControllerInfo");
        QCOMPARE(f.library.Calls().size(), 0);
        QCOMPARE(f.panel(0), QStringLiteral("before"));
        QCOMPARE(f.prompter.messages.size(), 1);
        QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("提示"));
        QCOMPARE(f.prompter.messages[0].icon, Icon::Information);
        QVERIFY(f.prompter.messages[0].text.contains(QStringLiteral("统计数据时间")));

        f.check("RadioButton1");
        f.library.Script(QStringLiteral("GetControllerConfig"), 0,
                         out({{"config", QByteArray("\x1E\x00\x0A\x05\x02\x03\x00\x01", 8)}}));
        f.click("ControllerInfo");
        QCOMPARE(f.library.CountOf(QStringLiteral("GetControllerConfig")), 1);
        QCOMPARE(f.list("ComboBox_StatTime")->currentText(), QStringLiteral("10"));
    }

    void correlationSet_data() {
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QVariantList>("args");
        QTest::newRow("disabled sends 0x80 whatever the other boxes show")
            << QStringList{QStringLiteral("CheckBox6"), QStringLiteral("CheckBox8"),
                           QStringLiteral("CheckBox9")}
            << Args({1, 0x80, 0, 0, 4});
        QTest::newRow("default times with early detection sends 0xA9")
            << QStringList{QStringLiteral("CheckBox5"), QStringLiteral("CheckBox6"),
                           QStringLiteral("CheckBox9")}
            << Args({1, 0xA9, 0, 0, 4});
        QTest::newRow("own times from the lists")
            << QStringList{QStringLiteral("CheckBox5"), QStringLiteral("CheckBox8")}
            << Args({1, 0x8A, 20, 100, 4});
    }
    void correlationSet() {
        QFETCH(QStringList, checked);
        QFETCH(QVariantList, args);
        CommandConsole f;
        for (const QString& name : checked) {
            f.check(name.toLatin1().constData());
        }
        f.click("Button1");
        QCOMPARE(f.onlyCall(QStringLiteral("TagPersonCorrelation")), args);
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置检测配置操作成功"));
    }

    void correlationReactions() {
        CommandConsole f;
        const char* dependent[] = {"CheckBox6", "CheckBox8", "CheckBox9", "ComboBox10",
                                   "ComboBox11"};
        for (const char* n : dependent) {
            QVERIFY2(!f.get(n)->isEnabled(), n);
        }
        f.check("CheckBox5");
        for (const char* n : dependent) {
            QVERIFY2(f.get(n)->isEnabled(), n);
        }
        f.select("ComboBox10", 40);
        f.check("CheckBox6");
        QVERIFY(!f.list("ComboBox10")->isEnabled());
        QVERIFY(!f.list("ComboBox11")->isEnabled());
        QCOMPARE(f.list("ComboBox10")->currentText(), QStringLiteral("20"));
        QCOMPARE(f.list("ComboBox11")->currentText(), QStringLiteral("100"));
        f.check("CheckBox6", false);
        QVERIFY(f.list("ComboBox10")->isEnabled());
        f.check("CheckBox5", false);
        for (const char* n : dependent) {
            QVERIFY2(!f.get(n)->isEnabled(), n);
        }
    }

    void correlationRead_data() {
        QTest::addColumn<bool>("boxesCheckedBefore");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("lag");
        QTest::newRow("reactions replace the times read")
            << false << QStringLiteral("20") << QStringLiteral("100");
        QTest::newRow("unchanged boxes keep the times read")
            << true << QStringLiteral("40") << QStringLiteral("30");
    }
    void correlationRead() {
        QFETCH(bool, boxesCheckedBefore);
        QFETCH(QString, lead);
        QFETCH(QString, lag);
        CommandConsole f;
        if (boxesCheckedBefore) {
            f.check("CheckBox5");
            f.check("CheckBox6");
        }
        f.check("CheckBox8");
        f.library.Script(QStringLiteral("TagPersonCorrelation"), 0,
                         out({{"control", 0x28}, {"lead", 40}, {"lag", 30}}));
        f.click("Button2");
        QCOMPARE(f.onlyCall(QStringLiteral("TagPersonCorrelation")), Args({1, 0, 0, 0, 4}));
        QVERIFY(f.checked("CheckBox5"));
        QVERIFY(f.checked("CheckBox6"));
        QVERIFY(!f.checked("CheckBox8"));
        QVERIFY(!f.checked("CheckBox9"));
        QCOMPARE(f.list("ComboBox10")->currentText(), lead);
        QCOMPARE(f.list("ComboBox11")->currentText(), lag);
        QCOMPARE(f.list("ComboBox10")->isEnabled(), !boxesCheckedBefore);
        QCOMPARE(f.list("ComboBox11")->isEnabled(), !boxesCheckedBefore);
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  读取检测配置操作成功"));
    }

    void failedCorrelationReadChangesNothing() {
        CommandConsole f;
        f.library.Script(QStringLiteral("TagPersonCorrelation"), 48,
                         out({{"control", 0x2B}, {"lead", 40}, {"lag", 30}}));
        f.click("Button2");
        QVERIFY(!f.checked("CheckBox5"));
        QCOMPARE(f.list("ComboBox10")->currentText(), QStringLiteral("20"));
    }

    // A lead time read back beyond the list leaves it unselected; the set then refuses rather
    // than sending a made-up time.
    void correlationSetWithUnselectedLeadIsRefused() {
        CommandConsole f;
        f.library.Script(QStringLiteral("TagPersonCorrelation"), 0,
                         out({{"control", 0x08}, {"lead", 150}, {"lag", 30}}));
        f.click("Button2");
        QCOMPARE(f.list("ComboBox10")->currentIndex(), -1);
        f.library.ClearCalls();
        f.click("Button1");
        QCOMPARE(f.library.Calls().size(), 0);
        QCOMPARE(f.prompter.messages.size(), 1);
        QVERIFY(f.prompter.messages[0].text.contains(QStringLiteral("超前检测时间")));
    }

    void tagDataSet_data() {
        QTest::addColumn<bool>("readBlocks");
        QTest::addColumn<bool>("reread");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QVariantList>("args");
        QTest::newRow("blocks off sends 0x80")
            << false << false << QString() << QString() << QString() << Args({1, 0x80, 0, 0, 0, 4});
        QTest::newRow("six blocks from 4, repeat 3")
            << true << false << QStringLiteral("4") << QStringLiteral("6") << QString()
            << Args({1, 0x81, 3, 4, 6, 4});
        QTest::newRow("with reread 0x83")
            << true << true << QStringLiteral("4") << QStringLiteral("6") << QString()
            << Args({1, 0x83, 3, 4, 6, 4});
        QTest::newRow("count 7 refused")
            << true << false << QStringLiteral("4") << QStringLiteral("7")
            << QStringLiteral("块数不能为0,且不能大于6") << QVariantList();
        QTest::newRow("empty count refused") << true << false << QStringLiteral("4") << QString()
                                             << QStringLiteral("输入数据不正确") << QVariantList();
    }
    void tagDataSet() {
        QFETCH(bool, readBlocks);
        QFETCH(bool, reread);
        QFETCH(QString, start);
        QFETCH(QString, count);
        QFETCH(QString, message);
        QFETCH(QVariantList, args);
        CommandConsole f;
        f.check("CheckBox10", readBlocks);
        f.check("CheckBox11", reread);
        f.select("ComboBox12", 2);
        f.setText("Edit3", start);
        f.setText("Edit2", count);
        f.click("Button3");
        if (message.isEmpty()) {
            QCOMPARE(f.onlyCall(QStringLiteral("ReadTagDataSetting")), args);
            QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置配置操作成功"));
        } else {
            QCOMPARE(f.library.Calls().size(), 0);
            QCOMPARE(f.prompter.messages.size(), 1);
            QCOMPARE(f.prompter.messages[0].text, message);
            QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("提示"));
            QCOMPARE(f.panel(0), QString());
        }
    }

    // A read shows the values whole, even a start block longer than the two digits the
    // operator may type, so that the next set writes the controller's own values back.
    void tagDataReadThenSet() {
        CommandConsole f;
        f.library.Script(
            QStringLiteral("ReadTagDataSetting"), 0,
            out({{"control", 0x03}, {"repeat", 5}, {"startBlock", 150}, {"blockCount", 6}}));
        f.click("Button4");
        QCOMPARE(f.onlyCall(QStringLiteral("ReadTagDataSetting")), Args({1, 0, 0, 0, 0, 4}));
        QCOMPARE(f.text("Edit3"), QStringLiteral("150"));
        QCOMPARE(f.text("Edit2"), QStringLiteral("6"));
        QVERIFY(f.checked("CheckBox10"));
        QVERIFY(f.checked("CheckBox11"));
        QCOMPARE(f.list("ComboBox12")->currentText(), QStringLiteral("5"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  读取配置操作成功"));
        f.click("Button3");
        const auto calls = f.library.CallsOf(QStringLiteral("ReadTagDataSetting"));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls.back().args, Args({1, 0x83, 5, 150, 6, 4}));
        // The typing limit holds again once the operator edits the field down to it.
        auto* start = f.get<QLineEdit>("Edit3");
        start->end(false);
        QTest::keyClick(start, Qt::Key_Backspace);
        QTest::keyClicks(start, QStringLiteral("9"));
        QCOMPARE(start->text(), QStringLiteral("15"));
    }

    // The new address is used by every later command once the controller accepts it.
    void addressSetThenUsed() {
        CommandConsole f;
        f.setText("editNewConAddr", QStringLiteral("1F"));
        f.click("btnSetControAddr");
        QCOMPARE(f.onlyCall(QStringLiteral("SetControllerAddr")), Args({1, 1, 0x1F, 4}));
        QCOMPARE(f.fields.connection.ControllerAddress, gate::Byte(0x1F));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置地址操作成功"));
        f.click("Btn_ClearBuffer");
        QCOMPARE(f.onlyCall(QStringLiteral("ClearControllerBuffer")), Args({0x1F, 4}));
    }

    void failedAddressSetKeepsAddress() {
        CommandConsole f;
        f.setText("editNewConAddr", QStringLiteral("1F"));
        f.library.Script(QStringLiteral("SetControllerAddr"), 48);
        f.click("btnSetControAddr");
        QCOMPARE(f.fields.connection.ControllerAddress, gate::Byte(0x01));
    }

    void addressEntryRefusals() {
        CommandConsole f;
        f.click("btnSetControAddr");
        QCOMPARE(f.prompter.messages.size(), 1);
        QCOMPARE(f.prompter.messages[0].text, QStringLiteral("请输入新控制器地址"));
        QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("提示"));
        f.setText("editNewConAddr", QStringLiteral("x1"));
        f.click("btnSetControAddr");
        QCOMPARE(f.prompter.conversionErrors, QStringList{QStringLiteral("x1")});
        QCOMPARE(f.library.Calls().size(), 0);
    }

    void addressRead() {
        CommandConsole f;
        f.library.Script(QStringLiteral("SetControllerAddr"), 0, out({{"a", 0x0A}}));
        f.click("btnGetControAddr");
        QCOMPARE(f.onlyCall(QStringLiteral("SetControllerAddr")), Args({1, 0, 0, 4}));
        QCOMPARE(f.text("Edit4"), QStringLiteral("0A"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  读取地址操作成功"));
    }
};

QTEST_MAIN(TestConfigurationCommands)
#include "test_configuration_commands.moc"
