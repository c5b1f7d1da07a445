// gatectl's destructive subcommands against gate-sim: what makes an export unfit for deletion
// (a record the text file cannot hold, a record count that cannot be true, standard output),
// and which controller a write or a delete reaches on a line shared by several.
#include "gatectl_gate.h"
#include "golden_records.h"

#include "gate/wire_commands.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr auto kDeleteAll = static_cast<sim::Byte>(gate::wire::Command::DeleteAllRecord);
constexpr auto kConfigure = static_cast<sim::Byte>(gate::wire::Command::ConfigureController);

// Gives every controller of the gate the records, in order.
void AddRecords(Gate& gate, const QList<std::pair<int, QByteArray>>& records) {
    for (std::size_t i = 0; i < gate.simulator.ControllerCount(); ++i) {
        gate.With(
            [&](sim::ControllerModel& m) {
                for (const auto& [kind, body] : records) {
                    m.Records().Append(static_cast<sim::Byte>(kind), body, sim::FullPolicy::Stop);
                }
                return 0;
            },
            i);
    }
}

sim::ControllerModel::RequestCount Requests(Gate& gate, sim::Byte command) {
    return gate.With([command](sim::ControllerModel& m) { return m.RequestsOf(command); });
}

const QByteArray kUid = GoldenBody({0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
const QByteArray kTime = GoldenBody({24, 5, 6, 9, 8, 7});

QList<std::pair<int, QByteArray>> Passages(int count) {
    QList<std::pair<int, QByteArray>> records;
    for (int i = 0; i < count; ++i) {
        records.append({0, kUid + GoldenBody({1}) + kTime});
    }
    return records;
}

QStringList Export(const QString& tcp, const QString& format, const QString& path) {
    return {QStringLiteral("records"),       QStringLiteral("export"),
            QStringLiteral("--tcp"),         tcp,
            QStringLiteral("--format"),      format,
            QStringLiteral("--output"),      path,
            QStringLiteral("--delete-after")};
}

}  // namespace

class TestGatectlSafety : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A record of a kind the text file has no line for (here kind 5 at index 2 and kind 9 at
    // index 4) is written as an empty line: the text export names them and
    // deletes nothing; CSV and JSON lines keep the raw body, so their export may delete.
    void recordsTheTextFileCannotHoldAreNeverDeleted_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("left");
        QTest::newRow("text: incomplete for deletion") << "text" << 6 << 4;
        QTest::newRow("csv keeps them") << "csv" << 0 << 0;
        QTest::newRow("jsonl keeps them") << "jsonl" << 0 << 0;
    }
    void recordsTheTextFileCannotHoldAreNeverDeleted() {
        QFETCH(QString, format);
        QFETCH(int, exitCode);
        QFETCH(int, left);
        Gate line;
        AddRecords(line, {{0, kUid + GoldenBody({1}) + kTime},
                          {5, GoldenBody({1, 2, 3, 4, 5})},
                          {3, kTime},
                          {9, kUid}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.") + format);
        const GatectlResult r = RunGatectl(Export(line.tcp, format, path));
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(line.RecordCount(), left);
        QCOMPARE(FileContent(path).count('\n'), format == u"csv" ? 5 : 4);  // written in full
        if (exitCode != 0) {
            QVERIFY2(r.Err().contains(QStringLiteral("nothing deleted: 2 records")), r.err);
            QVERIFY2(r.Err().contains(QStringLiteral("index 2, 4")), r.err);
            QVERIFY2(r.Err().contains(QStringLiteral("--format csv")), r.err);
            QCOMPARE(Requests(line, kDeleteAll).own + Requests(line, kDeleteAll).broadcast, 0);
        }
    }

    // The count is an unsigned 32-bit number on the wire; one that cannot be a log's (from 2^31
    // it used to turn negative: an export of nothing, then every record deleted) fails the
    // status query: no file, no deletion, a clear message.
    void impossibleRecordCountExportsAndDeletesNothing_data() {
        QTest::addColumn<QString>("reported");
        QTest::newRow("2^31") << "0x80000000";
        QTest::newRow("2^32 - 1") << "0xFFFFFFFF";
        QTest::newRow("one above the limit") << "10000001";
    }
    void impossibleRecordCountExportsAndDeletesNothing() {
        QFETCH(QString, reported);
        Gate line({{QStringLiteral("reported-count"), reported}});
        AddRecords(line, Passages(3));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.txt"));
        GatectlResult r = RunGatectl(Export(line.tcp, QStringLiteral("text"), path));
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.Err().contains(QStringLiteral("more than the 10000000")), r.err);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(line.RecordCount(), 3);
        r = RunGatectl({QStringLiteral("records"), QStringLiteral("status"),
                        QStringLiteral("--tcp"), line.tcp});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(r.Err().contains(QString::number(reported.toUInt(nullptr, 0))), r.err);
    }

    // Two controllers on one line (addresses 01 and 02). Without --address every controller
    // answers the address query at once and the reply is garbled: the delete is refused and no
    // controller loses a record. Naming one deletes that one's records only.
    void sharedLineDeletesOnlyTheNamedController_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("address");  // empty: none given
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("leftOn1");
        QTest::addColumn<int>("leftOn2");
        const QStringList remove{QStringLiteral("records"), QStringLiteral("delete"),
                                 QStringLiteral("--yes")};
        const QStringList exportDelete{QStringLiteral("records"), QStringLiteral("export"),
                                       QStringLiteral("--output"), QStringLiteral("{file}"),
                                       QStringLiteral("--delete-after")};
        QTest::newRow("delete at FF: refused") << remove << QString() << 3 << 2 << 2;
        QTest::newRow("delete at 02") << remove << QStringLiteral("02") << 0 << 2 << 0;
        QTest::newRow("export and delete at FF: refused")
            << exportDelete << QString() << 3 << 2 << 2;
        QTest::newRow("export and delete at 01")
            << exportDelete << QStringLiteral("1") << 0 << 0 << 2;
    }
    void sharedLineDeletesOnlyTheNamedController() {
        QFETCH(QStringList, command);
        QFETCH(QString, address);
        QFETCH(int, exitCode);
        QFETCH(int, leftOn1);
        QFETCH(int, leftOn2);
        Gate line({}, 2);
        AddRecords(line, Passages(2));
        QVERIFY(!line.tcp.isEmpty());
        QTemporaryDir dir;
        command.replaceInStrings(QStringLiteral("{file}"), dir.filePath(QStringLiteral("x.txt")));
        command << QStringLiteral("--tcp") << line.tcp;
        if (!address.isEmpty()) {
            command << QStringLiteral("--address") << address;
        }
        const GatectlResult r = RunGatectl(command);
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY2(r.Err().contains(QStringLiteral("name one with --address")), r.err);
        }
        QCOMPARE(line.RecordCount(), leftOn1);
        QCOMPARE(line.RecordCount(1), leftOn2);
    }

    // One controller at address 05 and no --address: the deletion and the settings writes go to
    // 05, never to the broadcast address.
    void writesGoToTheControllersOwnAddress() {
        Gate line({{QStringLiteral("address"), QStringLiteral("5")}});
        AddRecords(line, Passages(2));
        QTemporaryDir dir;
        GatectlResult r =
            RunGatectl(Export(line.tcp, QStringLiteral("csv"), dir.filePath(QStringLiteral("a"))));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(line.RecordCount(), 0);
        QCOMPARE(Requests(line, kDeleteAll).own, 1);
        QCOMPARE(Requests(line, kDeleteAll).broadcast, 0);

        const QString backup = dir.filePath(QStringLiteral("s.json"));
        r = RunGatectl({QStringLiteral("settings"), QStringLiteral("backup"),
                        QStringLiteral("--tcp"), line.tcp, QStringLiteral("--output"), backup});
        QCOMPARE(r.exitCode, 0);
        QByteArray document = FileContent(backup);
        document.replace("\"stat_time\": 10", "\"stat_time\": 20");
        QFile file(backup);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(document);
        file.close();
        r = RunGatectl({QStringLiteral("settings"), QStringLiteral("restore"),
                        QStringLiteral("--tcp"), line.tcp, backup});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(Requests(line, kConfigure).own, 1);
        QCOMPARE(Requests(line, kConfigure).broadcast, 0);
    }

    // A reader that closes the pipe early (| head) ends gatectl with the file error, not with
    // SIGPIPE's death (141): 1000 CSV rows are more than a pipe holds. Over a serial line (here
    // a pseudo-terminal) no network socket has set SIGPIPE aside; gatectl starts with it at its
    // default, as from a login shell (this test process ignores it, and that would be
    // inherited).
    void closedStandardOutputIsAFileError() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcp = false;
        options.pty = true;
        options.baud = 4000000;
        options.settings = {{QStringLiteral("record-capacity"), QStringLiteral("1000")}};
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        simulator.WithModel([](sim::ControllerModel& m) {
            for (const auto& [kind, body] : Passages(1000)) {
                m.Records().Append(static_cast<sim::Byte>(kind), body, sim::FullPolicy::Stop);
            }
            return 0;
        });
        const QString script =
            QStringLiteral(
                "env --default-signal=PIPE '%1' records export --serial '%2' --format csv | "
                "head -c 1 >/dev/null; echo \"${PIPESTATUS[0]}\"")
                .arg(QStringLiteral(GATECTL_PATH), simulator.Endpoints().ptyPath);
        QProcess shell;
        shell.start(QStringLiteral("bash"), {QStringLiteral("-c"), script});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.readAllStandardOutput().trimmed(), QByteArray("4"));
    }
};

QTEST_GUILESS_MAIN(TestGatectlSafety)
#include "test_gatectl_safety.moc"
