// The daily journal: one file per local day by the injected clock, continued when it exists,
// a line cut short ended before the next, and a failure reported once until a line gets through.
#include "core/monitor/journal_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// A clock that moves on by a millisecond at every reading.
class SteppingClock final : public util::Clock {
public:
    explicit SteppingClock(QDateTime t) : time_(std::move(t)) {}
    QDateTime now() const override {
        const QDateTime t = time_;
        time_ = time_.addMSecs(1);
        return t;
    }

private:
    mutable QDateTime time_;
};

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

    // The stamp and the file's day come from one reading, at the last millisecond of a day.
    void stampAndDayFromOneReading() {
        QTemporaryDir dir;
        SteppingClock clock(QDateTime(QDate(2024, 5, 6), QTime(23, 59, 59, 999)));
        monitor::JournalWriter journal(dir.path(), QStringLiteral("jsonl"), clock);
        QVERIFY(journal.AppendStamped(
            [](const QDateTime& at) { return at.toString(Qt::ISODateWithMs); }));
        QCOMPARE(Content(dir.filePath(QStringLiteral("2024-05-06.jsonl"))),
                 QByteArray("2024-05-06T23:59:59.999\n"));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("2024-05-07.jsonl"))));
    }

    // New files are not world-readable; a symbolic link in the file's own name is refused and
    // its target left alone, while a linked folder is written through.
    void filesAreNotWorldReadableAndNeverALinkedName() {
        QTemporaryDir dir;
        const mode_t mask = ::umask(022);
        util::FixedClock clock(QDateTime(QDate(2024, 5, 6), QTime(9, 8, 7)));
        monitor::JournalWriter journal(dir.path(), QStringLiteral("log"), clock);
        QVERIFY(journal.Append(QStringLiteral("one")));
        ::umask(mask);
        struct stat made {};
        QCOMPARE(::stat(QFile::encodeName(dir.filePath(QStringLiteral("2024-05-06.log"))), &made),
                 0);
        QCOMPARE(made.st_mode & 0777, mode_t{0640});

        const QString target = dir.filePath(QStringLiteral("victim"));
        QFile victim(target);
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("keep\n");
        victim.close();
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("2024-05-07.log"))));
        clock.set(QDateTime(QDate(2024, 5, 7), QTime(0, 0, 1)));
        QStringList errors;
        journal.SetErrorHandler([&](const QString& m) { errors << m; });
        QVERIFY(!journal.Append(QStringLiteral("two")));
        QCOMPARE(Content(target), QByteArray("keep\n"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(QStringLiteral("symbolic link")), qPrintable(errors[0]));

        QTemporaryDir real;
        const QString linkedFolder = dir.filePath(QStringLiteral("linked"));
        QVERIFY(QFile::link(real.path(), linkedFolder));
        monitor::JournalWriter through(linkedFolder, QStringLiteral("log"), clock);
        QVERIFY(through.Append(QStringLiteral("three")));
        QCOMPARE(Content(QDir(real.path()).filePath(QStringLiteral("2024-05-07.log"))),
                 QByteArray("three\n"));
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
