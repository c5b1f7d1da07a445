// Saving a list's rows in the background: the rows of the snapshot and no others, whole or not
// at all, and nothing left behind when the save is abandoned.
#include "core/monitor/line_file_save.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using monitor::LineFileSave;
using monitor::LineStore;

namespace {

QByteArray Content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void Fill(LineStore& store, int rows) {
    for (int i = 0; i < rows; ++i) {
        store.Append(QStringLiteral("2026-05-06 09:08:07  01 23 45 67 89 AB CD %1 正向").arg(i));
    }
}

}  // namespace

class TestLineFileSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The file holds the rows of the snapshot, although the store grew, was cleared and
    // filled again while the save ran.
    void savesTheSnapshotWhateverTheStoreDoesNext() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rows.txt"));
        LineStore store;
        Fill(store, 40'000);  // several blocks and chunks
        QByteArray expected;
        QByteArray scratch;
        for (qsizetype row = 0; row < store.Count(); ++row) {
            expected += store.Utf8(row, scratch);
            expected += '\n';
        }
        LineFileSave save(store.Snapshot(), path);
        QSignalSpy finished(&save, &LineFileSave::Finished);
        save.Start();
        store.Append(QStringLiteral("after the click"));
        store.Clear();
        Fill(store, 1000);
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.front().at(0).toBool(), true);
        QVERIFY(!save.IsRunning());
        QCOMPARE(save.RowsWritten(), 40'000);
        QCOMPARE(Content(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rows.txt")});
    }

    // A save that cannot write says why, and an earlier file of the name is not touched; one
    // abandoned (the console closed) removes its temporary file and leaves the earlier one too.
    void failedOrAbandonedLeavesTheEarlierFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("rows.txt"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier\n");
        earlier.close();
        LineStore store;
        Fill(store, 300'000);  // about twenty blocks: far from done when abandoned
        {
            LineFileSave save(store.Snapshot(), path);
            save.Start();
        }
        QCOMPARE(Content(path), QByteArray("earlier\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rows.txt")});

        LineFileSave failing(store.Snapshot(), dir.filePath(QStringLiteral("missing/rows.txt")));
        QSignalSpy finished(&failing, &LineFileSave::Finished);
        failing.Start();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.front().at(0).toBool(), false);
        QVERIFY(!finished.front().at(1).toString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLineFileSave)
#include "test_line_file_save.moc"
