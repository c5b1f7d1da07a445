#include <QTest>

#include "core/monitor/find_index.h"
#include "core/monitor/line_matcher.h"
#include "core/monitor/row_selection.h"

using monitor::FindIndex;
using monitor::LineMatcher;
using monitor::LineStore;
using monitor::RowSelection;
using Outcome = FindIndex::Step::Outcome;
using Range = RowSelection::Range;

class TestListSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The matcher searches the UTF-8 bytes where it can, and always answers as a
    // case-insensitive QString search of the decoded line would.
    void matcherAnswersLikeQString_data() {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("found");
        const QString passage = QStringLiteral("2012-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向");
        QTest::newRow("hex in either case") << "ab cd" << passage << true;
        QTest::newRow("Chinese") << "正向" << passage << true;
        QTest::newRow("digits and Chinese") << "EF 正" << passage << true;
        QTest::newRow("absent") << "反向" << passage << false;
        QTest::newRow("longer than the line")
            << "2012-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向!" << passage << false;
        QTest::newRow("at the very end") << "向" << passage << true;
        QTest::newRow("near miss repeats") << "aab"
                                           << "aaaaab" << true;
        QTest::newRow("Kelvin sign folds to k") << "k" << QStringLiteral("\u212A") << true;
        QTest::newRow("long s folds to s") << "S" << QStringLiteral("x\u017Fy") << true;
        QTest::newRow("letters with case beyond ASCII")
            << QStringLiteral("д") << QStringLiteral("ДА") << true;
        QTest::newRow("fullwidth letters") << QStringLiteral("ａ") << QStringLiteral("Ａ") << true;
        QTest::newRow("empty needle") << "" << passage << false;
    }
    void matcherAnswersLikeQString() {
        QFETCH(QString, needle);
        QFETCH(QString, line);
        QFETCH(bool, found);
        QCOMPARE(!needle.isEmpty() && line.contains(needle, Qt::CaseInsensitive), found);
        QCOMPARE(LineMatcher(needle).Matches(line.toUtf8()), found);
    }

    void spansForHighlighting() {
        const LineMatcher m(QStringLiteral("ab"));
        QCOMPARE(m.Spans(QStringLiteral("xAbyaBab")),
                 (QList<std::pair<qsizetype, qsizetype>>{{1, 2}, {4, 2}, {6, 2}}));
    }

    // The index finds rows a slice at a time, counts them, and steps round them; a step that
    // needs rows not yet searched waits (Pending); rows appended meanwhile are searched later.
    void findIndexWhileTheListGrows() {
        LineStore store;
        for (int i = 0; i < 10'000; ++i) {
            store.Append(i % 1000 == 500 ? QStringLiteral("%1 UID 01 AB").arg(i)
                                         : QStringLiteral("%1 x").arg(i));
        }
        FindIndex find(store);
        find.SetNeedle(QStringLiteral("uid"));
        QVERIFY(!find.Scan(QDeadlineTimer(0)));  // one block, then the deadline
        QVERIFY(find.Scanned() > 0 && find.Scanned() < 10'000);
        const qsizetype scanned = find.Scanned();
        QCOMPARE(find.Next(scanned - 1).outcome, Outcome::Pending);
        QCOMPARE(find.Next(-1).row, 500);
        QCOMPARE(find.Previous(9999).outcome, Outcome::Pending);

        QVERIFY(find.Scan(QDeadlineTimer(QDeadlineTimer::Forever)));
        QCOMPARE(find.MatchCount(), 10);
        QCOMPARE(find.Next(500).row, 1500);
        QCOMPARE(find.Next(9500).row, 500);  // round past the end
        QCOMPARE(find.Previous(500).row, 9500);
        QCOMPARE(find.Previous(10'000).row, 9500);
        QCOMPARE(find.MatchesBefore(3500), 3);
        QVERIFY(find.IsMatch(7500) && !find.IsMatch(7501));

        store.Append(QStringLiteral("new uid"));
        QVERIFY(!find.CaughtUp());
        QCOMPARE(find.Next(9500).outcome, Outcome::Pending);
        QVERIFY(find.Scan(QDeadlineTimer(QDeadlineTimer::Forever)));
        QCOMPARE(find.MatchCount(), 11);
        QCOMPARE(find.Next(9500).row, 10'000);

        find.SetNeedle(QStringLiteral("nowhere"));
        QVERIFY(find.Scan(QDeadlineTimer(QDeadlineTimer::Forever)));
        QCOMPARE(find.Next(-1).outcome, Outcome::None);
        store.Clear();
        find.Reset();
        QCOMPARE(find.MatchCount(), 0);
        QVERIFY(find.CaughtUp());
    }

    // Ranges merge when they touch, split when a row is taken out of the middle, and an
    // additive Shift keeps what was selected before the anchor.
    void selectionRanges() {
        RowSelection s;
        s.Select(5);
        s.ExtendTo(8);
        QCOMPARE(s.Ranges(), (std::vector<Range>{{5, 8}}));
        s.ExtendTo(2);  // from the anchor the other way
        QCOMPARE(s.Ranges(), (std::vector<Range>{{2, 5}}));
        s.Toggle(9);
        s.Toggle(7);
        QCOMPARE(s.Ranges(), (std::vector<Range>{{2, 5}, {7, 7}, {9, 9}}));
        s.Toggle(8);
        QCOMPARE(s.Ranges(), (std::vector<Range>{{2, 5}, {7, 9}}));
        s.Toggle(3);
        QCOMPARE(s.Ranges(), (std::vector<Range>{{2, 2}, {4, 5}, {7, 9}}));
        s.Toggle(7);
        s.ExtendTo(11, true);  // from the anchor, 7, keeping the rest
        QCOMPARE(s.Ranges(), (std::vector<Range>{{2, 2}, {4, 5}, {7, 11}}));
        s.ExtendTo(9);  // replacing the rest
        QCOMPARE(s.Ranges(), (std::vector<Range>{{7, 9}}));
        QCOMPARE(s.Count(), 3);
        QVERIFY(!s.IsSelected(6) && s.IsSelected(7) && s.IsSelected(9) && !s.IsSelected(10));
        s.SelectAll(10'000'000);
        QCOMPARE(s.Count(), 10'000'000);
        QCOMPARE(s.Current(), 9);
        s.Clear();
        QVERIFY(s.IsEmpty());
        QCOMPARE(s.Current(), -1);
    }
};

QTEST_MAIN(TestListSearch)
#include "test_list_search.moc"
