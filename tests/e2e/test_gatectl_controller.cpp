// gatectl against gate-sim on loopback: identity, clock sync, the record export in every format
// with the deletion's safety rule, the installer's settings clone, and bad input that must be
// refused before anything reaches a controller or a module.
#include "core/commands/settings_document.h"
#include "gatectl_gate.h"
#include "golden_records.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

namespace {

// stderr holds one line: what went wrong, said once.
bool OneLine(const GatectlResult& r) {
    return r.err.endsWith('\n') && r.err.count('\n') == 1;
}

}  // namespace

class TestGatectlController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void infoAndClockSync() {
        Gate gate;
        QVERIFY(!gate.tcp.isEmpty());
        GatectlResult r = RunGatectl(
            {QStringLiteral("info"), QStringLiteral("--tcp"), gate.tcp, QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject info = JsonOf(r.out);
        QCOMPARE(info.value(QStringLiteral("product")).toString(), QStringLiteral("31"));
        QCOMPARE(info.value(QStringLiteral("version")).toString(), QStringLiteral("07.02"));
        QCOMPARE(info.value(QStringLiteral("serial")).toString(), QStringLiteral("04-03-02-01"));
        QCOMPARE(info[QStringLiteral("mode")][QStringLiteral("eas")].toBool(), false);
        QCOMPARE(info[QStringLiteral("reader")][QStringLiteral("connected")].toBool(), true);
        QCOMPARE(info[QStringLiteral("records")][QStringLiteral("count")].toInt(), 0);
        QVERIFY(!info.contains(QStringLiteral("serial_adapter")));  // a TCP link has none

        // The controller's clock is 100 s behind: sync sets it and reports the drift it had.
        gate.With([](sim::ControllerModel& m) {
            return m.SetClock(sim::DateTimeToClock(QDateTime::currentDateTime().addSecs(-100)));
        });
        r = RunGatectl({QStringLiteral("clock"), QStringLiteral("sync"), QStringLiteral("--tcp"),
                        gate.tcp, QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const qint64 drift = JsonOf(r.out).value(QStringLiteral("drift_seconds")).toInteger();
        QVERIFY2(drift >= -102 && drift <= -98, r.out.constData());
        const qint64 off = gate.With([](sim::ControllerModel& m) {
            return QDateTime::currentDateTime().secsTo(m.NowDateTime());
        });
        QVERIFY2(qAbs(off) <= 2, qPrintable(QString::number(off)));
    }

    // The connection and --json are global options: before the subcommand they mean what they
    // mean after it, and the same value in both places is no conflict.
    void globalOptionsBeforeTheSubcommand_data() {
        QTest::addColumn<QStringList>("arguments");
        const auto row = [](const char* name, std::initializer_list<const char*> args) {
            QStringList arguments;
            for (const char* a : args) {
                arguments << QString::fromUtf8(a);
            }
            QTest::newRow(name) << arguments;
        };
        row("--tcp and --json first", {"--tcp", "{tcp}", "--json", "info"});
        row("--tcp= and --address= forms", {"--json", "--tcp={tcp}", "--address=FF", "info"});
        row("both places, same value", {"--tcp", "{tcp}", "info", "--tcp", "{tcp}", "--json"});
        row("group subcommand", {"--tcp", "{tcp}", "--json", "records", "status"});
    }
    void globalOptionsBeforeTheSubcommand() {
        QFETCH(QStringList, arguments);
        Gate gate;
        arguments.replaceInStrings(QStringLiteral("{tcp}"), gate.tcp);
        const GatectlResult r = RunGatectl(arguments);
        QCOMPARE(r.exitCode, 0);
        const QJsonObject json = JsonOf(r.out);
        QVERIFY2(json.contains(QStringLiteral("product")) || json.contains(QStringLiteral("count")),
                 r.out);
    }

    // Over a serial line info also tells the adapter's state: a pseudo-terminal has no
    // low-latency setting (asked for all the same, and the line works) and no latency timer.
    void infoTellsTheSerialAdapter() {
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcp = false;
        options.pty = true;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        const QString path = simulator.Endpoints().ptyPath;
        GatectlResult r = RunGatectl(
            {QStringLiteral("info"), QStringLiteral("--serial"), path, QStringLiteral("--json")});
        QCOMPARE(r.exitCode, 0);
        const QJsonObject adapter =
            JsonOf(r.out).value(QStringLiteral("serial_adapter")).toObject();
        QCOMPARE(adapter.value(QStringLiteral("device")).toString(), path);
        QCOMPARE(adapter.value(QStringLiteral("low_latency")).toString(),
                 QStringLiteral("not supported by the device"));
        QVERIFY(!adapter.contains(QStringLiteral("latency_timer_ms")));
        r = RunGatectl({QStringLiteral("info"), QStringLiteral("--serial"), path});
        const QByteArray line = QByteArray("serial adapter: ") + path.toUtf8() +
                                QByteArray(", low latency not supported by the device\n");
        QVERIFY2(r.out.contains(line), r.out.constData());
        simulator.Stop();
    }

    // The golden log with its 9th retrieval failing on the line: every format writes the golden
    // file all the same, and --delete-after deletes nothing because the export is not whole.
    void exportEachFormatRefusesDeletionWhenIncomplete_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("golden");
        QTest::newRow("text: the console's export file") << "text"
                                                         << "export_every_kind.txt";
        QTest::newRow("csv") << "csv"
                             << "export_every_kind.csv";
        QTest::newRow("jsonl") << "jsonl"
                               << "export_every_kind.jsonl";
    }
    void exportEachFormatRefusesDeletionWhenIncomplete() {
        QFETCH(QString, format);
        QFETCH(QString, golden);
        Gate gate;
        gate.With([](sim::ControllerModel& m) {
            for (const GoldenRecord& r : GoldenRecords()) {
                m.Records().Append(static_cast<sim::Byte>(r.kind), r.body, sim::FullPolicy::Stop);
            }
            return 0;
        });
        // The open's identity request, the address query (the export deletes), the log-state
        // query and eight retrievals go through; the ninth gets result 48.
        gate.simulator.AddFaultAfter(11, sim::Fault{sim::Fault::Kind::Result, 0, 48, {}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("export.") + format);
        const GatectlResult r =
            RunGatectl({QStringLiteral("records"), QStringLiteral("export"),
                        QStringLiteral("--tcp"), gate.tcp, QStringLiteral("--format"), format,
                        QStringLiteral("--output"), path, QStringLiteral("--delete-after")});
        QCOMPARE(r.exitCode, 3);
        QVERIFY2(OneLine(r) && r.Err().contains(QStringLiteral("nothing deleted")), r.err);
        QCOMPARE(FileContent(path), FileContent(QStringLiteral(GOLDEN_DIR "/") + golden));
        QCOMPARE(gate.RecordCount(), 14);
    }

    void completeExportIsDeletedAfter() {
        Gate gate;
        gate.With([](sim::ControllerModel& m) {
            for (int i = 0; i < 3; ++i) {
                m.Records().Append(3, GoldenBody({24, 5, 6, 9, 8, i}), sim::FullPolicy::Stop);
            }
            return 0;
        });
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("records.jsonl"));
        const GatectlResult r = RunGatectl(
            {QStringLiteral("records"), QStringLiteral("export"), QStringLiteral("--tcp"), gate.tcp,
             QStringLiteral("--format"), QStringLiteral("jsonl"), QStringLiteral("--output"), path,
             QStringLiteral("--delete-after")});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = FileContent(path).trimmed().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(JsonOf(lines.last()).value(QStringLiteral("time")).toString(),
                 QStringLiteral("2024-05-06T09:08:02"));
        QCOMPARE(gate.RecordCount(), 0);
    }

    // The installer's clone: a backup of one gate restored to a second makes it the same.
    void settingsBackupDiffRestoreClone() {
        Gate first({{QStringLiteral("stat-time"), QStringLiteral("20")},
                    {QStringLiteral("ir-direction"), QStringLiteral("reverse")},
                    {QStringLiteral("address"), QStringLiteral("5")}});
        first.With([](sim::ControllerModel& m) {
            sim::StoredConfig& c = m.State().live;
            c.correlationFlags = 0x0B;  // enabled, unique, early detection; own times
            c.correlationLead = 40;
            c.correlationLag = 30;
            c.tagDataFlags = 0x02;  // block reading off, its block settings kept
            c.tagDataRepeat = 3;
            c.tagDataStart = 2;
            c.tagDataCount = 4;
            c.alarmMask = 0x15;
            c.patterns[4] = 9;
            c.patterns[44] = 240;
            return 0;
        });
        Gate second({{QStringLiteral("mode"), QStringLiteral("eas")}});
        QTemporaryDir dir;
        const QString backup = dir.filePath(QStringLiteral("gate1.json"));
        GatectlResult r =
            RunGatectl({QStringLiteral("settings"), QStringLiteral("backup"),
                        QStringLiteral("--tcp"), first.tcp, QStringLiteral("--output"), backup});
        QCOMPARE(r.exitCode, 0);
        QString error;
        const auto document = commands::ReadSettingsDocument(FileContent(backup), &error);
        QVERIFY2(document, qPrintable(error));
        QVERIFY(document->notRead.contains(QStringLiteral("automatic_loading")));

        const QStringList onSecond{QStringLiteral("--tcp"), second.tcp, backup};
        r = RunGatectl(QStringList{QStringLiteral("settings"), QStringLiteral("diff")} + onSecond);
        QCOMPARE(r.exitCode, 5);
        QVERIFY2(r.Out().contains(QStringLiteral("configuration.stat_time: 10 -> 20")), r.out);
        QVERIFY2(r.Out().contains(QStringLiteral("operating_mode: eas -> channel")), r.out);

        const auto secondLive = [&] {
            return second.With([](sim::ControllerModel& m) { return m.State().live; });
        };
        const sim::StoredConfig untouched = secondLive();
        r = RunGatectl(QStringList{QStringLiteral("settings"), QStringLiteral("restore"),
                                   QStringLiteral("--dry-run")} +
                       onSecond);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(secondLive() == untouched);

        r = RunGatectl(QStringList{QStringLiteral("settings"), QStringLiteral("restore")} +
                       onSecond);
        QCOMPARE(r.exitCode, 0);
        r = RunGatectl(QStringList{QStringLiteral("settings"), QStringLiteral("diff")} + onSecond);
        QCOMPARE(r.exitCode, 0);
        const sim::StoredConfig wanted =
            first.With([](sim::ControllerModel& m) { return m.State().live; });
        QVERIFY(secondLive() == wanted);
        QCOMPARE(second.With([](sim::ControllerModel& m) { return int(m.State().address); }), 5);
        QVERIFY(second.With(
            [](sim::ControllerModel& m) { return m.State().mode == sim::Mode::Channel; }));
    }

    // Bad input: one line on stderr, the documented exit code, and nothing sent anywhere (a TCP
    // and a UDP tripwire count what reaches them).
    void badInputIsRefusedBeforeAnythingIsSent_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        const char* tcp = "{tcp}";
        const auto row = [](const char* name, std::initializer_list<const char*> args, int code,
                            const char* says) {
            QStringList arguments;
            for (const char* a : args) {
                arguments << QString::fromUtf8(a);
            }
            QTest::newRow(name) << arguments << code << QString::fromUtf8(says);
        };
        row("unknown subcommand", {"frobnicate"}, 2, "unknown subcommand");
        row("unknown option", {"info", "--tcp", tcp, "--colour"}, 2, "Unknown option");
        row("missing connection", {"info"}, 2, "no connection");
        row("two connections", {"info", "--tcp", tcp, "--serial", "/dev/null"}, 2, "only one");
        row("malformed port", {"info", "--tcp", "127.0.0.1:99999"}, 2, "port");
        row("port outside the network range", {"info", "--tcp", "127.0.0.1:80"}, 2, "1025");
        row("malformed address", {"info", "--tcp", tcp, "--address", "XY"}, 2, "--address");
        row("host that refuses", {"info", "--tcp", "{closed}"}, 3, "cannot open");
        row("serial path that does not exist", {"info", "--serial", "{dir}/ttyNone"}, 3,
            "No such file");
        row("impossible date", {"clock", "set", "--tcp", tcp, "2024-02-30 10:00:00"}, 2,
            "not a time");
        row("delete without --yes", {"records", "delete", "--tcp", tcp}, 2, "--yes");
        row("unknown export format", {"records", "export", "--tcp", tcp, "--format", "xml"}, 2,
            "--format");
        row("unwritable export path",
            {"records", "export", "--tcp", tcp, "--output", "{dir}/none/x.txt"}, 4, "cannot write");
        row("settings file missing", {"settings", "restore", "--tcp", tcp, "{dir}/none.json"}, 4,
            "cannot read");
        row("settings file not JSON", {"settings", "restore", "--tcp", tcp, "{dir}/text.json"}, 4,
            "not a JSON document");
        row("settings file of a newer format",
            {"settings", "diff", "--tcp", tcp, "{dir}/newer.json"}, 4, "format_version");
        row("setting out of range", {"settings", "restore", "--tcp", tcp, "{dir}/range.json"}, 4,
            "settings.configuration.stat_time: 300 is out of range 3 to 255");
        row("backup to an unwritable path",
            {"settings", "backup", "--tcp", tcp, "--output", "{dir}/none/s.json"}, 4,
            "cannot write");
        row("lamp and buzzer values", {"monitor", "--tcp", tcp, "--led-buzzer", "1,2,3"}, 2,
            "--led-buzzer");
        row("journal directory is a file", {"monitor", "--tcp", tcp, "--output", "{dir}/text.json"},
            4, "text.json");
        row("module value out of its list",
            {"modules", "set", "127.0.0.1", "--port", "{udp}", "BaudRate=9601"}, 2, "BaudRate");
        row("module MAC is read only",
            {"modules", "set", "127.0.0.1", "--port", "{udp}", "Mac=00-11-22-33-44-55"}, 2,
            "cannot be written");
        row("module by MAC without a broadcast address",
            {"modules", "get", "00-0E-C6-00-00-01", "--port", "{udp}"}, 2, "--broadcast");
        row("new module address malformed",
            {"modules", "change-ip", "127.0.0.1", "--port", "{udp}", "10.0.0.256"}, 2,
            "not a dotted IPv4 address");
        row("delete-after without a file", {"records", "export", "--tcp", tcp, "--delete-after"}, 2,
            "--delete-after needs --output FILE");
        row("delete-after to standard output",
            {"records", "export", "--tcp", tcp, "--output", "-", "--delete-after"}, 2,
            "--delete-after needs --output FILE");
        row("connection before and after the subcommand differs",
            {"--tcp", tcp, "info", "--tcp", "127.0.0.1:1026"}, 2, "before and after");
        row("unknown option before the subcommand", {"--colour", "info"}, 2, "unknown option");
        row("modules take no connection",
            {"--tcp", tcp, "modules", "search", "--port", "{udp}", "--broadcast", "127.0.0.1"}, 2,
            "takes no controller connection");
        row("broadcast address malformed",
            {"modules", "search", "--port", "{udp}", "--broadcast", "everyone"}, 2, "--broadcast");
    }
    void badInputIsRefusedBeforeAnythingIsSent() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        QTemporaryDir dir;
        QFile text(dir.filePath(QStringLiteral("text.json")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("gate 3 settings\n");
        text.close();
        commands::SettingsDocument document;
        document.backupTime = QDateTime::currentDateTime();
        document.formatVersion = 2;
        QFile newer(dir.filePath(QStringLiteral("newer.json")));
        QVERIFY(newer.open(QIODevice::WriteOnly));
        newer.write(commands::WriteSettingsDocument(document));
        newer.close();
        document.formatVersion = 1;
        document.settings.configuration = commands::ConfigurationBlock{30, 0, 10, 5, 2, 3, 0, 1};
        QByteArray range = commands::WriteSettingsDocument(document);
        range.replace("\"stat_time\": 10", "\"stat_time\": 300");
        QFile rangeFile(dir.filePath(QStringLiteral("range.json")));
        QVERIFY(rangeFile.open(QIODevice::WriteOnly));
        rangeFile.write(range);
        rangeFile.close();

        QTcpServer tripwire;
        QVERIFY(tripwire.listen(QHostAddress::LocalHost, 0));
        QUdpSocket udpTripwire;
        QVERIFY(udpTripwire.bind(QHostAddress::LocalHost, 0));
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QString closedAddress = TcpArgument(closed.serverPort());
        closed.close();
        for (QString& a : arguments) {
            a.replace(QStringLiteral("{tcp}"), TcpArgument(tripwire.serverPort()))
                .replace(QStringLiteral("{closed}"), closedAddress)
                .replace(QStringLiteral("{udp}"), QString::number(udpTripwire.localPort()))
                .replace(QStringLiteral("{dir}"), dir.path());
        }
        const GatectlResult r = RunGatectl(arguments);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(OneLine(r), r.err.constData());
        QVERIFY2(r.Err().contains(says), r.err.constData());
        QVERIFY(!tripwire.hasPendingConnections());
        QVERIFY(!udpTripwire.hasPendingDatagrams());
    }
};

QTEST_GUILESS_MAIN(TestGatectlController)
#include "test_gatectl_controller.moc"
