#include <QTest>
#include <QTimer>

#include "monitor_fixture.h"

namespace {

const QByteArray kTime = MessageBytes({12, 5, 6, 9, 8, 7});
const QByteArray kUid = MessageBytes({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});

QVariantMap Message(int kind, const QByteArray& body) {
    return {{QStringLiteral("kind"), kind}, {QStringLiteral("body"), body}};
}

const QString kChannelFetch = QStringLiteral("GetChannelMessage");
const QString kEasFetch = QStringLiteral("GetEASMessage");

// Delivers one tick of a timer without starting it.
void Tick(QTimer& timer) {
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

}  // namespace

class TestMonitorPolling : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startAndStopChannelPolling() {
        MonitorFixture f;
        f.Button("Button_C_Get").setEnabled(true);
        f.Button("StopGet").setEnabled(false);
        f.library.SetDefault(kChannelFetch, 5);  // no message
        QTest::mouseClick(&f.Button("Button_C_Get"), Qt::LeftButton);
        QVERIFY(!f.Button("Button_C_Get").isEnabled());
        QVERIFY(f.Button("StopGet").isEnabled());
        QVERIFY(f.form.Timer1().isActive());
        QTRY_VERIFY_WITH_TIMEOUT(f.library.CountOf(kChannelFetch) >= 2, 10000);
        QVERIFY(f.Fields().connection.LastResult == 5);
        QVERIFY(f.form.StatusBar().Panel(0).contains(QStringLiteral("获取命令")));
        QTest::mouseClick(&f.Button("StopGet"), Qt::LeftButton);
        QVERIFY(f.Button("Button_C_Get").isEnabled());
        QVERIFY(!f.Button("StopGet").isEnabled());
        QVERIFY(!f.form.Timer1().isActive());
    }

    void startAndStopEasPolling() {
        MonitorFixture f;
        f.Button("Button13").setEnabled(true);
        f.Button("Button14").setEnabled(false);
        f.library.SetDefault(kEasFetch, 0, Message(0x21, kTime));
        QTest::mouseClick(&f.Button("Button13"), Qt::LeftButton);
        QVERIFY(f.form.Timer3().isActive());
        QTRY_VERIFY_WITH_TIMEOUT(f.List("lst3").Count() >= 2, 10000);
        QCOMPARE(f.List("lst3").Line(0), QStringLiteral("2012-05-06 09:08:07    通过超时"));
        QTest::mouseClick(&f.Button("Button14"), Qt::LeftButton);
        QVERIFY(!f.form.Timer3().isActive());
        QVERIFY(f.Button("Button13").isEnabled());
    }

    // Each library call of a poll runs before any call of the next poll: ticks of either timer
    // that arrive while a poll holds PollBusy are dropped.
    void pollsNeverNestWithBothTimersOn() {
        MonitorFixture f;
        f.library.SetDefault(kChannelFetch, 0, Message(0, kUid + MessageBytes({0x31}) + kTime));
        f.library.SetDefault(kEasFetch, 0, Message(0x00, MessageBytes({1}) + kTime));
        f.form.Timer1().start();
        f.form.Timer3().start();
        QTRY_VERIFY_WITH_TIMEOUT(
            f.library.CountOf(kChannelFetch) >= 3 && f.library.CountOf(kEasFetch) >= 3, 20000);
        f.form.Timer1().stop();
        f.form.Timer3().stop();
        const QStringList ops = f.library.Ops();
        const QStringList channelPoll{kChannelFetch, QStringLiteral("Acknowledge"),
                                      QStringLiteral("BuzzerAndLEDControl"),
                                      QStringLiteral("Acknowledge")};
        const QStringList easPoll{kEasFetch, QStringLiteral("Acknowledge")};
        for (qsizetype i = 0; i < ops.size();) {
            const QStringList& expected = ops.at(i) == kChannelFetch ? channelPoll : easPoll;
            QCOMPARE(ops.mid(i, expected.size()), expected);
            i += expected.size();
        }
        QVERIFY(!f.Fields().PollBusy);
    }

    void tickWhileBusyIsDropped() {
        MonitorFixture f;
        f.Fields().PollBusy = true;
        Tick(f.form.Timer1());
        Tick(f.form.Timer3());
        QVERIFY(f.library.Calls().isEmpty());
    }

    // Polling a closed link only fills the status bar with errors: the tick stops its timer.
    void tickAfterTheConnectionClosedStopsItsTimer() {
        MonitorFixture f;
        f.form.Timer1().start();
        f.form.Timer3().start();
        f.Fields().connection.PortHandle = -1;
        QTRY_VERIFY_WITH_TIMEOUT(!f.form.Timer1().isActive() && !f.form.Timer3().isActive(), 10000);
        QVERIFY(f.library.Calls().isEmpty());
    }

    void pollWritesListsAndScrolls() {
        MonitorFixture f;
        f.form.resize(f.form.size());
        f.library.Script(kChannelFetch, 0,
                         Message(1, MessageBytes({3, 0, 1, 0, 0, 0, 4, 0}) + kTime));
        Tick(f.form.Timer1());
        QCOMPARE(f.Lines("ListBox3"),
                 (QStringList{QStringLiteral("2012-05-06 09:08:07 3人正向 1人反向 0方向不定"),
                              QStringLiteral("共检测到4张卡片")}));
        QCOMPARE(f.List("ListBox3").TopIndex(),
                 std::max(0, f.List("ListBox3").Count() - f.List("ListBox3").PageRows()));
        QCOMPARE(f.form.StatusBar().Panel(0), QStringLiteral("09:08:42  获取命令操作成功"));
    }

    void clearButtons() {
        MonitorFixture f;
        const char* channel[] = {"ListBox1", "ListBox2", "ListBox3", "ListBox4",
                                 "ListBox5", "ListBox6", "ListBox7"};
        const char* eas[] = {"lst1", "lst2", "lst3", "lst4"};
        for (const char* name : channel) {
            f.List(name).AppendLine(QStringLiteral("x"));
        }
        for (const char* name : eas) {
            f.List(name).AppendLine(QStringLiteral("y"));
        }
        f.Fields().LastNoPersonText = QStringLiteral("0000000000000000");
        f.form.Timer1().start();
        f.Button("Button15").setEnabled(true);
        QTest::mouseClick(&f.Button("Button15"), Qt::LeftButton);
        for (const char* name : eas) {
            QCOMPARE(f.List(name).Count(), 0);
        }
        for (const char* name : channel) {
            QCOMPARE(f.List(name).Count(), 1);
        }
        f.Button("ClearGetInformation").setEnabled(true);
        QTest::mouseClick(&f.Button("ClearGetInformation"), Qt::LeftButton);
        for (const char* name : channel) {
            QCOMPARE(f.List(name).Count(), 0);
        }
        QVERIFY(f.form.Timer1().isActive());
        QCOMPARE(f.Fields().LastNoPersonText, QStringLiteral("0000000000000000"));
    }
};

QTEST_MAIN(TestMonitorPolling)
#include "test_monitor_polling.moc"
