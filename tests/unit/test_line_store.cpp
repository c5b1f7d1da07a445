#include <QTest>

#include "core/monitor/line_store.h"

using monitor::LineStore;

class TestLineStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("ascii and Chinese")
            << QStringList{QStringLiteral("2012-05-06 09:08:07  01 23 45 67 89 AB CD EF 正向"),
                           QStringLiteral("共检测到4张卡片")};
        QTest::newRow("empty lines keep their place")
            << QStringList{QString(), QStringLiteral("a"), QString(), QString()};
        QTest::newRow("characters outside the basic plane")
            << QStringList{QStringLiteral("\U0001F600x"), QStringLiteral("y")};
        // Lines larger than a chunk, and lines that straddle a chunk boundary.
        const auto chunk = static_cast<qsizetype>(LineStore::kTextChunkBytes);
        QTest::newRow("lines across chunk boundaries")
            << QStringList{QString(chunk - 3, u'a'), QStringLiteral("boundary"),
                           QString(chunk * 2 + 5, u'b'), QStringLiteral("正向反向")};
    }
    void roundTrip() {
        QFETCH(QStringList, lines);
        LineStore store;
        for (const QString& line : lines) {
            store.Append(line);
        }
        QCOMPARE(store.Count(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(store.Line(i), lines.at(i));
        }
    }

    void manyLinesAcrossOffsetChunks() {
        LineStore store;
        const auto n = static_cast<int>(LineStore::kOffsetChunkEntries) * 2 + 7;
        for (int i = 0; i < n; ++i) {
            store.Append(QString::number(i));
        }
        QCOMPARE(store.Count(), n);
        for (int i : {0, 1, int(LineStore::kOffsetChunkEntries) - 1,
                      int(LineStore::kOffsetChunkEntries), n - 1}) {
            QCOMPARE(store.Line(i), QString::number(i));
        }
    }

    void outOfRangeAndClear() {
        LineStore store;
        QCOMPARE(store.Line(0), QString());
        store.Append(QStringLiteral("one"));
        QCOMPARE(store.Line(-1), QString());
        QCOMPARE(store.Line(1), QString());
        store.Clear();
        QCOMPARE(store.Count(), 0);
        QCOMPARE(store.ReservedBytes(), std::size_t{0});
        store.Append(QStringLiteral("two"));
        QCOMPARE(store.Line(0), QStringLiteral("two"));
    }
};

QTEST_APPLESS_MAIN(TestLineStore)
#include "test_line_store.moc"
