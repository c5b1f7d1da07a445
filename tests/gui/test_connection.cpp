#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

#include "console_window.h"
#include "forms/command_controls.h"

using testing_support::RecordingPrompter;
using testing_support::ScriptedGateLibrary;

namespace {

// One main window with its controllers over the scripted library, as main builds it.
struct Console : testing_support::ConsoleWindow<> {
    Console() : ConsoleWindow(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 7))) {}

    template <typename T = QWidget>
    T* w(const char* name) {
        return get<T>(name);
    }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    gate::ConnectionState& conn() { return form.Fields().connection; }

    // A controller that answers every open and query with success.
    void ScriptGoodController(int major, int mode) {
        library.SetDefault(QStringLiteral("GetControllerInfo"), 0,
                           {{QStringLiteral("product"), 0x3A},
                            {QStringLiteral("major"), major},
                            {QStringLiteral("minor"), 5}});
        library.SetDefault(QStringLiteral("ModeSwitch"), 0, {{QStringLiteral("mode"), mode}});
    }
    void OpenSerial(int comboIndex) {
        form.PageControl2().setCurrentIndex(0);
        w<QComboBox>("ComboBox_Port")->setCurrentIndex(comboIndex);
        click("OpenPort");
    }
};

// The command controls by object name, in the order an open enables them.
const QStringList kCommandControlNames{QStringLiteral("Btn_GetControllerInfo"),
                                       QStringLiteral("SetRealy"),
                                       QStringLiteral("ClockCMD"),
                                       QStringLiteral("Btn_ClearBuffer"),
                                       QStringLiteral("ControllerInfo"),
                                       QStringLiteral("GetBackRecorfStatus"),
                                       QStringLiteral("Btn_DeleteAllRecord"),
                                       QStringLiteral("SearchInRecord"),
                                       QStringLiteral("GetFirstRecordAndDel"),
                                       QStringLiteral("GetFirstRecord"),
                                       QStringLiteral("SaveRecordAsTextFile"),
                                       QStringLiteral("SaveAndDeleteAll"),
                                       QStringLiteral("LEDAndBuzTest"),
                                       QStringLiteral("GetTagData"),
                                       QStringLiteral("CloseIR"),
                                       QStringLiteral("OpenIR"),
                                       QStringLiteral("Btn_GetIRStatus"),
                                       QStringLiteral("btnGetReaderStatus"),
                                       QStringLiteral("Button1"),
                                       QStringLiteral("Button2"),
                                       QStringLiteral("Button3"),
                                       QStringLiteral("Button4"),
                                       QStringLiteral("Button5"),
                                       QStringLiteral("Button6"),
                                       QStringLiteral("Button7"),
                                       QStringLiteral("Button9"),
                                       QStringLiteral("Button10"),
                                       QStringLiteral("Button16"),
                                       QStringLiteral("Button17"),
                                       QStringLiteral("Button8"),
                                       QStringLiteral("Button11"),
                                       QStringLiteral("Button12"),
                                       QStringLiteral("btnSetBackRecord"),
                                       QStringLiteral("btnReadBackRecord"),
                                       QStringLiteral("btnSetControAddr"),
                                       QStringLiteral("btnGetControAddr")};

bool AllCommandControls(Console& c, bool enabled) {
    for (const QString& name : kCommandControlNames) {
        if (c.get(name)->isEnabled() != enabled) {
            qWarning("%s is %s", qPrintable(name), enabled ? "disabled" : "enabled");
            return false;
        }
    }
    return true;
}

}  // namespace

