// gate-bridge's record collection and clock sync against gate-sim. A collection every 3 s of
// 2,000 records while a live event is queued every 200 ms: the file is byte for byte gatectl's
// export of the same records, live events reach the broker within 1 s meanwhile, exactly the
// exported records are deleted; a record that cannot be read refuses the deletion; a run missed
// while the bridge was down is made up at its start. The clock: 100 s behind is set, within
// max_drift_s is left alone, an unsynchronised host or a year past 2099 sets nothing.
#include "bridge/clock_sync.h"
#include "bridge_fixture.h"
#include "gate/wire_gate_library.h"
#include "gatectl_runner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QSet>

namespace {

struct Record {
    sim::Byte kind;
    QByteArray body;
};

// A mix of kinds, with two equal neighbours (equal bytes, two records).
Record MakeRecord(int n) {
    const char t[] = {
        char(26),     char(1 + n / 28800 % 12), char(1 + n / 1440 % 28), char(n / 60 % 24),
        char(n % 60), char(n * 7 % 60)};
    const QByteArray time(t, 6);
    switch (n % 4) {
        case 0:
            return {0, Hex("E004015012345678") + QByteArray(1, char(1 + n % 3)) + time};
        case 1:
            return {1, QByteArray::fromHex("0300020001000400") + time};
        default:
            return {3, time};
    }
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const std::vector<std::pair<QString, QString>> kRoomy{
    {QStringLiteral("record-capacity"), QStringLiteral("10000")}};

// Records 0 .. count-1 of MakeRecord in the controller's memory.
void StoreRecords(SimGate& gate, int count) {
    gate.sim->WithModel([&](sim::ControllerModel& m) {
        for (int n = 0; n < count; ++n) {
            const Record r = MakeRecord(n);
            m.AppendRecord(r.kind, r.body);
        }
        return 0;
    });
}

// The gate's last collection two hours ago: a run due every hour was missed while the bridge
// was down, so the bridge makes it up at its start.
bool LastRunTwoHoursAgo(const QString& stateDir, const QString& gate) {
    QFile last(stateDir + QStringLiteral("/records-") + gate + QStringLiteral(".last"));
    return QDir().mkpath(stateDir) && last.open(QIODevice::WriteOnly) &&
           last.write(QDateTime::currentDateTime().addSecs(-7200).toString(Qt::ISODate).toUtf8()) >
               0;
}

}  // namespace

class TestBridgeRecords : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void collectedWhileLiveEventsFlow() {
        BridgeRig rig;
        QVERIFY(rig.Start());
        auto& [dir, broker, sub, gates] = rig;
        SimGate* gate = rig.AddGate(QStringLiteral("g1"), kRoomy);
        QVERIFY(gate);
        QList<Record> all;  // every record the controller stored, in order
        for (int n = 0; n < 2000; ++n) {
            all.append(MakeRecord(n));
        }
        all[1001] = all[1000];
        gate->sim->WithModel([&](sim::ControllerModel& m) {
            for (const Record& r : all) {
                m.AppendRecord(r.kind, r.body);
            }
            return 0;
        });
        const QString recordsDir = dir.filePath(QStringLiteral("records"));
        Bridge bridge;
        QVERIFY(bridge.Start(SiteFile(dir, broker.Port(), {{gate->name, gate->Port()}}, {},
                                      QStringLiteral("[records]\nevery = \"3s\"\nformat = \"csv\"\n"
                                                     "dir = \"%1\"\ndelete_after = true\n")
                                          .arg(recordsDir))));

