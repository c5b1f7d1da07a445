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
const QString kOk = QStringLiteral("操作成功");
const QString kStatus0 = QStringLiteral("后台记录数据区空闲容量>15%");
}  // namespace

class TestDeviceCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void relaySendsTheSelectedTime() {
        CommandConsole f;
        f.select("ComboBox_Relay", 37);
        f.click("SetRealy");
        QCOMPARE(f.onlyCall(QStringLiteral("SetRelay")), Args({1, 37, 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置继电器") + kOk);
        QCOMPARE(f.panel(1), kStatus0);
    }

    void relayFailureReportsWithoutStatus() {
        CommandConsole f;
        f.library.Script(QStringLiteral("SetRelay"), 48, out({{"s", 2}}));
        f.fields.connection.ReplyStatus = 1;
        f.click("SetRealy");
        QCOMPARE(f.fields.connection.LastResult, 48);
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07   通讯错误"));
        QCOMPARE(f.panel(1), QString());
    }

    void ledAndBuzzer_data() {
        QTest::addColumn<bool>("green");
        QTest::addColumn<int>("colour");
        QTest::newRow("red sends colour 0") << false << 0;
        QTest::newRow("green sends colour 1") << true << 1;
    }
    // Buzzer values travel first, then the LED values, then the colour.
    void ledAndBuzzer() {
        QFETCH(bool, green);
        QFETCH(int, colour);
        CommandConsole f;
        f.select("ComboBox7", 11);   // LED on
        f.select("ComboBox4", 12);   // LED off
        f.select("ComboBox2", 127);  // flashes
        f.select("ComboBox6", 21);   // buzzer on
        f.select("ComboBox8", 22);   // buzzer off
        f.select("ComboBox3", 255);  // beeps
        f.check(green ? "RadioButton_Green" : "RadioButton_red");
        f.click("LEDAndBuzTest");
        QCOMPARE(f.onlyCall(QStringLiteral("BuzzerAndLEDControl")),
                 Args({1, 21, 22, 255, 11, 12, 127, colour, 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  控制LED、蜂鸣器") + kOk);
    }

    void clockSetRefusals_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("conversionError");
        const auto t = [](const char* s) { return QString::fromUtf8(s).split(QLatin1Char(',')); };
        QTest::newRow("one empty field")
            << t("26,5,,8,5,9") << QStringLiteral("请输入数据") << QString();
        QTest::newRow("pasted letters") << t("26,5,x1,8,5,9") << QString() << QStringLiteral("x1");
    }
    void clockSetRefusals() {
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QString, conversionError);
        CommandConsole f;
        f.bar->SetPanel(0, QStringLiteral("before"));
        const char* names[] = {"Edit_year", "Edit_Month",  "Edit_date",
                               "Edit_Hour", "Edit_minute", "Edit_Sedcond"};
        for (int i = 0; i < 6; ++i) {
            f.setText(names[i], fields[i]);
        }
        f.click("ClockCMD");
        QCOMPARE(f.library.Calls().size(), 0);
        QCOMPARE(f.panel(0), QStringLiteral("before"));
        if (message.isEmpty()) {
            QCOMPARE(f.prompter.messages.size(), 0);
            QCOMPARE(f.prompter.conversionErrors, QStringList{conversionError});
        } else {
            QCOMPARE(f.prompter.messages.size(), 1);
            QCOMPARE(f.prompter.messages[0].text, message);
            QCOMPARE(f.prompter.messages[0].caption, QStringLiteral("信息提示"));
            QCOMPARE(f.prompter.messages[0].icon, Icon::Information);
        }
    }

    void clockSetSendsTheRecord() {
        CommandConsole f;
        const char* names[] = {"Edit_year", "Edit_Month",  "Edit_date",
                               "Edit_Hour", "Edit_minute", "Edit_Sedcond"};
        const char* values[] = {"99", "12", "31", "7", "05", "59"};
        for (int i = 0; i < 6; ++i) {
            f.setText(names[i], QString::fromLatin1(values[i]));
        }
        f.click("ClockCMD");
        QCOMPARE(f.onlyCall(QStringLiteral("SetClock")),
                 Args({1, QByteArray("\x63\x0C\x1F\x07\x05\x3B", 6), 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  设置实时时钟") + kOk);
    }

    void clockReadFillsPaddedFields() {
        CommandConsole f;
        f.check("RadioButton_GetClock");
        f.library.Script(QStringLiteral("GetClock"), 0,
                         out({{"clock", QByteArray("\x09\x03\x07\x08\x05\x09", 6)}}));
        f.click("ClockCMD");
        QCOMPARE(f.library.CountOf(QStringLiteral("GetClock")), 1);
        QCOMPARE(f.text("Edit_year"), QStringLiteral("09"));
        QCOMPARE(f.text("Edit_Month"), QStringLiteral("03"));
        QCOMPARE(f.text("Edit_date"), QStringLiteral("07"));
        QCOMPARE(f.text("Edit_Hour"), QStringLiteral("08"));
        QCOMPARE(f.text("Edit_minute"), QStringLiteral("05"));
        QCOMPARE(f.text("Edit_Sedcond"), QStringLiteral("09"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  查询实时时钟") + kOk);
    }

    void failedClockReadLeavesFields() {
        CommandConsole f;
        f.check("RadioButton_GetClock");
        f.setText("Edit_year", QStringLiteral("26"));
        f.library.Script(QStringLiteral("GetClock"), 9,
                         out({{"clock", QByteArray("\x01\x01\x01\x01\x01\x01", 6)}}));
        f.click("ClockCMD");
        QCOMPARE(f.text("Edit_year"), QStringLiteral("26"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  查询实时时钟模式不对"));
    }

    void infraredOffAndOn() {
        CommandConsole f;
        f.click("CloseIR");
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  关闭红外") + kOk);
        f.click("OpenIR");
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  打开红外") + kOk);
        const auto calls = f.library.CallsOf(QStringLiteral("SetIR"));
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls[0].args, Args({1, 1, 4}));
        QCOMPARE(calls[1].args, Args({1, 2, 4}));
    }

    void infraredState_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("shown");
        QTest::newRow("on") << 0 << 1 << QStringLiteral("ON");
        QTest::newRow("off") << 0 << 0 << QStringLiteral("OFF");
        QTest::newRow("unknown state leaves it empty") << 0 << 7 << QString();
        QTest::newRow("failed read leaves it empty") << 48 << 1 << QString();
    }
    void infraredState() {
        QFETCH(int, result);
        QFETCH(int, state);
        QFETCH(QString, shown);
        CommandConsole f;
        f.setText("IRStatus", QStringLiteral("ON"));
        f.library.Script(QStringLiteral("GetIRStatus"), result, out({{"status", state}}));
        f.click("Btn_GetIRStatus");
        QCOMPARE(f.text("IRStatus"), shown);
        QCOMPARE(f.library.CountOf(QStringLiteral("GetIRStatus")), 1);
    }

    void basicInfo_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("detailedEnabled");
        QTest::newRow("version 6 leaves the detailed button")
            << 0 << 6 << 9 << QStringLiteral("06.09") << false;
        QTest::newRow("version 7 enables it") << 0 << 7 << 0 << QStringLiteral("07.00") << true;
        QTest::newRow("failure shows nothing") << 5 << 6 << 1 << QString() << false;
    }
    void basicInfo() {
        QFETCH(int, result);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, version);
        QFETCH(bool, detailedEnabled);
        CommandConsole f;
        auto* detailed = f.get("Btn_GetControllerParticInfo");
        detailed->setEnabled(false);
        f.setText("Edit19", QStringLiteral("old"));
        f.library.Script(QStringLiteral("GetControllerInfo"), result,
                         out({{"product", 0x3C}, {"major", major}, {"minor", minor}}));
        f.click("Btn_GetControllerInfo");
        QCOMPARE(f.text("Edit17"), result == 0 ? QStringLiteral("3C") : QString());
        QCOMPARE(f.text("Edit18"), version);
        QCOMPARE(f.text("Edit19"), QString());
        QCOMPARE(detailed->isEnabled(), detailedEnabled);
    }

    void basicInfoNeverDisablesDetailed() {
        CommandConsole f;
        f.library.Script(QStringLiteral("GetControllerInfo"), 0, out({{"major", 2}}));
        f.click("Btn_GetControllerInfo");
        QVERIFY(f.get("Btn_GetControllerParticInfo")->isEnabled());
    }

    void detailedInfoShowsSerial() {
        CommandConsole f;
        f.library.Script(QStringLiteral("GetControllerDetailedInfo"), 0,
                         out({{"product", 0xA1},
                              {"major", 7},
                              {"minor", 2},
                              {"serial", QByteArray("\x01\x02\x03\x04", 4)},
                              {"s", 1}}));
        f.click("Btn_GetControllerParticInfo");
        QCOMPARE(f.text("Edit17"), QStringLiteral("A1"));
        QCOMPARE(f.text("Edit18"), QStringLiteral("07.02"));
        QCOMPARE(f.text("Edit19"), QStringLiteral("04-03-02-01"));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  获取控制器详细信息") + kOk);
        QCOMPARE(f.panel(1), QStringLiteral("后台记录数据区空闲容量<=15%"));
    }

    void failedDetailedInfoEmptiesIdentity() {
        CommandConsole f;
        f.setText("Edit17", QStringLiteral("A1"));
        f.library.Script(QStringLiteral("GetControllerDetailedInfo"), 8,
                         out({{"serial", QByteArray("\x01\x02\x03\x04", 4)}}));
        f.click("Btn_GetControllerParticInfo");
        QCOMPARE(f.text("Edit17"), QString());
        QCOMPARE(f.text("Edit19"), QString());
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  获取控制器详细信息无效的命令"));
    }

    void clearBuffer() {
        CommandConsole f;
        f.click("Btn_ClearBuffer");
        QCOMPARE(f.onlyCall(QStringLiteral("ClearControllerBuffer")), Args({1, 4}));
        QCOMPARE(f.panel(0), QStringLiteral("09:08:07  清除控制器队列中的缓存") + kOk);
    }

    void readerStatus_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("rf");
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("field");
        QTest::newRow("link up, field opening")
            << 0 << 1 << 2 << QStringLiteral("连接正常") << QStringLiteral("射频场正在打开...");
        QTest::newRow("link down whatever the field")
            << 0 << 0 << 1 << QStringLiteral("连接断开") << QString();
        QTest::newRow("failure empties both") << 48 << 1 << 1 << QString() << QString();
    }
    void readerStatus() {
        QFETCH(int, result);
        QFETCH(int, link);
        QFETCH(int, rf);
        QFETCH(QString, connection);
        QFETCH(QString, field);
        CommandConsole f;
        f.setText("edtConnectStatus", QStringLiteral("x"));
        f.setText("edtANTStatus", QStringLiteral("y"));
        f.library.Script(QStringLiteral("GetControllerReaderConnectionStatus"), result,
                         out({{"link", link}, {"rf", rf}}));
        f.click("btnGetReaderStatus");
        QCOMPARE(f.text("edtConnectStatus"), connection);
        QCOMPARE(f.text("edtANTStatus"), field);
        QVERIFY(f.panel(0).startsWith(QStringLiteral("09:08:07  ")));
    }
};

QTEST_MAIN(TestDeviceCommands)
#include "test_device_commands.moc"