class TestConnection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The list the connection enables and disables is the window's command controls, in order.
    void commandControlsInOpeningOrder() {
        Console c;
        QStringList names;
        for (const QAbstractButton* b : forms::CommandControls(
                 c.form.CommandPage(), c.form.ChannelPage(), c.form.AlarmPage())) {
            names.append(b->objectName());
        }
        QCOMPARE(names, kCommandControlNames);
    }

    void startUpState() {
        Console c;
        auto* ports = c.w<QComboBox>("ComboBox_Port");
        QCOMPARE(ports->count(), 1);  // no serial ports in the empty table
        QCOMPARE(ports->currentText(), QStringLiteral("Auto"));
        QVERIFY(AllCommandControls(c, false));
        for (const char* name :
             {"Button_C_Get", "StopGet", "Button13", "Button14", "ClosePort",
              "Btn_GetControllerParticInfo", "Btn_CloseIF2", "CheckBox6", "CheckBox8", "CheckBox9",
              "ComboBox10", "ComboBox11", "Button19"}) {
            QVERIFY2(!c.enabled(name), name);
        }
        for (const char* name : {"OpenPort", "Btn_OpenIF2", "Button18"}) {
            QVERIFY2(c.enabled(name), name);
        }
        for (const char* name :
             {"RadioButton_red", "rb1", "rb3", "rb9", "rb13", "RadioButton3", "RadioButton5",
              "RadioButton7", "RadioButton_SetClock", "RadioButton2"}) {
            QVERIFY2(c.w<QRadioButton>(name)->isChecked(), name);
        }
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
        QCOMPARE(c.panel(3), QStringLiteral("IF2: 通讯关闭"));
        QCOMPARE(c.form.PageControl1().currentIndex(), 0);
        QCOMPARE(c.form.PageControl2().currentIndex(), 1);  // "网口"
        for (QTimer* t : {&c.form.Timer1(), &c.form.Timer2(), &c.form.Timer3()}) {
            QVERIFY(!t->isActive());
        }
        QCOMPARE(c.form.Timer2().interval(), 1000);
        QCOMPARE(c.conn().PortHandle, -1);
        QCOMPARE(c.form.Fields().IF2Port, -1);
        QCOMPARE(c.w<QLineEdit>("editControlAddr")->text(), QStringLiteral("FF"));
        QCOMPARE(c.w<QLineEdit>("Edit5")->text(), QStringLiteral("6000"));
    }

    void startUpLists_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("selected");
        QTest::newRow("lag time 0..255 at 100") << "ComboBox11" << 256 << "100";
        QTest::newRow("lead time 0..100 at 20") << "ComboBox10" << 101 << "20";
        QTest::newRow("relay 0..255 at 0") << "ComboBox_Relay" << 256 << "0";
        QTest::newRow("flash count 0..127") << "ComboBox2" << 128 << "0";
        QTest::newRow("inquiry time from 30") << "ComboBox_ReaderInventory" << 226 << "30";
        QTest::newRow("statistics time at 10") << "ComboBox_StatTime" << 253 << "10";
        QTest::newRow("obstacle time from 3") << "ComboBox_BlockMaxStayTime" << 253 << "3";
        QTest::newRow("tag time-out at 5") << "ComboBox_TagOverTime" << 15 << "5";
        QTest::newRow("tag quiet time at 2") << "ComboBox_TagQuietTime" << 15 << "2";
        QTest::newRow("alarm 1 buzzer on") << "ComboBox1" << 256 << "1";
        QTest::newRow("alarm 1 beep count") << "ComboBox14" << 256 << "2";
        QTest::newRow("alarm 3 relay on") << "ComboBox36" << 256 << "0";
        QTest::newRow("alarm 5 action count") << "ComboBox56" << 256 << "1";
        QTest::newRow("record store full")
            << "ComboBox_BackRecordConfig" << 2 << "后台数据记录存储区满时停止记录";
        QTest::newRow("block length") << "ComboBox5" << 2 << "4";
    }
    void startUpLists() {
        QFETCH(QString, list);
        QFETCH(int, count);
        QFETCH(QString, selected);
        Console c;
        auto* box = c.w<QComboBox>(list.toLatin1().constData());
        QCOMPARE(box->count(), count);
        QCOMPARE(box->currentText(), selected);
    }

    void portListOffersExistingPorts() {
        // /dev/null opens for reading and writing: COM3 exists; COM4's device does not.
        testing_support::ConsoleWindow<> c(
            QDateTime::currentDateTime(),
            {gate::ComPortTable(
                {{3, QStringLiteral("/dev/null")}, {4, QStringLiteral("/nonexistent/tty")}})});
        auto* ports = c.get<QComboBox>("ComboBox_Port");
        QCOMPARE(ports->count(), 2);
        QCOMPARE(ports->itemText(1), QStringLiteral("COM3"));
    }

    void serialOpenSucceeds_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("expectedAddress");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("detailed");
        QTest::addColumn<bool>("channelStart");
        QTest::addColumn<bool>("easStart");
        QTest::newRow("version 6.xx, channel mode")
            << "FF" << 0xFF << 6 << 0 << false << true << false;
        QTest::newRow("version 7.00 enables details")
            << "1" << 0x01 << 7 << 0 << true << true << false;
        QTest::newRow("EAS mode") << "1f" << 0x1F << 6 << 1 << false << false << true;
        QTest::newRow("forced EAS") << "FF" << 0xFF << 6 << 3 << false << false << true;
    }
    void serialOpenSucceeds() {
        QFETCH(QString, address);
        QFETCH(int, expectedAddress);
        QFETCH(int, major);
        QFETCH(int, mode);
        QFETCH(bool, detailed);
        QFETCH(bool, channelStart);
        QFETCH(bool, easStart);
        Console c;
        c.ScriptGoodController(major, mode);
        c.library.Script(QStringLiteral("AutoOpenComPort"), 0, {{QStringLiteral("handle"), 7}});
        c.w<QLineEdit>("editControlAddr")->setText(address);
        c.OpenSerial(0);

        QCOMPARE(c.library.CallsOf(QStringLiteral("AutoOpenComPort")).at(0).args.at(0).toInt(),
                 expectedAddress);
        QCOMPARE(c.conn().PortHandle, 7);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: COM7"));
        QCOMPARE(c.panel(0), QStringLiteral("09:08:07  打开端口操作成功"));
        QVERIFY(AllCommandControls(c, true));
        QVERIFY(!c.enabled("OpenPort"));
        QVERIFY(c.enabled("ClosePort"));
        QVERIFY(c.enabled("Btn_OpenIF2"));
        QVERIFY(!c.enabled("Btn_CloseIF2"));
        QCOMPARE(c.enabled("Btn_GetControllerParticInfo"), detailed);
        QCOMPARE(c.enabled("Button_C_Get"), channelStart);
        QCOMPARE(c.enabled("Button13"), easStart);
        QVERIFY(!c.enabled("StopGet"));
        QVERIFY(!c.enabled("Button14"));
        QCOMPARE(c.w<QLineEdit>("Edit17")->text(), QStringLiteral("3A"));
        QCOMPARE(c.w<QLineEdit>("Edit18")->text(),
                 QStringLiteral("%1.05").arg(major, 2, 10, QLatin1Char('0')));
        QCOMPARE(c.prompter.busyDepth, 0);
        QVERIFY(c.prompter.messages.isEmpty());
    }

    void serialOpenOfAListedPortUsesItsNumber() {
        Console c;
        c.ScriptGoodController(6, 0);
        c.form.findChild<QComboBox*>(QStringLiteral("ComboBox_Port"))
            ->addItem(QStringLiteral("COM12"));
        c.library.Script(QStringLiteral("OpenComPort"), 5);  // neither success nor comm error
        c.OpenSerial(1);
        QCOMPARE(c.library.CallsOf(QStringLiteral("OpenComPort")).at(0).args.at(1).toInt(), 12);
        QCOMPARE(c.conn().PortHandle, 12);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: COM12"));
        QCOMPARE(c.panel(0), QStringLiteral("09:08:07  打开端口本条记录不存在或已失效"));
        QVERIFY(AllCommandControls(c, false));
        QCOMPARE(c.library.CountOf(QStringLiteral("ModeSwitch")), 0);
        QCOMPARE(c.prompter.busyDepth, 0);
    }

    void serialOpenFailures_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("openResult");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("conversionErrors");
        QTest::newRow("empty address") << "" << 0 << "请输入要打开的控制器地址"
                                       << "提示" << 0;
        QTest::newRow("pasted non-hex address") << "zz" << 0 << ""
                                                << "" << 1;
        QTest::newRow("communication error") << "FF" << 48 << "通讯错误"
                                             << "信息提示" << 0;
    }
    void serialOpenFailures() {
        QFETCH(QString, address);
        QFETCH(int, openResult);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(int, conversionErrors);
        Console c;
        c.library.SetDefault(QStringLiteral("AutoOpenComPort"), openResult);
        c.w<QLineEdit>("editControlAddr")->setText(address);
        c.OpenSerial(0);
        if (message.isEmpty()) {
            QVERIFY(c.prompter.messages.isEmpty());
        } else {
            QCOMPARE(c.prompter.messages.size(), 1);
            QCOMPARE(c.prompter.messages.at(0).text, message);
            QCOMPARE(c.prompter.messages.at(0).caption, caption);
            QCOMPARE(c.prompter.messages.at(0).icon, gui::Prompter::Icon::Information);
        }
        QCOMPARE(c.prompter.conversionErrors.size(), conversionErrors);
        QCOMPARE(c.conn().PortHandle, -1);
        QCOMPARE(c.panel(0), QString());
        QVERIFY(AllCommandControls(c, false));
        QVERIFY(c.enabled("OpenPort"));
        QCOMPARE(c.prompter.busyDepth, 0);
        QVERIFY(!c.prompter.busyChanges.isEmpty());
    }

    // A failed mode query leaves the link open with the disconnected look; the next open ends
    // that link first instead of leaking it.
    void failedModeQueryKeepsLinkUntilNextOpen() {
        Console c;
        c.library.SetDefault(QStringLiteral("AutoOpenComPort"), 0, {{QStringLiteral("handle"), 4}});
        c.library.Script(QStringLiteral("ModeSwitch"), 48);
        c.OpenSerial(0);
        QCOMPARE(c.conn().PortHandle, 4);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: COM4"));
        QCOMPARE(c.panel(0), QString());
        QVERIFY(c.prompter.messages.isEmpty());
        QVERIFY(AllCommandControls(c, false));
        QVERIFY(c.enabled("OpenPort"));
        QCOMPARE(c.prompter.busyDepth, 0);

        c.click("OpenPort");
        const QStringList ops = c.library.Ops();
        QCOMPARE(ops.count(QStringLiteral("CloseComPort")), 1);
        QVERIFY(ops.indexOf(QStringLiteral("CloseComPort")) <
                ops.lastIndexOf(QStringLiteral("AutoOpenComPort")));
        QVERIFY(AllCommandControls(c, true));
    }

    void networkOpen_data() {
        QTest::addColumn<int>("openResult");
        QTest::addColumn<int>("modeResult");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("panel0");
        QTest::addColumn<QString>("panel2");
        QTest::addColumn<int>("messages");
        QTest::newRow("success") << 0 << 0 << true << "09:08:07  打开网口操作成功"
                                 << "IF1: TCP6001" << 0;
        QTest::newRow("communication error") << 48 << 0 << false << ""
                                             << "IF1: 通讯关闭" << 1;
        QTest::newRow("other code")
            << 51 << 0 << false << "09:08:07  打开网口通讯繁忙,设备正在执行其他指令"
            << "IF1: 通讯关闭" << 0;
        QTest::newRow("failed mode query") << 0 << 48 << false << ""
                                           << "IF1: TCP6001" << 0;
    }
    void networkOpen() {
        QFETCH(int, openResult);
        QFETCH(int, modeResult);
        QFETCH(bool, connected);
        QFETCH(QString, panel0);
        QFETCH(QString, panel2);
        QFETCH(int, messages);
        Console c;
        c.ScriptGoodController(6, 0);
        c.library.Script(QStringLiteral("ModeSwitch"), modeResult);
        c.library.Script(
            QStringLiteral("OpenNetPort"), openResult,
            openResult == 0 ? QVariantMap{{QStringLiteral("handle"), 6001}} : QVariantMap{});
        c.w<QLineEdit>("Edit5")->setText(QStringLiteral("6001"));
        c.w<QLineEdit>("Edit6")->setText(QStringLiteral(" 127.0.0.1 "));
        c.w<QLineEdit>("editControlAddr")->setText(QStringLiteral("01"));
        c.click("Button18");

        const auto call = c.library.CallsOf(QStringLiteral("OpenNetPort")).at(0);
        QCOMPARE(call.args.at(0).toInt(), 0xFF);  // the network open always uses 0xFF
        QCOMPARE(call.args.at(1).toInt(), 6001);
        QCOMPARE(call.args.at(2).toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(AllCommandControls(c, connected), true);
        QCOMPARE(c.enabled("Button18"), !connected);
        QCOMPARE(c.enabled("Button19"), connected);
        QCOMPARE(c.panel(0), panel0);
        QCOMPARE(c.panel(2), panel2);
        QCOMPARE(c.prompter.messages.size(), messages);
        QCOMPARE(c.prompter.busyDepth, 0);
    }

    void serialCloseAlwaysSucceeds() {
        Console c;
        c.ScriptGoodController(7, 0);
        c.library.SetDefault(QStringLiteral("AutoOpenComPort"), 0, {{QStringLiteral("handle"), 2}});
        c.library.SetDefault(QStringLiteral("CloseComPort"), 48);
        c.OpenSerial(0);
        c.click("Button_C_Get");
        QVERIFY(c.form.Timer1().isActive());
        c.form.Timer3().start();
        c.form.Timer2().start();
        c.click("ClosePort");
        // Closing stops both polls; the IF2 timer reads its own port and keeps running.
        QVERIFY(!c.form.Timer1().isActive());
        QVERIFY(!c.form.Timer3().isActive());
        QVERIFY(c.form.Timer2().isActive());
        c.form.Timer2().stop();
        QCOMPARE(c.conn().PortHandle, -1);
        QCOMPARE(c.panel(0), QString());
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
        QVERIFY(AllCommandControls(c, false));
        QVERIFY(c.enabled("OpenPort"));
        QVERIFY(!c.enabled("ClosePort"));
        QVERIFY(!c.enabled("Button_C_Get"));
        QVERIFY(!c.enabled("Btn_GetControllerParticInfo"));
        QCOMPARE(c.w<QLineEdit>("Edit17")->text(), QString());
        QCOMPARE(c.w<QLineEdit>("Edit18")->text(), QString());
    }

    void networkClose_data() {
        QTest::addColumn<int>("closeResult");
        QTest::addColumn<bool>("closed");
        QTest::newRow("success") << 0 << true;
        QTest::newRow("failure keeps the connected look") << 48 << false;
    }
    void networkClose() {
        QFETCH(int, closeResult);
        QFETCH(bool, closed);
        Console c;
        c.ScriptGoodController(6, 0);
        c.library.Script(QStringLiteral("OpenNetPort"), 0, {{QStringLiteral("handle"), 6000}});
        c.library.Script(QStringLiteral("CloseNetPort"), closeResult);
        c.click("Button18");
        c.click("Button19");
        QCOMPARE(c.library.CallsOf(QStringLiteral("CloseNetPort")).at(0).args.at(0).toInt(), 6000);
        QCOMPARE(c.conn().PortHandle, closed ? -1 : 6000);
        QVERIFY(AllCommandControls(c, !closed));
        QCOMPARE(c.enabled("Button18"), closed);
        QCOMPARE(c.enabled("Button19"), !closed);
    }

    // Only the visible tab's connection can stay open: switching tabs closes the other one.
    void tabChangeClosesTheConnection() {
        Console c;
        c.ScriptGoodController(6, 0);
        c.library.Script(QStringLiteral("OpenNetPort"), 0, {{QStringLiteral("handle"), 6000}});
        c.click("Button18");
        c.w<QLineEdit>("Edit5")->setText(QStringLiteral("6002"));  // read at the change
        c.form.PageControl2().setCurrentIndex(0);
        QCOMPARE(c.library.CallsOf(QStringLiteral("CloseNetPort")).at(0).args.at(0).toInt(), 6002);
        QCOMPARE(c.conn().PortHandle, -1);
        QVERIFY(AllCommandControls(c, false));

        c.library.Script(QStringLiteral("AutoOpenComPort"), 0, {{QStringLiteral("handle"), 3}});
        c.click("OpenPort");
        c.form.PageControl2().setCurrentIndex(1);
        QCOMPARE(c.library.CountOf(QStringLiteral("CloseComPort")), 1);
        QCOMPARE(c.conn().PortHandle, -1);
        QVERIFY(c.enabled("OpenPort"));
    }

    void pageChange_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("timersStopped");
        QTest::addColumn<bool>("channelStart");
        QTest::addColumn<bool>("easStart");
        QTest::newRow("no connection: only the panels") << false << 0 << false << false << false;
        QTest::newRow("channel mode") << true << 0 << true << true << false;
        QTest::newRow("EAS mode") << true << 1 << true << false << true;
        QTest::newRow("forced EAS leaves the buttons") << true << 2 << true << false << false;
    }
    void pageChange() {
        QFETCH(bool, open);
        QFETCH(int, mode);
        QFETCH(bool, timersStopped);
        QFETCH(bool, channelStart);
        QFETCH(bool, easStart);
        Console c;
        if (open) {
            c.conn().PortHandle = 3;
        }
        c.conn().OperatingMode = static_cast<gate::Byte>(mode);
        c.form.Timer1().start();
        c.form.Timer2().start();
        c.form.Timer3().start();
        c.form.StatusBar().SetPanel(0, QStringLiteral("x"));
        c.form.StatusBar().SetPanel(1, QStringLiteral("y"));
        c.form.PageControl1().setCurrentIndex(1);
        QCOMPARE(c.form.Timer1().isActive(), !timersStopped);
        QCOMPARE(c.form.Timer3().isActive(), !timersStopped);
        QVERIFY(c.form.Timer2().isActive());
        QCOMPARE(c.enabled("Button_C_Get"), channelStart);
        QCOMPARE(c.enabled("Button13"), easStart);
        QCOMPARE(c.panel(0), QString());
        QCOMPARE(c.panel(1), QString());
    }

    void closeQueryStopsTimersButKeepsTheLink() {
        Console c;
        c.conn().PortHandle = 3;
        c.form.Timer1().start();
        c.form.Timer2().start();
        c.form.show();
        QVERIFY(c.form.close());
        QVERIFY(c.form.Fields().CloseRequested);
        QVERIFY(!c.form.Timer1().isActive());
        QVERIFY(!c.form.Timer2().isActive());
        QCOMPARE(c.library.CountOf(QStringLiteral("CloseComPort")), 0);
        QCOMPARE(c.library.CountOf(QStringLiteral("CloseNetPort")), 0);
    }

    void keyFilters_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        QTest::newRow("hex refuses g") << "editControlAddr"
                                       << "g"
                                       << "" << 1;
        QTest::newRow("hex takes f F 7") << "Edit14"
                                         << "fF7"
                                         << "fF7" << 0;
        QTest::newRow("decimal refuses a") << "Edit5"
                                           << "1a2"
                                           << "12" << 1;
        QTest::newRow("clock field takes digits") << "Edit_year"
                                                  << "24"
                                                  << "24" << 0;
    }
    void keyFilters() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        Console c;
        auto* edit = c.w<QLineEdit>(field.toLatin1().constData());
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), text);
        QCOMPARE(c.prompter.beeps, beeps);
    }

    void keyFiltersLetEditingKeysThrough() {
        Console c;
        auto* edit = c.w<QLineEdit>("editControlAddr");  // "FF"
        edit->setCursorPosition(2);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Left);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(c.prompter.beeps, 0);
    }

    void enterInRecordIndexRunsItsActionThenBeeps() {
        Console c;
        int beepsWhenRun = -1;
        QObject::connect(&c.form, &app::TForm1::Edit31EnterPressed, &c.form,
                         [&] { beepsWhenRun = c.prompter.beeps; });
        auto* edit = c.w<QLineEdit>("Edit31");
        QTest::keyClicks(edit, QStringLiteral("12"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(beepsWhenRun, 0);
        QCOMPARE(c.prompter.beeps, 1);
        QCOMPARE(edit->text(), QStringLiteral("12"));
    }
};

QTEST_MAIN(TestConnection)
#include "test_connection.moc"