        // A live event every 200 ms (each also stored as a record), until the first collection
        // has ended and a second longer; when each reached the broker.
        QList<qint64> pushedAt, seenAt;
        QElapsedTimer clock;
        clock.start();
        QJsonObject outcome;
        qint64 doneAt = -1;
        int records = 0;  // the controller's count right after the collection
        QByteArray earliest;
        for (int turn = 0; turn < 1000 && (doneAt < 0 || clock.elapsed() < doneAt + 1000); ++turn) {
            if (clock.elapsed() >= 200 * pushedAt.size()) {
                const QByteArray body = Numbered(int(pushedAt.size()) + 1);
                gate->sim->WithModel([&](sim::ControllerModel& m) {
                    m.ChannelEvent(3, body);
                    return 0;
                });
                all.append({3, body});
                pushedAt.append(clock.elapsed());
            }
            QTest::qWait(10);
            const qsizetype seen = sub.On(QStringLiteral("/event")).size();
            while (seenAt.size() < seen) {
                seenAt.append(clock.elapsed());
            }
            if (doneAt < 0 && !sub.On(QStringLiteral("/records")).isEmpty()) {
                doneAt = clock.elapsed();
                outcome = sub.On(QStringLiteral("/records")).first().Json();
                gate->sim->WithModel([&](sim::ControllerModel& m) {
                    records = m.Records().Count();
                    const auto* e = m.Records().Earliest();
                    earliest = e ? QByteArray(1, char(e->kind)) + e->body : QByteArray();
                    return 0;
                });
            }
        }
        QVERIFY2(doneAt > 0, qPrintable(bridge.Log()));
        const qint64 count = outcome.value(QStringLiteral("count")).toInteger();
        QVERIFY2(count >= 2000, QJsonDocument(outcome).toJson().constData());
        QCOMPARE(outcome.value(QStringLiteral("written")), QJsonValue(true));
        QCOMPARE(outcome.value(QStringLiteral("deleted")).toInteger(), count);
        QCOMPARE(outcome.value(QStringLiteral("why")), QJsonValue());

        // Live events flowed meanwhile: each one at the broker within a second of its queueing.
        qint64 slowest = 0;
        for (qsizetype i = 0; i < seenAt.size(); ++i) {
            slowest = std::max(slowest, seenAt.at(i) - pushedAt.at(i));
        }
        qInfo(
            "%lld records collected by %lld ms after the start; %lld live events, the slowest "
            "at the broker after %lld ms",
            static_cast<long long>(count), static_cast<long long>(doneAt),
            static_cast<long long>(seenAt.size()), static_cast<long long>(slowest));
        QVERIFY(pushedAt.size() >= 20);
        QVERIFY(seenAt.size() >= pushedAt.size() - 5);
        for (qsizetype i = 0; i < seenAt.size(); ++i) {
            QVERIFY2(seenAt.at(i) - pushedAt.at(i) < 1000,
                     qPrintable(QStringLiteral("event %1 took %2 ms")
                                    .arg(i + 1)
                                    .arg(seenAt.at(i) - pushedAt.at(i))));
        }

        // Only what the file holds was deleted: the records that came during the export stay,
        // the first of them now the earliest.
        const int total = int(all.size());
        QVERIFY(count < total - 1);
        QVERIFY(records >= 1);
        QVERIFY(records <= total - count);
        const Record& next = all.at(count);
        QCOMPARE(earliest, QByteArray(1, char(next.kind)) + next.body);

        // The file is gatectl's export of the same records, byte for byte: a second controller
        // holding them, exported by gatectl.
        const QString file = outcome.value(QStringLiteral("file")).toString();
        QVERIFY2(file.startsWith(recordsDir + QStringLiteral("/g1/")), qPrintable(file));
        QVERIFY(QFileInfo(file).fileName().contains(
            QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d{6}(-\\d+)?\\.csv$"))));
        SimGate* twin = rig.AddGate(QStringLiteral("twin"), kRoomy);
        QVERIFY(twin);
        twin->sim->WithModel([&](sim::ControllerModel& m) {
            for (qint64 i = 0; i < count; ++i) {
                m.AppendRecord(all.at(i).kind, all.at(i).body);
            }
            return 0;
        });
        const QString expected = dir.filePath(QStringLiteral("gatectl.csv"));
        const GatectlResult r = RunGatectl(
            {QStringLiteral("records"), QStringLiteral("export"), QStringLiteral("--tcp"),
             TcpArgument(twin->sim->Endpoints().tcpPort), QStringLiteral("--format"),
             QStringLiteral("csv"), QStringLiteral("--output"), expected});
        QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.Err()));
        QCOMPARE(ReadAll(file).size(), ReadAll(expected).size());
        QVERIFY(ReadAll(file) == ReadAll(expected));

