#include <QLabel>
#include <QTest>

#include "gate/connection_rules.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "language_fixture.h"
#include "util/clock.h"
#include "util/result_text.h"

using gui::GateStatusBar;
using gui::ResultReporter;

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

    // The panels sit left to right in their order: 350 and 230 wide, then the connection panel
    // at least 85, then the last one taking the rest of the bar.
    void layout() {
        GateStatusBar bar;
        bar.resize(818, 24);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(bar.PanelLabel(0)->width(), 350);
        QCOMPARE(bar.PanelLabel(1)->width(), 230);
        QVERIFY(bar.PanelLabel(2)->width() >= 85);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(bar.PanelLabel(i)->x() < bar.PanelLabel(i + 1)->x());
        }
        QLabel* last = bar.PanelLabel(3);
        QVERIFY(last->width() >= 50);
        QVERIFY(last->geometry().right() >= bar.width() - 20);
    }

    // Every text of panels 1 to 3 shows whole at the default font (frame and indent included),
    // in either language.
    void textsFitTheirPanels_data() {
        QTest::addColumn<app::ConsoleLanguage>("language");
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("text");
        for (const app::ConsoleLanguage language :
             {app::ConsoleLanguage::Chinese, app::ConsoleLanguage::English}) {
            const ScopedConsoleLanguage scoped(language);
            const char* tag = language == app::ConsoleLanguage::English ? "en" : "zh";
            for (std::uint8_t status = 0; status < 4; ++status) {
                QTest::addRow("%s reply status %d", tag, status)
                    << language << 1 << util::ReplyStatusText(status, util::TextTable::Display());
            }
            for (int handle : {-1, 1, 255, 1025, 44137, 65534}) {
                QTest::addRow("%s link %d", tag, handle)
                    << language << 2 << gate::ControllerPanelText(handle);
            }
            QTest::addRow("%s link being re-established", tag)
                << language << 2
                << gate::ControllerPanelText(6000, gate::LinkCondition::Reconnecting);
            QTest::addRow("%s link back", tag)
                << language << 2 << gate::ControllerPanelText(6000, gate::LinkCondition::Restored);
            for (int port : {-1, 1, 50}) {
                QTest::addRow("%s IF2 %d", tag, port) << language << 3 << gate::IF2PanelText(port);
            }
        }
    }
    void textsFitTheirPanels() {
        QFETCH(app::ConsoleLanguage, language);
        QFETCH(int, panel);
        QFETCH(QString, text);
        const ScopedConsoleLanguage scoped(language);
        GateStatusBar bar;
        bar.resize(818, 24);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.SetPanel(panel, text);
        QLabel* label = bar.PanelLabel(panel);
        QVERIFY2(label->sizeHint().width() <= label->width(),
                 qPrintable(QStringLiteral("needs %1, has %2")
                                .arg(label->sizeHint().width())
                                .arg(label->width())));
    }

    // A result line longer than panel 0 keeps the panel's width, shows cut with an ellipsis and
    // is offered whole as its tooltip; a line that fits shows whole and has none.
    void longResultLineOfferedAsTooltip() {
        GateStatusBar bar;
        bar.resize(818, 24);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        const QString longLine =
            util::CommandResultLine(QTime(23, 59, 59), QStringLiteral("清除控制器队列中的缓存"), 6,
                                    util::TextTable::Source());
        bar.SetPanel(0, longLine);
        QCOMPARE(bar.PanelLabel(0)->width(), 350);
        QCOMPARE(bar.Panel(0), longLine);
        QCOMPARE(bar.PanelLabel(0)->toolTip(), longLine);
        const QString shown = bar.PanelLabel(0)->text();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && longLine.startsWith(shown.chopped(1)),
                 qPrintable(shown));
        QVERIFY(bar.PanelLabel(0)->fontMetrics().horizontalAdvance(shown) < 350);
        bar.SetPanel(0, QStringLiteral("09:08:07  设置继电器操作成功"));
        QCOMPARE(bar.PanelLabel(0)->toolTip(), QString());
        QCOMPARE(bar.PanelLabel(0)->text(), QStringLiteral("09:08:07  设置继电器操作成功"));
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
