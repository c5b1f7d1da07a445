// The structured export formats (CSV and JSON lines) over the golden log of every kind, and the
// rule that deletes the log after an export only when it is still the exported one.
#include "core/records/export_deletion.h"
#include "core/records/record_exporter.h"
#include "golden_records.h"
#include "scripted_gate_library.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using testing_support::ScriptedGateLibrary;

namespace {

const QString kStatus = QStringLiteral("GetBGLogDataStatus");

void ScriptStatus(ScriptedGateLibrary& lib, int count, const QByteArray& latest, int result = 0) {
    lib.Script(kStatus, result,
               {{QStringLiteral("count"), count},
                {QStringLiteral("earliest"), GoldenBody({12, 5, 6, 9, 8, 7})},
                {QStringLiteral("latest"), latest}});
}

QByteArray Golden(const QString& name) {
    QFile f(QStringLiteral(GOLDEN_DIR "/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing golden>");
}

}  // namespace

class TestRecordFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The same log as the console's golden text file, in each format, to a device.
    void goldenExportOfEveryKind_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("golden");
        QTest::newRow("text, the console's file") << "text"
                                                  << "export_every_kind.txt";
        QTest::newRow("csv") << "csv"
                             << "export_every_kind.csv";
        QTest::newRow("json lines") << "jsonl"
                                    << "export_every_kind.jsonl";
    }
    void goldenExportOfEveryKind() {
        QFETCH(QString, format);
        QFETCH(QString, golden);
        ScriptedGateLibrary lib;
        gate::ConnectionState conn;
        const auto records = GoldenRecords();
        ScriptStatus(lib, static_cast<int>(records.size()), GoldenBody({24, 5, 6, 9, 8, 0}));
        for (const GoldenRecord& r : records) {
            lib.Script(QStringLiteral("RetrieveRecordByIndex"), r.result,
                       {{QStringLiteral("kind"), r.kind}, {QStringLiteral("body"), r.body}});
        }
        const auto recordFormat = records::MakeRecordFormat(format);
        QVERIFY(recordFormat);
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        records::RecordExporter exporter(lib, conn, recordFormat.get());
        exporter.WriteTo(buffer, QStringLiteral("buffer"));
        QVERIFY(exporter.QueryStatus());
        QVERIFY(exporter.WriteRecords());
        QVERIFY(exporter.Close());
        QCOMPARE(buffer.data(), Golden(golden));
        // The failed retrieval and the empty record keep the export from being complete.
        QCOMPARE(exporter.Outcome().failedRetrievals, 2);
        QVERIFY(!records::MayDeleteAfter(exporter.Outcome()));
    }

    void unknownFormatName() { QVERIFY(!records::MakeRecordFormat(QStringLiteral("xml"))); }

    // The deletion after an export: only the log that was exported, asked for again right
    // before; nothing is deleted when the state cannot be read or has moved on.
    void deleteIfUnchanged_data() {
        QTest::addColumn<int>("statusResult");
        QTest::addColumn<int>("countNow");
        QTest::addColumn<QByteArray>("latestNow");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("deletions");
        const QByteArray latest = GoldenBody({24, 5, 6, 9, 8, 0});
        using K = records::DeletionOutcome::Kind;
        QTest::newRow("unchanged: deleted") << 0 << 14 << latest << int(K::Deleted) << 1;
        QTest::newRow("a record more") << 0 << 15 << latest << int(K::LogChanged) << 0;
        QTest::newRow("same count, newer latest (overwritten)")
            << 0 << 14 << GoldenBody({24, 5, 6, 9, 9, 0}) << int(K::LogChanged) << 0;
        QTest::newRow("state query fails") << 48 << 14 << latest << int(K::StateUnknown) << 0;
    }
    void deleteIfUnchanged() {
        QFETCH(int, statusResult);
        QFETCH(int, countNow);
        QFETCH(QByteArray, latestNow);
        QFETCH(int, kind);
        QFETCH(int, deletions);
        ScriptedGateLibrary lib;
        gate::ConnectionState conn;
        records::LogState exported;
        exported.count = 14;
        exported.earliest = {12, 5, 6, 9, 8, 7};
        exported.latest = {24, 5, 6, 9, 8, 0};
        ScriptStatus(lib, countNow, latestNow, statusResult);
        const records::DeletionOutcome out = records::DeleteIfUnchanged(lib, conn, exported);
        QCOMPARE(int(out.kind), kind);
        QCOMPARE(lib.CountOf(QStringLiteral("DeleteAllRecord")), deletions);
    }
};

QTEST_GUILESS_MAIN(TestRecordFormats)
#include "test_record_formats.moc"