        // The next run, 3 s later, takes the rest into a new file; none is ever overwritten.
        QTRY_VERIFY_WITH_TIMEOUT(sub.On(QStringLiteral("/records")).size() >= 2, 8000);
        QSet<QString> files;
        for (const auto& m : sub.On(QStringLiteral("/records"))) {
            const QString f = m.Json().value(QStringLiteral("file")).toString();
            QVERIFY2(QFileInfo::exists(f), qPrintable(f));
            files.insert(f);
        }
        QCOMPARE(files.size(), sub.On(QStringLiteral("/records")).size());
        QCOMPARE(ReadAll(file).size(), ReadAll(expected).size());
    }

    void unreadableRecordRefusesDeletionAndAMissedRunIsMadeUp() {
        BridgeRig rig;
        QVERIFY(rig.Start());
        auto& [dir, broker, sub, gates] = rig;
        SimGate* gate = rig.AddGate(QStringLiteral("g1"), kRoomy);
        QVERIFY(gate);
        StoreRecords(*gate, 300);
        // The 1st retrieval by index (0x1D) of the export is refused by the controller.
        gate->sim->AddFault(
            sim::Fault{sim::Fault::Kind::Result, 0, 7, std::optional<std::uint8_t>(0x1D)});
        QVERIFY(LastRunTwoHoursAgo(dir.filePath(QStringLiteral("state")), QStringLiteral("g1")));
        Bridge bridge;
        QVERIFY(
            bridge.Start(SiteFile(dir, broker.Port(), {{gate->name, gate->Port()}}, {},
                                  QStringLiteral("[records]\nevery = \"1h\"\nformat = \"jsonl\"\n"
                                                 "dir = \"%1/records\"\ndelete_after = true\n")
                                      .arg(dir.path()))));
        QTRY_VERIFY_WITH_TIMEOUT(!sub.On(QStringLiteral("/records")).isEmpty(), 10000);
        const QJsonObject outcome = sub.On(QStringLiteral("/records")).first().Json();
        QCOMPARE(outcome.value(QStringLiteral("count")).toInteger(), 300);
        QCOMPARE(outcome.value(QStringLiteral("deleted")).toInteger(), 0);
        QVERIFY2(outcome.value(QStringLiteral("why"))
                     .toString()
                     .startsWith(QStringLiteral("record 1 could not be read (result 7)")),
                 QJsonDocument(outcome).toJson().constData());
        QCOMPARE(gate->sim->WithModel([](sim::ControllerModel& m) { return m.Records().Count(); }),
                 300);
        const QString file = outcome.value(QStringLiteral("file")).toString();
        QVERIFY(file.endsWith(QStringLiteral(".jsonl")));
        QCOMPARE(ReadAll(file).count('\n'), 300);
        // The time of this run is kept for the next start.
        const QDateTime kept = QDateTime::fromString(
            QString::fromUtf8(ReadAll(dir.filePath(QStringLiteral("state/records-g1.last"))))
                .trimmed(),
            Qt::ISODate);
        QVERIFY(kept.secsTo(QDateTime::currentDateTime()) < 60);
    }

    // A record count with the top bit set is a corrupt reply: nothing is collected or deleted,
    // and the live state shows no record memory rather than a wrong one.
    void impossibleRecordCountCollectsNothing() {
        BridgeRig rig;
        QVERIFY(rig.Start());
        auto& [dir, broker, sub, gates] = rig;
        SimGate* gate =
            rig.AddGate(QStringLiteral("g1"),
                        {{QStringLiteral("reported-count"), QStringLiteral("4294967295")}});
        QVERIFY(gate);
        StoreRecords(*gate, 20);
        QVERIFY(LastRunTwoHoursAgo(dir.filePath(QStringLiteral("state")), QStringLiteral("g1")));
        Bridge bridge;
        QVERIFY(
            bridge.Start(SiteFile(dir, broker.Port(), {{gate->name, gate->Port()}}, {},
                                  QStringLiteral("[records]\nevery = \"1h\"\ndir = \"%1/records\"\n"
                                                 "delete_after = true\n")
                                      .arg(dir.path()))));
        QTRY_VERIFY_WITH_TIMEOUT(!sub.On(QStringLiteral("/records")).isEmpty(), 10000);
        const QJsonObject outcome = sub.On(QStringLiteral("/records")).first().Json();
        QVERIFY2(outcome.value(QStringLiteral("why"))
                     .toString()
                     .startsWith(QStringLiteral("the controller reports 4294967295 records")),
                 QJsonDocument(outcome).toJson().constData());
        QCOMPARE(outcome.value(QStringLiteral("deleted")).toInteger(), 0);
        QCOMPARE(outcome.value(QStringLiteral("written")).toBool(), false);
        QCOMPARE(gate->sim->WithModel([](sim::ControllerModel& m) { return m.Records().Count(); }),
                 20);
        // The gate's states once it is up (the first may come after the outcome).
        const auto upStates = [&sub] {
            QList<QJsonObject> out;
            for (const Subscriber::Message& m : sub.On(QStringLiteral("/g1/state"))) {
                if (m.Json().value(QStringLiteral("link")).toString() == u"up") {
                    out.append(m.Json());
                }
            }
            return out;
        };
        QTRY_VERIFY_WITH_TIMEOUT(!upStates().isEmpty(), 5000);
        QVERIFY(!upStates().last().contains(QStringLiteral("records")));
    }

