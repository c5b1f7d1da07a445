// Links that come back, end to end: the console polls gate-sim over TCP and over a
// pseudo-terminal; the line goes away while the poll runs (the simulator stopped and started
// again on the same port; the pseudo-terminal hung up and back under another device name) and
// the events of the meantime and after arrive in the lists once it is back, with status-bar
// panel 2 telling the way; a close by hand while the line is away ends the tries.
#include "fault_console_fixture.h"
#include "golden_records.h"
#include "gui/message_list.h"

using fault_testing::FaultConsole;
using fault_testing::Line;

namespace {

constexpr sim::Byte kPassageTimeout = 3;
const QString kReconnecting = QStringLiteral("IF1: 重连中…");
const QString kBack = QStringLiteral("IF1: 已恢复");

// Passage time-out number n, queued in the controller; its seconds tell the events apart.
void Push(FaultConsole& c, int n) {
    c.simulator.WithModel([n](sim::ControllerModel& m) {
        m.PushChannelMessage(kPassageTimeout, GoldenBody({24, 5, 6, 9, 8, n}));
        return 0;
    });
}

QString Shown(int n) {
    return QStringLiteral("2024-05-06 09:08:%1  通过超时").arg(n, 2, 10, QLatin1Char('0'));
}

QStringList Lines(FaultConsole& c) {
    QStringList out;
    const auto* list = c.w<gui::MessageList>("ListBox4");
    for (int i = 0; i < list->Count(); ++i) {
        out << list->Line(i);
    }
    return out;
}

gate::WireGateLibrary& Library(FaultConsole& c) {
    return dynamic_cast<gate::WireGateLibrary&>(*c.library);
}

}  // namespace

class TestLinkRecoverySim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tcpLineRestartedWhilePolling() {
        FaultConsole c;
        QVERIFY(c.Start());
        QVERIFY(c.Open(Line::Tcp));
        c.click("Button_C_Get");
        Push(c, 1);
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c), QStringList{Shown(1)}, 5000);

        c.simulator.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), kReconnecting, 5000);
        Push(c, 2);
        Push(c, 3);
        QTest::qWait(1500);  // polls go on failing meanwhile, quietly
        QCOMPARE(c.lastResult(), 48);
        QCOMPARE(c.panel(2), kReconnecting);
        QVERIFY(c.w<QPushButton>("StopGet")->isEnabled());

        QVERIFY(c.Restart());
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c), (QStringList{Shown(1), Shown(2), Shown(3)}), 10000);
        QCOMPARE(c.panel(2), kBack);
        Push(c, 4);
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c).size(), 4, 5000);
        QCOMPARE(Lines(c).back(), Shown(4));
        // A moment later panel 2 shows the link as before.
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), QStringLiteral("IF1: TCP%1").arg(c.options.tcpPort),
                                  8000);
        c.click("StopGet");
        QVERIFY(c.prompter.messages.isEmpty());
    }

    void usbAdapterHungUpAndBackUnderAnotherName() {
        FaultConsole c;
        QVERIFY(c.Start(true));
        QVERIFY(c.Open(Line::Pty));
        const QString before = c.simulator.Endpoints().ptyPath;
        c.click("Button_C_Get");
        Push(c, 1);
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c), QStringList{Shown(1)}, 5000);

        // Pulled out: the line hangs up, and for a while no such adapter is present.
        c.adapterPresent = false;
        c.simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0});
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), kReconnecting, 5000);
        Push(c, 2);
        QTest::qWait(1200);
        QCOMPARE(Lines(c).size(), 1);

        // Plugged in again: the same adapter under the name the system gives it now.
        QVERIFY(c.simulator.Endpoints().ptyPath != before);
        c.adapterPresent = true;
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c), (QStringList{Shown(1), Shown(2)}), 10000);
        QCOMPARE(c.panel(2), kBack);
        Push(c, 3);
        QTRY_COMPARE_WITH_TIMEOUT(Lines(c).size(), 3, 5000);
        c.click("StopGet");
        QVERIFY(c.prompter.messages.isEmpty());
    }

    // Closed by hand while the line is away: no more tries, also once the line is there again.
    void closeByHandEndsTheTries() {
        FaultConsole c;
        QVERIFY(c.Start());
        QVERIFY(c.Open(Line::Tcp));
        c.click("Button_C_Get");
        c.simulator.Stop();
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), kReconnecting, 5000);
        QVERIFY(Library(c).IsReconnecting());
        c.Close(Line::Tcp);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
        QVERIFY(!Library(c).IsReconnecting());
        QVERIFY(c.Restart());
        QTest::qWait(1500);
        QVERIFY(!Library(c).IsLinkOpen());
        QCOMPARE(Library(c).ReopenTries(), 0);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
    }
};

QTEST_MAIN(TestLinkRecoverySim)
#include "test_link_recovery_sim.moc"
