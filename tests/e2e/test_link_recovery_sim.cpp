// Links that come back, end to end: the console polls gate-sim over TCP and over a
// pseudo-terminal; the line goes away while the poll runs (the simulator stopped and started
// again on the same port; the pseudo-terminal hung up and back under another device name) and
// the events of the meantime and after arrive in the lists once it is back, with status-bar
// panel 2 telling the way; a close by hand while the line is away ends the tries.
#include "fault_console_fixture.h"
#include "golden_records.h"
#include "gui/message_list.h"
#include "model_settings.h"

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

    // A module that takes every new connection and drops it at once: the console reopens the
    // link at most once a second, and panel 2 never says it is back until it really is.
    void droppingModuleIsTriedOnceASecond() {
        FaultConsole c;
        QVERIFY(c.Start());
        QVERIFY(c.Open(Line::Tcp));
        c.click("Button_C_Get");
        c.simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0}, 1000);
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), kReconnecting, 5000);
        const int atLoss = c.simulator.TcpConnectionsAccepted();
        QElapsedTimer clock;
        clock.start();
        bool saidBack = false;
        while (clock.elapsed() < 3500) {  // the polls run every 50 ms meanwhile
            QTest::qWait(50);
            saidBack = saidBack || c.panel(2) == kBack;
        }
        const int reopened = c.simulator.TcpConnectionsAccepted() - atLoss;
        QVERIFY2(reopened >= 2 && reopened <= 5, qPrintable(QString::number(reopened)));
        QVERIFY(!saidBack);
        QCOMPARE(c.panel(2), kReconnecting);

        // The module keeps its connections again: back within the next second or so.
        c.simulator.Shared().With([](sim::ControllerModel&, sim::FaultPlan& faults) {
            faults.Clear();
            return 0;
        });
        QTRY_COMPARE_WITH_TIMEOUT(c.panel(2), kBack, 5000);
        c.click("StopGet");
        QVERIFY(c.prompter.messages.isEmpty());
    }

    // A reopened line that reaches another controller, or a lost line to a controller that
    // cannot be told apart from another: the console closes the connection through its own
    // close, says why, and nothing more goes to the line.
    void reopenThatCannotBeProvenClosesTheConnection_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("serialAfter");
        QTest::addColumn<QString>("said");
        QTest::newRow("another controller behind the adapter")
            << "7.02"
            << "0A0B0C0D" << QStringLiteral("另一台控制器");
        QTest::newRow("a controller without a serial number") << "6.09"
                                                              << "" << QStringLiteral("没有序列号");
    }
    void reopenThatCannotBeProvenClosesTheConnection() {
        QFETCH(QString, version);
        QFETCH(QString, serialAfter);
        QFETCH(QString, said);
        FaultConsole c;
        c.options.settings.emplace_back(QStringLiteral("version"), version);
        QVERIFY(c.Start(true));
        QVERIFY(c.Open(Line::Pty));
        c.click("Button_C_Get");
        if (!serialAfter.isEmpty()) {
            c.simulator.WithModel([&](sim::ControllerModel& m) {
                return sim::ApplySetting(m, QStringLiteral("serial"), serialAfter);
            });
        }
        c.simulator.AddFault(sim::Fault{sim::Fault::Kind::Disconnect, 0, 0});
        QTRY_COMPARE_WITH_TIMEOUT(c.prompter.messages.size(), 1, 10000);
        QVERIFY2(c.prompter.messages.back().text.contains(said),
                 qPrintable(c.prompter.messages.back().text));
        QCOMPARE(c.form->Fields().connection.PortHandle, -1);
        QCOMPARE(c.panel(2), QStringLiteral("IF1: 通讯关闭"));
        QVERIFY(c.w<QPushButton>("OpenPort")->isEnabled());
        QVERIFY(!c.w<QPushButton>("ClosePort")->isEnabled());
        QVERIFY(!c.w<QPushButton>("Btn_DeleteAllRecord")->isEnabled());
        QVERIFY(!c.w<QPushButton>("StopGet")->isEnabled());
        // The polls stopped: a message queued now stays in the controller, undelivered.
        Push(c, 1);
        QTest::qWait(300);
        QVERIFY(Lines(c).isEmpty());
        QVERIFY(!Library(c).IsLinkOpen());
    }
};

QTEST_MAIN(TestLinkRecoverySim)
#include "test_link_recovery_sim.moc"
