#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "gui/find_bar.h"
#include "gui/line_list_accessible.h"
#include "gui/line_list_view.h"
#include "recording_prompter.h"

using gui::LineListView;
using Range = monitor::RowSelection::Range;

namespace {

QList<std::pair<QAccessible::Event, int>> g_accessibleEvents;

// A shown list of 10 visible rows holding "line 0" to "line <n-1>", following its newest line.
struct ShownList {
    LineListView view;
    testing_support::RecordingPrompter prompter;

    explicit ShownList(int lines) {
        view.resize(300, 10 * view.RowHeight() + 2 * view.frameWidth());
        view.SetPrompter(&prompter);
        view.SetCaption(QStringLiteral("常规响应"));
        view.show();
        view.activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(&view));
        for (int i = 0; i < lines; ++i) {
            Append(QStringLiteral("line %1").arg(i));
        }
    }
    void Append(const QString& line) {
        view.AppendLine(line);
        view.ScrollToNewest();
    }
    QPoint RowCentre(int row) const {
        return {10, (row - view.TopIndex()) * view.RowHeight() + view.RowHeight() / 2};
    }
    void Click(int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, mods, RowCentre(row));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(&view, key, mods); }
    std::vector<Range> Selected() const { return view.Selection().Ranges(); }
    QString Clipboard() const { return QApplication::clipboard()->text(); }
    // The context menu at a row, its actions by text.
    QMenu* Menu(int row) {
        QTest::mouseClick(view.viewport(), Qt::RightButton, {}, RowCentre(row));
        QContextMenuEvent event(QContextMenuEvent::Mouse, RowCentre(row),
                                view.viewport()->mapToGlobal(RowCentre(row)));
        QApplication::sendEvent(view.viewport(), &event);
        return view.findChild<QMenu*>(QStringLiteral("LineListMenu"));
    }
    QLineEdit* FindText() { return view.findChild<QLineEdit*>(QStringLiteral("FindText")); }
    QString FindCount() { return view.findChild<QLabel*>(QStringLiteral("FindCount"))->text(); }
};

QStringList MenuTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) {
            texts << a->text();
        }
    }
    return texts;
}

