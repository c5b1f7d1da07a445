#include "core/records/export_file.h"
#include "core/records/record_exporter.h"
#include "golden_records.h"
#include "scripted_gate_library.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <csignal>

using records::ExportOutcome;
using testing_support::ScriptedGateLibrary;

namespace {

const QDateTime kStart(QDate(2024, 5, 6), QTime(9, 8, 42));
const QString kRetrieve = QStringLiteral("RetrieveRecordByIndex");
const QString kStatus = QStringLiteral("GetBGLogDataStatus");

QByteArray Body(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

void ScriptStatus(ScriptedGateLibrary& lib, int count, int result = 0) {
    lib.Script(kStatus, result,
               {{QStringLiteral("count"), count},
                {QStringLiteral("earliest"), Body({12, 5, 6, 9, 8, 7})},
                {QStringLiteral("latest"), Body({24, 5, 6, 9, 8, 0})}});
}

void ScriptRecord(ScriptedGateLibrary& lib, int kindByte, const QByteArray& body, int result = 0) {
    lib.Script(kRetrieve, result,
               {{QStringLiteral("kind"), kindByte}, {QStringLiteral("body"), body}});
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return QByteArray("<missing>");
    }
    return f.readAll();
}

}  // namespace

class TestRecordExporter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenFileOfEveryKind();
    void emptyLogGivesEmptyCompleteFile();
    void failedStatusQueryLeavesEmptyFileAndRetrievesNothing();
    void laterExportInTheSameMinuteGetsItsOwnName();
    void fileNames_data();
    void fileNames();
    void unwritableDirectoryFallsBackToTheSecond();
    void installedProgramExportsToDocuments_data();
    void installedProgramExportsToDocuments();
    void noWritableDirectoryCallsNothing();
    void writeFailureStopsAndMarksIncomplete();
    void logComparison_data();
    void logComparison();
};

void TestRecordExporter::goldenFileOfEveryKind() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    conn.PortHandle = 4001;
    ScriptStatus(lib, 14);
    for (const GoldenRecord& r : GoldenRecords()) {
        ScriptRecord(lib, r.kind, r.body, r.result);
    }

    QList<std::pair<int, int>> progress;
    const ExportOutcome out =
        records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart, [&](int done, int total) {
            progress.append({done, total});
        });

    QCOMPARE(out.path, QDir(dir.path()).filePath(QStringLiteral("05060908.txt")));
    QCOMPARE(ReadAll(out.path), ReadAll(QStringLiteral(GOLDEN_DIR "/export_every_kind.txt")));
    QCOMPARE(out.written, 14);
    QCOMPARE(out.failedRetrievals, 2);  // the communication error and the length-0 record
    QVERIFY(!out.Complete());
    QCOMPARE(out.lastResult, 0);
    QCOMPARE(progress.size(), 14);
    QCOMPARE(progress.last(), std::make_pair(14, 14));
    // One retrieval per index, in order, with the 17-byte buffer and the connection's handle.
    const auto calls = lib.CallsOf(kRetrieve);
    QCOMPARE(calls.size(), 14);
    for (int i = 0; i < calls.size(); ++i) {
        QCOMPARE(calls[i].args.at(1).toInt(), i + 1);
        QCOMPARE(calls[i].args.at(2).toInt(), 17);
        QCOMPARE(calls[i].args.at(3).toInt(), 4001);
    }
}

void TestRecordExporter::emptyLogGivesEmptyCompleteFile() {
    QTemporaryDir dir;
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    ScriptStatus(lib, 0);
    const ExportOutcome out = records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart);
    QVERIFY(out.Complete());
    QCOMPARE(ReadAll(out.path), QByteArray());
    QCOMPARE(lib.Ops(), QStringList{kStatus});
}

void TestRecordExporter::failedStatusQueryLeavesEmptyFileAndRetrievesNothing() {
    QTemporaryDir dir;
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    ScriptStatus(lib, 5, gate::result::kCommError);
    const ExportOutcome out = records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart);
    QVERIFY(!out.Complete());
    QVERIFY(out.created);
    QCOMPARE(out.lastResult, gate::result::kCommError);
    QCOMPARE(conn.LastResult, gate::result::kCommError);
    QCOMPARE(ReadAll(out.path), QByteArray());
    QCOMPARE(lib.CountOf(kRetrieve), 0);
}

void TestRecordExporter::laterExportInTheSameMinuteGetsItsOwnName() {
    QTemporaryDir dir;
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    lib.SetDefault(
        kRetrieve, 0,
        {{QStringLiteral("kind"), 3}, {QStringLiteral("body"), Body({12, 5, 6, 9, 8, 7})}});
    ScriptStatus(lib, 2);
    const ExportOutcome first = records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart);
    ScriptStatus(lib, 0);
    const ExportOutcome second =
        records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart.addSecs(10));
    ScriptStatus(lib, 0);
    const ExportOutcome third =
        records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart.addSecs(15));
    QCOMPARE(QFileInfo(first.path).fileName(), QStringLiteral("05060908.txt"));
    QCOMPARE(QFileInfo(second.path).fileName(), QStringLiteral("05060908-2.txt"));
    QCOMPARE(QFileInfo(third.path).fileName(), QStringLiteral("05060908-3.txt"));
    QCOMPARE(ReadAll(first.path).count("\r\n"), 2);  // the first export is untouched
    QCOMPARE(ReadAll(second.path), QByteArray());
}

void TestRecordExporter::fileNames_data() {
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<int>("attempt");
    QTest::addColumn<QString>("name");
    QTest::newRow("two digits each") << kStart << 0 << QStringLiteral("05060908.txt");
    QTest::newRow("afternoon in 24 hours")
        << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)) << 0 << QStringLiteral("12312359.txt");
    QTest::newRow("suffix before the extension") << kStart << 1 << QStringLiteral("05060908-2.txt");
}

