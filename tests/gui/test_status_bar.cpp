#include <QLabel>
#include <QTest>

#include "app/result_reporter.h"
#include "app/status_bar.h"
#include "util/clock.h"

using app::GateStatusBar;
using app::ResultReporter;

class TestStatusBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelsAtStart() {
        GateStatusBar bar;
        for (int i = 0; i < GateStatusBar::kPanelCount; ++i) {
            QVERIFY(bar.findChild<QLabel*>(QStringLiteral("Panel%1").arg(i)) != nullptr);
        }
        QCOMPARE(bar.Panel(0), QString());
        QCOMPARE(bar.Panel(1), QString());
        QCOMPARE(bar.Panel(2), QStringLiteral("IF1: 通讯关闭"));
        QCOMPARE(bar.Panel(3), QStringLiteral("IF2: 通讯关闭"));
        QCOMPARE(bar.objectName(), QStringLiteral("StatusBar1"));
    }

    // The panels sit left to right in their order, at their widths, and the last one shows its
    // whole text.
    void layout() {
        GateStatusBar bar;
        bar.resize(818, 24);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const int widths[] = {350, 230, 85};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(bar.PanelLabel(i)->width(), widths[i]);
            QVERIFY(bar.PanelLabel(i)->x() < bar.PanelLabel(i + 1)->x());
        }
        QLabel* last = bar.PanelLabel(3);
        QVERIFY(last->width() >= 50);
        QVERIFY(last->width() >= last->fontMetrics().horizontalAdvance(last->text()));
    }

    void reportSequence_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("panel0");
        QTest::addColumn<QString>("panel1");
        QTest::newRow("success shows status")
            << 0 << 1 << QStringLiteral("09:08:07  设置继电器操作成功")
            << QStringLiteral("后台记录数据区空闲容量<=15%");
        QTest::newRow("communication error leaves panel 1 empty")
            << 0x70 << 1 << QStringLiteral("09:08:07   通讯错误") << QString();
        QTest::newRow("failure leaves panel 1 empty")
            << 9 << 2 << QStringLiteral("09:08:07  设置继电器模式不对") << QString();
        QTest::newRow("status 4 empties panel 1")
            << 0 << 4 << QStringLiteral("09:08:07  设置继电器操作成功") << QString();
        QTest::newRow("0x141 reports code 1 by its low byte")
            << 0x141 << 0 << QStringLiteral("09:08:07  设置继电器") << QString();
    }
    void reportSequence() {
        QFETCH(int, result);
        QFETCH(int, status);
        QFETCH(QString, panel0);
        QFETCH(QString, panel1);
        GateStatusBar bar;
        util::FixedClock clock(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7)));
        ResultReporter reporter(bar, clock);
        bar.SetPanel(1, QStringLiteral("old"));
        reporter.Report(QStringLiteral("设置继电器"), result, static_cast<std::uint8_t>(status));
        QCOMPARE(bar.Panel(0), panel0);
        QCOMPARE(bar.Panel(1), panel1);
        QCOMPARE(bar.Panel(2), QStringLiteral("IF1: 通讯关闭"));
    }

    void showCommandResultEmptiesPanelOne() {
        GateStatusBar bar;
        util::FixedClock clock(QDateTime(QDate(2026, 5, 6), QTime(9, 8, 7)));
        ResultReporter reporter(bar, clock);
        reporter.ShowReplyStatus(0);
        QVERIFY(!bar.Panel(1).isEmpty());
        reporter.ShowCommandResult(QStringLiteral("x"), 0);
        QCOMPARE(bar.Panel(1), QString());
    }
};

QTEST_MAIN(TestStatusBar)
#include "test_status_bar.moc"
