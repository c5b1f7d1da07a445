// The daily journal: one file per local day by the injected clock, continued when it exists,
// a line cut short ended before the next, and a failure reported once until a line gets through.
#include "core/monitor/journal_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray Content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestJournalWriter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneFilePerDayAndContinuesExisting() {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("2024-05-06.log"));
        QFile partial(existing);
        QVERIFY(partial.open(QIODevice::WriteOnly));
        partial.write("earlier run\ncut sho");  // a line left unfinished by a crash
        partial.close();

        util::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(23, 59, 59)));
        monitor::JournalWriter journal(dir.path(), QStringLiteral("log"), clock);
        QVERIFY(journal.Append(QStringLiteral("2024-05-06 23:59:59  通过超时")));
        clock.set(QDateTime(QDate(2024, 5, 7), QTime(0, 0, 1)));
        QVERIFY(journal.Append(QStringLiteral("next day")));

        QCOMPARE(Content(existing), QByteArray("earlier run\ncut sho\n") +
                                        QStringLiteral("2024-05-06 23:59:59  通过超时\n").toUtf8());
        QCOMPARE(Content(dir.filePath(QStringLiteral("2024-05-07.log"))), QByteArray("next day\n"));
        QCOMPARE(journal.CurrentPath(), dir.filePath(QStringLiteral("2024-05-07.log")));

        monitor::JournalWriter elsewhere(dir.filePath(QStringLiteral("a/b")), QStringLiteral("log"),
                                         clock);
        QString error;
        QVERIFY2(elsewhere.Prepare(&error), qPrintable(error));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("a/b"))).isDir());
    }

    // A line stamped just before midnight and written just after goes to its own day's file.
    void lineGoesToTheDayItWasStamped() {
        QTemporaryDir dir;
        util::FixedClock clock(QDateTime(QDate(2024, 5, 7), QTime(0, 0, 0, 2)));
        monitor::JournalWriter journal(dir.path(), QStringLiteral("log"), clock);
        QVERIFY(journal.Append(QStringLiteral("late"), QDate(2024, 5, 6)));
        QCOMPARE(Content(dir.filePath(QStringLiteral("2024-05-06.log"))), QByteArray("late\n"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("2024-05-07.log"))));
    }

    void failureReportedOnceUntilALineGetsThrough() {
        QTemporaryDir dir;
        util::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(9, 0)));
        monitor::JournalWriter journal(dir.path(), QStringLiteral("jsonl"), clock);
        QStringList reports;
        journal.SetErrorHandler([&](const QString& m) { reports << m; });
        // A day's file name taken by a directory: no line can be written there.
        const QString blocked = dir.filePath(QStringLiteral("2024-05-06.jsonl"));
        QVERIFY(QDir().mkdir(blocked));
        QVERIFY(!journal.Append(QStringLiteral("a")));
        QVERIFY(!journal.Append(QStringLiteral("b")));
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports.first().contains(QStringLiteral("2024-05-06.jsonl")));

        QVERIFY(QDir().rmdir(blocked));
        QVERIFY(journal.Append(QStringLiteral("c")));
        QCOMPARE(Content(blocked), QByteArray("c\n"));

        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("2024-05-07.jsonl"))));
        clock.set(QDateTime(QDate(2024, 5, 7), QTime(0, 0)));
        QVERIFY(!journal.Append(QStringLiteral("d")));
        QCOMPARE(reports.size(), 2);
        QCOMPARE(journal.FailedLines(), 3);
    }
};

QTEST_GUILESS_MAIN(TestJournalWriter)
#include "test_journal_writer.moc"