    void clockSync_data() {
        QTest::addColumn<int>("behindS");
        QTest::addColumn<bool>("hostSynchronised");
        QTest::addColumn<int>("hostYear");  // 0: this year
        QTest::addColumn<bool>("set");
        QTest::newRow("100 s behind") << 100 << true << 0 << true;
        QTest::newRow("100 s ahead") << -100 << true << 0 << true;
        QTest::newRow("within max_drift_s") << 1 << true << 0 << false;
        QTest::newRow("host not synchronised") << 100 << false << 0 << false;
        QTest::newRow("host year 2100") << 100 << true << 2100 << false;
    }

    void clockSync() {
        QFETCH(int, behindS);
        QFETCH(bool, hostSynchronised);
        QFETCH(int, hostYear);
        QFETCH(bool, set);
        sim::GateSimulator simulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        QVERIFY2(simulator.Start(options, &error), qPrintable(error));
        const QDateTime target = QDateTime::currentDateTime().addSecs(-behindS);
        simulator.WithModel([&](sim::ControllerModel& m) {
            const QDate d = target.date();
            const QTime t = target.time();
            return m.SetClock({sim::Byte(d.year() % 100), sim::Byte(d.month()), sim::Byte(d.day()),
                               sim::Byte(t.hour()), sim::Byte(t.minute()), sim::Byte(t.second())});
        });
        gate::WireGateLibrary library{gate::ComPortTable{}};
        gate::Byte a = 0xFF;
        std::int32_t h = 0;
        QCOMPARE(
            library.OpenNetPort(simulator.Endpoints().tcpPort, QStringLiteral("127.0.0.1"), a, h),
            0);
        bridge::HostClock host{
            [&] { return hostSynchronised; },
            [&] {
                QDateTime now = QDateTime::currentDateTime();
                return hostYear == 0 ? now : now.addYears(hostYear - now.date().year());
            }};
        bridge::ClockConfig config;
        config.maxDriftS = 2;
        const bridge::ClockSyncOutcome out =
            bridge::SyncControllerClock(library, a, h, config, host);
        library.CloseNetPort(h);
        QCOMPARE(out.set, set);
        QVERIFY(out.driftBefore.has_value());
        if (hostYear == 0) {
            QVERIFY2(std::abs(*out.driftBefore + behindS) <= 1,
                     qPrintable(QString::number(*out.driftBefore)));
        }
        QVERIFY(out.driftAfter.has_value());
        if (set) {
            QVERIFY(std::abs(*out.driftAfter) <= 1);
            QVERIFY(out.why.isEmpty());
        } else {
            QCOMPARE(*out.driftAfter, *out.driftBefore);
            QCOMPARE(out.why.isEmpty(), std::abs(behindS) <= config.maxDriftS);
        }
        // What the controller's clock now reads.
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 drift = simulator.WithModel(
            [&](sim::ControllerModel& m) { return now.secsTo(m.NowDateTime()); });
        QVERIFY2(set ? std::abs(drift) <= 1 : std::abs(drift + behindS) <= 1,
                 qPrintable(QString::number(drift)));
    }
};

QTEST_GUILESS_MAIN(TestBridgeRecords)
#include "test_bridge_records.moc"
