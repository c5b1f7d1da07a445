#include <QTest>

#include "console_window.h"
#include "core/commands/alarm_values.h"
#include "gate/com_port_table.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"

using testing_support::ConsoleWindow;

// The command and alarm pages against gate-sim over TCP loopback: each setting written from the
// controls and read back into them comes back the same.
class TestCommandSettingsSim : public QObject {
    Q_OBJECT

    using Pages = ConsoleWindow<gate::WireGateLibrary>;

    sim::GateSimulator simulator_;
    std::unique_ptr<Pages> pages_;

    Pages& p() { return *pages_; }
    QString panel() { return p().bar->Panel(0); }

private Q_SLOTS:
    void initTestCase() {
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator_.Start(options, &error), qPrintable(error));
        const quint16 port = simulator_.Endpoints().tcpPort;
        QVERIFY(gate::IsNetworkHandle(port));
        pages_ = std::make_unique<Pages>(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7)),
                                         app::Console::Options{}, gate::ComPortTable());
        // Opened as the operator opens it: the network tab, the simulator's address and port.
        p().form.PageControl2().setCurrentIndex(1);
        p().setText("Edit6", QStringLiteral("127.0.0.1"));
        p().setText("Edit5", QString::number(port));
        p().click("Button18");
        QCOMPARE(p().panel(0), QStringLiteral("09:08:07  打开网口操作成功"));
        QCOMPARE(p().fields.connection.PortHandle, std::int32_t{port});
    }
    void cleanupTestCase() {
        pages_.reset();
        simulator_.Stop();
    }
    void init() { p().bar->SetPanel(0, QString()); }

    void clock() {
        p().check("RadioButton_SetClock");
        const char* names[] = {"Edit_year", "Edit_Month",  "Edit_date",
                               "Edit_Hour", "Edit_minute", "Edit_Sedcond"};
        const char* values[] = {"26", "05", "06", "07", "08", "09"};
        for (int i = 0; i < 6; ++i) {
            p().setText(names[i], QString::fromLatin1(values[i]));
        }
        p().click("ClockCMD");
        QCOMPARE(panel(), QStringLiteral("09:08:07  设置实时时钟操作成功"));
        for (const char* n : names) {
            p().setText(n, QString());
        }
        p().check("RadioButton_GetClock");
        p().click("ClockCMD");
        QCOMPARE(panel(), QStringLiteral("09:08:07  查询实时时钟操作成功"));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(p().text(names[i]), QString::fromLatin1(values[i]));
        }
        // The simulated clock runs on; a slow machine may have passed a few seconds.
        const int seconds = p().text("Edit_Sedcond").toInt();
        QVERIFY2(seconds >= 9 && seconds <= 40, qPrintable(p().text("Edit_Sedcond")));
    }

    void identity() {
        p().click("Btn_GetControllerInfo");
        QVERIFY(!p().text("Edit18").isEmpty());
        p().click("Btn_GetControllerParticInfo");
        QCOMPARE(panel(), QStringLiteral("09:08:07  获取控制器详细信息操作成功"));
        QCOMPARE(p().text("Edit19").size(), 11);
    }

    void configurationBlock() {
        const char* lists[] = {"ComboBox_ReaderInventory",  "ComboBox_CloseReaderTime",
                               "ComboBox_StatTime",         "ComboBox_TagOverTime",
                               "ComboBox_TagQuietTime",     "ComboBox_BlockMaxStayTime",
                               "ComboBox_BackRecordConfig", "ComboBox9"};
        const int chosen[] = {70, 12, 27, 9, 4, 17, 1, 1};
        for (int i = 0; i < 8; ++i) {
            p().select(lists[i], chosen[i]);
        }
        p().check("RadioButton2");
        p().click("ControllerInfo");
        QCOMPARE(panel(), QStringLiteral("09:08:07  设置控制器配置信息操作成功"));
        for (const char* l : lists) {
            p().select(l, 0);
        }
        p().check("RadioButton1");
        p().click("ControllerInfo");
        QCOMPARE(panel(), QStringLiteral("09:08:07  获取控制器配置信息操作成功"));
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(p().list(lists[i])->currentIndex(), chosen[i]);
        }
    }

    void correlation() {
        p().check("CheckBox5");
        p().check("CheckBox6", false);
        p().check("CheckBox8");
        p().check("CheckBox9", false);
        p().select("ComboBox10", 40);
        p().select("ComboBox11", 30);
        p().click("Button1");
        QCOMPARE(panel(), QStringLiteral("09:08:07  设置检测配置操作成功"));
        p().check("CheckBox8", false);
        p().check("CheckBox9");
        p().select("ComboBox10", 1);
        p().select("ComboBox11", 2);
        p().click("Button2");
        QCOMPARE(panel(), QStringLiteral("09:08:07  读取检测配置操作成功"));
        QVERIFY(p().checked("CheckBox5"));
        QVERIFY(!p().checked("CheckBox6"));
        QVERIFY(p().checked("CheckBox8"));
        QVERIFY(!p().checked("CheckBox9"));
        QCOMPARE(p().list("ComboBox10")->currentIndex(), 40);
        QCOMPARE(p().list("ComboBox11")->currentIndex(), 30);
    }

    void tagDataSettings() {
        p().check("CheckBox10");
        p().check("CheckBox11");
        p().select("ComboBox12", 2);
        p().setText("Edit3", QStringLiteral("4"));
        p().setText("Edit2", QStringLiteral("6"));
        p().click("Button3");
        QCOMPARE(panel(), QStringLiteral("09:08:07  设置配置操作成功"));
        p().check("CheckBox10", false);
        p().check("CheckBox11", false);
        p().select("ComboBox12", 0);
        p().setText("Edit3", QString());
        p().setText("Edit2", QString());
        p().click("Button4");
        QCOMPARE(panel(), QStringLiteral("09:08:07  读取配置操作成功"));
        QVERIFY(p().checked("CheckBox10"));
        QVERIFY(p().checked("CheckBox11"));
        QCOMPARE(p().list("ComboBox12")->currentIndex(), 2);
        QCOMPARE(p().text("Edit3"), QStringLiteral("4"));
        QCOMPARE(p().text("Edit2"), QStringLiteral("6"));
    }

    void switches_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("setButton");
        QTest::addColumn<QString>("readButton");
        QTest::addColumn<QString>("shown");
        QTest::newRow("EAS mode") << QStringLiteral("rb2") << QStringLiteral("Button5")
                                  << QStringLiteral("Button6") << QStringLiteral("   EAS模式");
        QTest::newRow("channel mode")
            << QStringLiteral("rb1") << QStringLiteral("Button5") << QStringLiteral("Button6")
            << QStringLiteral("   通道管理模式");
        QTest::newRow("infrared reverse")
            << QStringLiteral("rb4") << QStringLiteral("Button7") << QStringLiteral("Button8")
            << QStringLiteral("   红外线反向");
        QTest::newRow("infrared forward")
            << QStringLiteral("rb3") << QStringLiteral("Button7") << QStringLiteral("Button8")
            << QStringLiteral("   红外线正向");
        QTest::newRow("alarm on reader loss")
            << QStringLiteral("rb10") << QStringLiteral("Button9") << QStringLiteral("Button10")
            << QStringLiteral("   读写器失去连接时报警");
        QTest::newRow("no alarm on reader loss")
            << QStringLiteral("rb9") << QStringLiteral("Button9") << QStringLiteral("Button10")
            << QStringLiteral("   读写器失去连接时不报警");
        QTest::newRow("write background records")
            << QStringLiteral("rb14") << QStringLiteral("btnSetBackRecord")
            << QStringLiteral("btnReadBackRecord") << QStringLiteral("   要写后台记录");
    }
    void switches() {
        QFETCH(QString, radio);
        QFETCH(QString, setButton);
        QFETCH(QString, readButton);
        QFETCH(QString, shown);
        p().check(radio.toLatin1().constData());
        p().click(setButton.toLatin1().constData());
        QCOMPARE(p().fields.connection.LastResult, 0);
        p().bar->SetPanel(0, QString());
        p().click(readButton.toLatin1().constData());
        QCOMPARE(panel(), QStringLiteral("09:08:07") + shown);
    }

    void alarms() {
        p().check("RadioButton7");
        const char* boxes[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox7"};
        const bool enabled[] = {false, true, false, true, true};
        for (int i = 0; i < 5; ++i) {
            p().check(boxes[i], enabled[i]);
        }
        p().click("Button12");
        QCOMPARE(panel(), QStringLiteral("09:08:07  设置  操作成功"));
        QList<int> pattern;
        for (int n = 0; n < 45; ++n) {
            pattern << (n * 37 + 11) % 256;
            p().select(commands::AlarmPatternListName(n).toLatin1().constData(), pattern.last());
        }
        p().click("Button11");
        QCOMPARE(panel(), QStringLiteral("09:08:07  报警设置   操作成功"));
        for (int i = 0; i < 5; ++i) {
            p().check(boxes[i], !enabled[i]);
        }
        for (int n = 0; n < 45; ++n) {
            p().select(commands::AlarmPatternListName(n).toLatin1().constData(), 0);
        }
        p().check("RadioButton8");
        p().click("Button12");
        QCOMPARE(panel(), QStringLiteral("09:08:07  询查 操作成功"));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(p().checked(boxes[i]), enabled[i]);
        }
        for (int n = 0; n < 45; ++n) {
            QCOMPARE(
                p().list(commands::AlarmPatternListName(n).toLatin1().constData())->currentIndex(),
                pattern[n]);
        }
    }

    // Last: the address is read (the console then holds the controller's own address, no
    // longer 0xFF) and changed twice; each change shows the new current address, and every
    // later command goes to it.
    void address() {
        p().click("btnGetControAddr");
        QCOMPARE(panel(), QStringLiteral("09:08:07  读取地址操作成功"));
        QCOMPARE(p().text("Edit4"), QStringLiteral("01"));
        QCOMPARE(p().fields.connection.ControllerAddress, gate::Byte(0x01));
        for (const char* next : {"1F", "2A"}) {
            p().setText("editNewConAddr", QString::fromLatin1(next));
            p().click("btnSetControAddr");
            QCOMPARE(panel(), QStringLiteral("09:08:07  设置地址操作成功"));
            QCOMPARE(p().text("Edit4"), QString::fromLatin1(next));
            QCOMPARE(int(p().fields.connection.ControllerAddress),
                     QByteArray(next).toInt(nullptr, 16));
        }
        p().setText("Edit4", QString());
        p().click("btnGetControAddr");
        QCOMPARE(p().text("Edit4"), QStringLiteral("2A"));
        p().click("Btn_ClearBuffer");
        QCOMPARE(panel(), QStringLiteral("09:08:07  清除控制器队列中的缓存操作成功"));
    }
};

QTEST_MAIN(TestCommandSettingsSim)
#include "test_command_settings_sim.moc"
