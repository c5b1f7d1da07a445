// Live monitoring end to end: gate-sim plays a scenario of raw messages, the console polls it
// over the real gate library, and every list ends up with exactly the expected lines in order.
#include "polled_console_fixture.h"

using monitor_testing::PolledConsole;

namespace {

const QString T = QStringLiteral("2012-05-06 09:08:07 ");

}  // namespace

class TestMonitorGateSim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void channelModeLists() {
        PolledConsole c;
        // Time bytes 12 5 6 9 8 7 in every message; the repeated no-person report is never
        // acknowledged and must not stall the queue.
        QVERIFY(
            c.Start(QStringLiteral("at 0 channel 0 0123456789ABCDEF 31 0c0506090807 0a0b0c0d0e\n"
                                   "at 0 channel 0 0000000000000000 01 0c0506090807\n"
                                   "at 0 channel 0 0000000000000000 02 0c0506090807\n"
                                   "at 0 channel 0 FFFFFFFFFFFFFFFF 02 0c0506090807\n"
                                   "at 0 channel 0 0000000000000000 04 0c0506090807\n"
                                   "at 0 channel 1 0300 0100 0000 0400 0c0506090807\n"
                                   "at 0 channel 2 1122334455667788 0c0506090807 13 a1b2\n"
                                   "at 0 channel 3 0c0506090807\n"
                                   "at 0 channel 4 0c0506090807\n"
                                   "at 0 channel 5 0c0506090807\n"),
                    QStringLiteral("channel")));
        c.click("Button_C_Get");
        QTRY_COMPARE_WITH_TIMEOUT(c.lines("ListBox6").size(), 1, 15000);
        c.click("StopGet");
        QCOMPARE(c.lines("ListBox2"),
                 (QStringList{T + QStringLiteral(" 01 23 45 67 89 AB CD EF 正向"),
                              T + QStringLiteral("  无人"),
                              T + QStringLiteral(" FF FF FF FF FF FF FF FF 反向"),
                              T + QStringLiteral(" 00 00 00 00 00 00 00 00 红外已关闭")}));
        QCOMPARE(c.lines("ListBox7"), (QStringList{T + QStringLiteral(" 0123456789ABCDEF"),
                                                   QStringLiteral("          0A0B0C0D0E"),
                                                   T + QStringLiteral(" 1122334455667788"),
                                                   QStringLiteral("          A1B2")}));
        QCOMPARE(c.lines("ListBox3"), (QStringList{T + QStringLiteral("3人正向 1人反向 0方向不定"),
                                                   QStringLiteral("共检测到4张卡片")}));
        QCOMPARE(c.lines("ListBox5"),
                 QStringList{T + QStringLiteral("11 22 33 44 55 66 77 88 超时")});
        QCOMPARE(c.lines("ListBox4"), QStringList{T + QStringLiteral(" 通过超时")});
        QCOMPARE(c.lines("ListBox6"), QStringList{T + QStringLiteral(" 红外探测报警")});
        QVERIFY(c.lines("ListBox1").isEmpty());
        // One LED and buzzer command, for the one real tag.
        const int leds = c.simulator.WithModel([](sim::ControllerModel& m) {
            return static_cast<int>(m.State().actuators.buzzerAndLedCommands);
        });
        QCOMPARE(leds, 1);
    }

    void easModeLists() {
        PolledConsole c;
        QVERIFY(c.Start(QStringLiteral("at 0 eas 0 01 0c0506090807\n"
                                       "at 0 eas 0 00 0c0506090807\n"
                                       "at 0 eas 0 00 0c0506090807\n"
                                       "at 0 eas 0 07 0c0506090807\n"
                                       "at 0 eas 32 0300 0100 0000 0c0506090807\n"
                                       "at 0 eas 33 0c0506090807\n"
                                       "at 0 eas 35 0c0506090807\n"
                                       "at 0 eas 34 0c0506090807\n"),
                        QStringLiteral("eas")));
        c.click("Button13");
        QTRY_COMPARE_WITH_TIMEOUT(c.lines("lst4").size(), 1, 15000);
        c.click("Button14");
        QCOMPARE(c.lines("lst1"),
                 (QStringList{T + QStringLiteral("   有人正向通过"), T + QStringLiteral("   无人"),
                              T + QStringLiteral("   ")}));
        QCOMPARE(c.lines("lst2"), QStringList{T + QStringLiteral("   3人正向 1人反向 0方向不定")});
        QCOMPARE(c.lines("lst3"), QStringList{T + QStringLiteral("   通过超时")});
        QCOMPARE(c.lines("lst4"), QStringList{T + QStringLiteral("   红外探测报警")});
    }
};

QTEST_MAIN(TestMonitorGateSim)
#include "test_monitor_gate_sim.moc"