QAction* MenuAction(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
        if (a->text() == text) {
            return a;
        }
    }
    return nullptr;
}

}  // namespace

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

    // Mouse and keyboard make the selections an operator expects; Ctrl+C copies them in row
    // order, one line per row.
    void selectAndCopy() {
        ShownList l(30);
        const int top = l.view.TopIndex();
        l.Click(top + 2);
        QCOMPARE(l.view.SelectedRow(), top + 2);
        l.Key(Qt::Key_Down);
        QCOMPARE(l.Selected(), (std::vector<Range>{{top + 3, top + 3}}));
        l.Key(Qt::Key_Down, Qt::ShiftModifier);
        l.Key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(l.Selected(), (std::vector<Range>{{top + 3, top + 5}}));
        l.Click(top + 8, Qt::ControlModifier);
        QCOMPARE(l.Selected(), (std::vector<Range>{{top + 3, top + 5}, {top + 8, top + 8}}));
        l.Click(top + 4, Qt::ControlModifier);  // out of the middle of a range
        QCOMPARE(l.Selected(),
                 (std::vector<Range>{{top + 3, top + 3}, {top + 5, top + 5}, {top + 8, top + 8}}));
        l.Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            l.Clipboard(),
            QStringLiteral("line %1\nline %2\nline %3").arg(top + 3).arg(top + 5).arg(top + 8));
        l.Click(top + 1);
        l.Click(top + 6, Qt::ShiftModifier);
        QCOMPARE(l.Selected(), (std::vector<Range>{{top + 1, top + 6}}));

        // Home, End, Page Up and Page Down move the current row; Shift extends to it.
        l.Key(Qt::Key_Home);
        QCOMPARE(l.Selected(), (std::vector<Range>{{0, 0}}));
        QCOMPARE(l.view.TopIndex(), 0);
        l.Key(Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(l.Selected(), (std::vector<Range>{{0, l.view.PageRows()}}));
        l.Key(Qt::Key_End);
        QCOMPARE(l.Selected(), (std::vector<Range>{{29, 29}}));
        l.Key(Qt::Key_PageUp);
        QCOMPARE(l.Selected(),
                 (std::vector<Range>{{29 - l.view.PageRows(), 29 - l.view.PageRows()}}));
        l.Key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(l.Selected(), (std::vector<Range>{{0, 29}}));
        l.Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(l.Clipboard().split(u'\n').size(), 30);
    }

    // A selected row (a find result is one) keeps the view where it is while lines arrive, and
    // the foot of the list says how many are below; Escape goes back to following.
    void followsTheNewestLineUnlessTheOperatorLooksElsewhere() {
        ShownList l(30);
        l.Click(l.view.TopIndex() + 1);
        const int top = l.view.TopIndex();
        for (int i = 0; i < 5; ++i) {
            l.Append(QStringLiteral("new %1").arg(i));
        }
        QVERIFY(!l.view.IsFollowingNewest());
        QCOMPARE(l.view.TopIndex(), top);
        l.Key(Qt::Key_Escape);
        QVERIFY(l.view.IsFollowingNewest());
        QVERIFY(l.view.Selection().IsEmpty());
        QCOMPARE(l.view.TopIndex(), l.view.Count() - l.view.PageRows());

        // Scrolled back by the operator: stays; scrolled to the end again: follows.
        l.view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        const int away = l.view.TopIndex();
        l.Append(QStringLiteral("while away"));
        QCOMPARE(l.view.TopIndex(), away);
        l.view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        l.Append(QStringLiteral("back"));
        QVERIFY(l.view.IsFollowingNewest());
        QCOMPARE(l.view.TopIndex(), l.view.Count() - l.view.PageRows());
    }

    // The context menu holds the four commands; "全部复制" copies every row and "保存为文件..."
    // writes them as UTF-8 lines to the chosen file, or says why it could not.
    void contextMenuCopiesAndSaves() {
        ShownList l(3);
        l.Append(QStringLiteral("2012-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向"));
        QMenu* menu = l.Menu(1);
        QVERIFY(menu != nullptr);
        QCOMPARE(MenuTexts(menu),
                 (QStringList{QStringLiteral("复制"), QStringLiteral("全部复制"),
                              QStringLiteral("保存为文件..."), QStringLiteral("查找...")}));
        QCOMPARE(l.Selected(), (std::vector<Range>{{1, 1}}));  // the row under the pointer
        MenuAction(menu, QStringLiteral("复制"))->trigger();
        QCOMPARE(l.Clipboard(), QStringLiteral("line 1"));
        MenuAction(menu, QStringLiteral("全部复制"))->trigger();
        QCOMPARE(l.Clipboard(), QStringLiteral("line 0\nline 1\nline 2\n2012-05-06 09:08:07  01 "
                                               "23 45 67 89 AB CD EF 正向"));
        menu->close();

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.txt"));
        l.prompter.saveFileChoices = {path, std::nullopt,
                                      dir.filePath(QStringLiteral("missing/dir/x.txt"))};
        MenuAction(l.Menu(0), QStringLiteral("保存为文件..."))->trigger();
        QCOMPARE(l.prompter.offeredSaveFiles.size(), 1);
        QVERIFY(l.prompter.offeredSaveFiles[0].second.contains(QStringLiteral("常规响应")));
        // The click only starts the save: the rows present then are written in the background
        // with the progress at the list's foot, whatever the list does meanwhile.
        QVERIFY(l.view.IsSaving());
        QVERIFY(l.view.FootNoteText().contains(QStringLiteral("正在保存")));
        l.view.SaveToFile();  // one save at a time: no second file asked for
        QCOMPARE(l.prompter.offeredSaveFiles.size(), 1);
        l.Append(QStringLiteral("after the click"));
        l.view.Clear();
        l.Append(QStringLiteral("after the clear"));
        QTRY_VERIFY(!l.view.IsSaving());
        QVERIFY(!l.view.FootNoteText().contains(QStringLiteral("正在保存")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QStringLiteral("line 0\nline 1\nline 2\n2012-05-06 09:08:07  01 23 "
                                "45 67 89 AB CD EF 正向\n")
                     .toUtf8());
        l.view.SaveToFile();  // cancelled: nothing written, nothing said
        QVERIFY(l.prompter.messages.isEmpty());
        l.view.SaveToFile();
        QTRY_COMPARE(l.prompter.messages.size(), 1);
        QCOMPARE(l.prompter.messages[0].caption, QStringLiteral("信息提示"));
        QVERIFY(l.prompter.messages[0].text.contains(QStringLiteral("x.txt")));
    }

    // Ctrl+F, then typing: the first matching row from the top of the view on, case-insensitive,
    // selected and counted; F3 and Shift+F3 go round the matches; lines appended meanwhile are
    // counted too; Escape in the bar closes it.
    void findStepsThroughMatches() {
        ShownList l(0);
        for (int i = 0; i < 40; ++i) {
            l.Append(i % 10 == 3 ? QStringLiteral("%1 UID AB CD").arg(i)
                                 : QStringLiteral("%1 x").arg(i));
        }
        l.view.verticalScrollBar()->setValue(0);
        l.view.setFocus();
        l.Key(Qt::Key_F, Qt::ControlModifier);
        QVERIFY(l.view.IsFindOpen());
        QVERIFY(l.FindText()->hasFocus());
        QTest::keyClicks(l.FindText(), QStringLiteral("ab c"));
        QTRY_COMPARE(l.FindCount(), QStringLiteral("1/4"));
        QCOMPARE(l.view.SelectedRow(), 3);
        QTest::keyClick(l.FindText(), Qt::Key_F3);
        QCOMPARE(l.view.SelectedRow(), 13);
        QTest::keyClick(l.FindText(), Qt::Key_Return);
        QCOMPARE(l.view.SelectedRow(), 23);
        QTest::keyClick(l.FindText(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(l.view.SelectedRow(), 13);
        QCOMPARE(l.FindCount(), QStringLiteral("2/4"));
        l.Key(Qt::Key_F3, Qt::ShiftModifier);
        l.Key(Qt::Key_F3, Qt::ShiftModifier);  // round to the last one
        QCOMPARE(l.view.SelectedRow(), 33);
        QVERIFY(!l.view.IsFollowingNewest());  // looking at a find result

        l.Append(QStringLiteral("40 ab cd"));
        QTRY_COMPARE(l.FindCount(), QStringLiteral("4/5"));
        l.Key(Qt::Key_F3);
        QCOMPARE(l.view.SelectedRow(), 40);

        QTest::keyClick(l.FindText(), Qt::Key_Escape);
        QVERIFY(!l.view.IsFindOpen());
        QVERIFY(l.view.hasFocus());
        QTest::keyClicks(&l.view, QString());
        l.Key(Qt::Key_F, Qt::ControlModifier);  // opens again with the same text
        QCOMPARE(l.FindText()->text(), QStringLiteral("ab c"));
        QTRY_COMPARE(l.FindCount(), QStringLiteral("5/5"));

        l.FindText()->setText(QStringLiteral("ab ca"));
        QTRY_COMPARE(l.FindCount(), QStringLiteral("无匹配"));
    }

    // Read as assistive technology reads it: a list of one item per row, named by its text,
    // with the selection and the keyboard's row in its states.
    void accessibleRows() {
        ShownList l(5);
        l.view.setObjectName(QStringLiteral("ListBox2"));
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&l.view);
        QVERIFY(list != nullptr);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("常规响应"));
        QCOMPARE(list->childCount(), 5);
        for (int i = 0; i < 5; ++i) {
            QAccessibleInterface* row = list->child(i);
            QCOMPARE(row->role(), QAccessible::ListItem);
            QCOMPARE(row->text(QAccessible::Name), QStringLiteral("line %1").arg(i));
            QCOMPARE(row->parent(), list);
            QCOMPARE(list->indexOfChild(row), i);
            QVERIFY(!row->state().selected);
        }
        QCOMPARE(list->tableInterface()->rowCount(), 5);

        l.Click(2);
        QVERIFY(list->child(2)->state().selected);
        QVERIFY(list->child(2)->state().focused);
        QCOMPARE(list->focusChild(), list->child(2));
        QCOMPARE(list->tableInterface()->selectedRows(), QList<int>{2});

        // Through the table interface, as UI automation changes the selection.
        QVERIFY(list->tableInterface()->selectRow(4));
        QCOMPARE(list->tableInterface()->selectedRows(), (QList<int>{2, 4}));
        QVERIFY(l.view.Selection().IsSelected(4));

        l.Append(QStringLiteral("line 5"));
        QCOMPARE(list->childCount(), 6);
        QCOMPARE(list->child(5)->text(QAccessible::Name), QStringLiteral("line 5"));
        l.view.Clear();
        QCOMPARE(list->childCount(), 0);
    }

    // After Ctrl+A over many rows a screen reader asking for the selection gets its whole count
    // but a list of at most the bounded number of rows (and a row interface for those only).
    void accessibleSelectionOfManyRowsIsBounded() {
        ShownList l(0);
        constexpr int kRows = 200'000;
        for (int i = 0; i < kRows; ++i) {
            l.view.AppendLine(QStringLiteral("row %1").arg(i));
        }
        l.view.setFocus();
        l.Key(Qt::Key_A, Qt::ControlModifier);
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(&l.view)->tableInterface();
        QCOMPARE(table->selectedRowCount(), kRows);
        QCOMPARE(table->selectedCellCount(), kRows);
        const QList<int> rows = table->selectedRows();
        QCOMPARE(rows.size(), gui::kMaxListedSelectedRows);
        QCOMPARE(rows.front(), 0);
        QCOMPARE(rows.back(), gui::kMaxListedSelectedRows - 1);
        const QList<QAccessibleInterface*> cells = table->selectedCells();
        QCOMPARE(cells.size(), gui::kMaxListedSelectedRows);
        QCOMPARE(cells.back()->text(QAccessible::Name),
                 QStringLiteral("row %1").arg(gui::kMaxListedSelectedRows - 1));

        // A few selected rows are all listed.
        l.Click(l.view.TopIndex());
        QCOMPARE(table->selectedRows(), QList<int>{l.view.TopIndex()});
    }

    // With assistive technology listening (ctest runs this under with_accessibility_bus.sh),
    // selecting and moving through rows tells it which row, and appended rows and a clear are
    // told as a list's model changes.
    void accessibleEvents() {
        if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
            QSKIP("needs the assistive-technology bus (with_accessibility_bus.sh)");
        }
        QVERIFY(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000));
        ShownList l(5);
        QVERIFY(l.view.isActiveWindow());
        g_accessibleEvents.clear();
        // The events come to the test instead of going on to the bus.
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            g_accessibleEvents.append({e->type(), e->child()});
        });
        const auto seen = [](QAccessible::Event type, int child) {
            return g_accessibleEvents.contains(std::pair{type, child});
        };
        l.Click(2);
        QVERIFY(seen(QAccessible::Selection, 2));
        QVERIFY(seen(QAccessible::Focus, 2));
        l.Key(Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(seen(QAccessible::SelectionWithin, -1));
        QVERIFY(seen(QAccessible::Focus, 3));
        g_accessibleEvents.clear();
        l.Append(QStringLiteral("line 5"));
        QVERIFY(seen(QAccessible::TableModelChanged, -1));
        QAccessible::installUpdateHandler(nullptr);
    }
};

QTEST_MAIN(TestLineListView)
#include "test_line_list_view.moc"
