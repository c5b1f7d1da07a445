#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "gui/line_list_view.h"

using gui::LineListView;

class TestLineListView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // After each append and scroll the newest line is in view, and it is the top row as soon as
    // the list can scroll that far.
    void scrollsToNewest_data() {
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << 0;
        QTest::newRow("one line") << 1;
        QTest::newRow("fewer than a page") << 3;
        QTest::newRow("several pages") << 200;
    }
    void scrollsToNewest() {
        QFETCH(int, lines);
        LineListView view;
        view.resize(300, 10 * view.RowHeight() + 2 * view.frameWidth());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const int page = view.PageRows();
        QVERIFY(page > 1);
        for (int i = 0; i < lines; ++i) {
            view.AppendLine(QString::number(i));
            view.ScrollToNewest();
            const int newest = view.Count() - 1;
            QVERIFY(view.TopIndex() <= newest);
            QVERIFY(newest < view.TopIndex() + page);
            QCOMPARE(view.TopIndex(), std::max(0, view.Count() - page));
        }
        QCOMPARE(view.Count(), lines);
        if (lines > 0) {
            QCOMPARE(view.Line(lines - 1), QString::number(lines - 1));
        }
    }

    void appendAloneDoesNotScroll() {
        LineListView view;
        view.resize(300, 5 * view.RowHeight() + 2 * view.frameWidth());
        for (int i = 0; i < 50; ++i) {
            view.AppendLine(QStringLiteral("x"));
        }
        QCOMPARE(view.TopIndex(), 0);
        view.ScrollToNewest();
        QCOMPARE(view.TopIndex(), 50 - view.PageRows());
    }

    void clearEmptiesAndResetsScroll() {
        LineListView view;
        view.resize(300, 5 * view.RowHeight());
        for (int i = 0; i < 50; ++i) {
            view.AppendLine(QStringLiteral("x"));
        }
        view.ScrollToNewest();
        view.Clear();
        QCOMPARE(view.Count(), 0);
        QCOMPARE(view.TopIndex(), 0);
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
    }

    void clickSelectsTheRowUnderThePointer() {
        LineListView view;
        view.resize(300, 10 * view.RowHeight() + 2 * view.frameWidth());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int i = 0; i < 30; ++i) {
            view.AppendLine(QString::number(i));
        }
        view.ScrollToNewest();
        const int top = view.TopIndex();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          QPoint(10, view.RowHeight() * 2 + view.RowHeight() / 2));
        QCOMPARE(view.SelectedRow(), top + 2);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.SelectedRow(), top + 3);
    }
};

QTEST_MAIN(TestLineListView)
#include "test_line_list_view.moc"