void TestRecordExporter::fileNames() {
    QFETCH(QDateTime, time);
    QFETCH(int, attempt);
    QFETCH(QString, name);
    QCOMPARE(records::ExportFileName(time, attempt), name);
}

void TestRecordExporter::unwritableDirectoryFallsBackToTheSecond() {
    QTemporaryDir dir;
    // A plain file where the executable's directory should be: nothing can be created in it
    // (permissions would not stop root, which the tests may run as).
    const QString blocked = QDir(dir.path()).filePath(QStringLiteral("not-a-dir"));
    QFile block(blocked);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    const QString documents = QDir(dir.path()).filePath(QStringLiteral("Documents"));
    const records::CreatedExportFile created =
        records::CreateExportFile({blocked, documents}, kStart);
    QVERIFY(created.file);
    QCOMPARE(created.path, QDir(documents).filePath(QStringLiteral("05060908.txt")));
    QVERIFY(QFileInfo::exists(created.path));
}

// An installed console run by root could write into /usr/bin; it must not.
void TestRecordExporter::installedProgramExportsToDocuments_data() {
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("primary");
    const QString docs = QStringLiteral("/home/op/Documents");
    QTest::newRow("package") << QStringLiteral("/usr/bin") << docs;
    QTest::newRow("installed by hand") << QStringLiteral("/usr/local/bin") << docs;
    QTest::newRow("add-on folder") << QStringLiteral("/opt/gate/bin") << docs;
    QTest::newRow("trailing slash") << QStringLiteral("/usr/bin/") << docs;
    QTest::newRow("build tree") << QStringLiteral("/home/op/gate/build/bin")
                                << QStringLiteral("/home/op/gate/build/bin");
    QTest::newRow("only looks like /usr")
        << QStringLiteral("/usr2/bin") << QStringLiteral("/usr2/bin");
    QTest::newRow("portable copy under /opt-like name")
        << QStringLiteral("/optional/bin") << QStringLiteral("/optional/bin");
}

void TestRecordExporter::installedProgramExportsToDocuments() {
    QFETCH(QString, programDir);
    QFETCH(QString, primary);
    const QString docs = QStringLiteral("/home/op/Documents");
    const records::ExportDirectories dirs = records::ExportDirectoriesFor(programDir, docs);
    QCOMPARE(dirs.primary, primary);
    QCOMPARE(dirs.fallback, docs);
}

void TestRecordExporter::noWritableDirectoryCallsNothing() {
    QTemporaryDir dir;
    const QString blocked = QDir(dir.path()).filePath(QStringLiteral("file"));
    QFile block(blocked);
    QVERIFY(block.open(QIODevice::WriteOnly));
    block.close();
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    const ExportOutcome out = records::ExportAllRecords(lib, conn, {blocked, blocked}, kStart);
    QVERIFY(!out.created);
    QVERIFY(!out.fileError.isEmpty());
    QVERIFY(out.path.endsWith(QStringLiteral("05060908.txt")));
    QVERIFY(lib.Ops().isEmpty());
}

void TestRecordExporter::writeFailureStopsAndMarksIncomplete() {
    QTemporaryDir dir;
    ScriptedGateLibrary lib;
    gate::ConnectionState conn;
    lib.SetDefault(
        kRetrieve, 0,
        {{QStringLiteral("kind"), 3}, {QStringLiteral("body"), Body({12, 5, 6, 9, 8, 7})}});
    ScriptStatus(lib, 5000);
    // A file-size limit makes the writes fail the way a full disk does.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &previous) == 0);
    rlimit small = previous;
    small.rlim_cur = 1000;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const ExportOutcome out = records::ExportAllRecords(lib, conn, {dir.path(), {}}, kStart);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(out.writeFailed);
    QVERIFY(!out.fileError.isEmpty());
    QVERIFY(!out.Complete());
    QVERIFY(out.written < 5000);
    QVERIFY(lib.CountOf(kRetrieve) < 5000);  // the loop stopped at the failure
}

void TestRecordExporter::logComparison_data() {
    QTest::addColumn<int>("countA");
    QTest::addColumn<int>("earliestSecondA");
    QTest::addColumn<int>("countB");
    QTest::addColumn<int>("earliestSecondB");
    QTest::addColumn<bool>("same");
    QTest::newRow("identical") << 10 << 1 << 10 << 1 << true;
    QTest::newRow("a record more") << 10 << 1 << 11 << 1 << false;
    QTest::newRow("same count, the log moved on") << 10 << 1 << 10 << 2 << false;
    QTest::newRow("empty logs, times ignored") << 0 << 1 << 0 << 2 << true;
}

void TestRecordExporter::logComparison() {
    QFETCH(int, countA);
    QFETCH(int, earliestSecondA);
    QFETCH(int, countB);
    QFETCH(int, earliestSecondB);
    QFETCH(bool, same);
    records::LogState a{countA, {24, 1, 1, 0, 0, gate::Byte(earliestSecondA)}, {24, 2, 1, 0, 0, 0}};
    records::LogState b{countB, {24, 1, 1, 0, 0, gate::Byte(earliestSecondB)}, {24, 2, 1, 0, 0, 0}};
    QCOMPARE(a.SameLogAs(b), same);
    records::LogState c = a;
    c.latest[5] = 9;
    QCOMPARE(a.SameLogAs(c), countA == 0);
}

QTEST_GUILESS_MAIN(TestRecordExporter)
#include "test_record_exporter.moc"
