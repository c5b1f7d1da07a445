// One night's record collection by gate-bridge, end to end: gate-sim with N lines whose
// controllers each hold `records` stored records, queue a tagged passage every second (its UID
// stamped with its queue time) and store a further record every second; the bridge collecting
// with `[records] at` the next whole minute at least `--lead` seconds ahead, `delete_after =
// true`; a real mosquitto on a free loopback port; one subscriber in this process.
//
// It prints the collection's wall time (from the scheduled minute to the last gate's outcome),
// each gate's time and records a second, the round-trip limit beside them (the library's reply
// time-out, the wire time per record at 115200 baud, the raw loopback round trips), the live
// events' latency (median, p99, max) while the collection ran, and checks per gate that the
// file holds every record the outcome counts, every written record was deleted, and what is
// left in the controller are only records that arrived during the run (read with gatectl once
// the bridge has stopped). Bounded: the wait for the minute, then at most --timeout seconds.
//
//   bench_bridge_records [--gates 10] [--records 10000] [--lead 30] [--timeout 900]
#include "bridge_bench_rig.h"
#include "util/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using bench::NowUs;
using bench::Percentile;

void Wait(int ms) {
    QTest::qWait(ms);
}

// Records stored at start carry the year 2026 (first time byte 26), those stored during the run
// 2027: what is left in a controller afterwards shows by its earliest record whether any stored
// record escaped the deletion.
QString RecordLine(qint64 atMs, int year, qint64 n) {
    return QStringLiteral("at %1 record 3 %2 %3 %4 %5 %6 %7\n")
        .arg(atMs)
        .arg(year, 2, 16, QLatin1Char('0'))
        .arg(int(1 + n / 40320 % 12), 2, 16, QLatin1Char('0'))
        .arg(int(1 + n / 1440 % 28), 2, 16, QLatin1Char('0'))
        .arg(int(n / 60 % 24), 2, 16, QLatin1Char('0'))
        .arg(int(n % 60), 2, 16, QLatin1Char('0'))
        .arg(int(n * 7 % 60), 2, 16, QLatin1Char('0'));
}

QString WriteScenario(const QTemporaryDir& dir, int records, int seconds) {
    QString text;
    for (qint64 n = 0; n < records; ++n) {
        text += RecordLine(0, 26, n);
    }
    for (qint64 s = 1; s <= seconds; ++s) {
        text += RecordLine(s * 1000, 27, s);
    }
    const QString path = dir.filePath(QStringLiteral("night.txt"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text.toUtf8());
    }
    return path;
}

struct GateFigures {
    double seconds = 0;
    qint64 count = 0, deleted = 0, fileRows = 0, left = 0;
    QString earliestLeft, why;
};

QJsonObject GatectlInfo(int port) {
    QProcess p;
    p.start(QStringLiteral(GATECTL_PATH),
            {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port),
             QStringLiteral("--json"), QStringLiteral("info")});
    p.waitForFinished(30000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

qint64 DataRows(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray text = f.readAll();
    return text.count('\n') - 1;  // the header row
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("gate-bridge's record collection of N gates with live events flowing."));
    QCoreApplication::setApplicationVersion(util::ProgramVersion());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gatesOption(QStringLiteral("gates"), QStringLiteral("Gates."),
                                         QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption recordsOption(QStringLiteral("records"),
                                           QStringLiteral("Records stored in each gate."),
                                           QStringLiteral("N"), QStringLiteral("10000"));
    const QCommandLineOption leadOption(QStringLiteral("lead"),
                                        QStringLiteral("Least seconds between start and the run."),
                                        QStringLiteral("S"), QStringLiteral("30"));
    const QCommandLineOption timeoutOption(
        QStringLiteral("timeout"), QStringLiteral("Longest wait for the outcomes, in seconds."),
        QStringLiteral("S"), QStringLiteral("900"));
    parser.addOptions({gatesOption, recordsOption, leadOption, timeoutOption});
    parser.process(app);
    const int gates = std::clamp(parser.value(gatesOption).toInt(), 1, 100);
    const int records = std::clamp(parser.value(recordsOption).toInt(), 1, 100000);
    const int leadS = std::clamp(parser.value(leadOption).toInt(), 10, 120);
    const int timeoutS = std::clamp(parser.value(timeoutOption).toInt(), 10, 3600);
    const int liveSeconds = leadS + 60 + timeoutS + 30;  // live traffic outlasts the run

    QTemporaryDir dir(QDir(QDir::currentPath()).filePath(QStringLiteral("bench-records-XXXXXX")));
    Broker broker;
    bench::Receiver receiver;
    if (!broker.Start(dir.path(), {}, false) || !receiver.Start(broker.Port())) {
        std::printf("failed: the broker did not start or the subscriber did not connect\n");
        return 1;
    }
    QProcess sim;
    QList<int> ports;
    if (!bench::StartSimulator(
            sim, gates,
            {QStringLiteral("--scenario"), WriteScenario(dir, records, liveSeconds),
             QStringLiteral("--set"), QStringLiteral("record-capacity=1000000"),
             QStringLiteral("--rate"), QStringLiteral("1"), QStringLiteral("--rate-count"),
             QString::number(liveSeconds)},
            &ports)) {
        std::printf("failed: gate-sim did not start: %s\n", sim.readAllStandardError().constData());
        return 1;
    }
    // The next whole minute at least leadS ahead, local time as the bridge reads `at`.
    QDateTime at = QDateTime::currentDateTime().addSecs(leadS);
    at = at.addSecs(60 - at.time().second()).addMSecs(-at.time().msec());
    const QString recordsDir = dir.filePath(QStringLiteral("records"));
    const QString tables = QStringLiteral(
                               "[records]\nat = \"%1\"\nformat = \"csv\"\ndir = \"%2\"\n"
                               "delete_after = true\n\n")
                               .arg(at.toString(QStringLiteral("HH:mm")), recordsDir);
    QProcess bridge;
    bench::StartBridge(bridge, bench::WriteSite(dir, broker.Port(), ports, 50, tables));
    const std::int64_t atUs = at.toMSecsSinceEpoch() * 1000;
    std::printf("%d gates x %d records, collection at %s (in %.0f s), live 1 event/s per gate\n",
                gates, records, qPrintable(at.toString(Qt::ISODate)), double(atUs - NowUs()) / 1e6);
    std::fflush(stdout);

    // Every gate's outcome, or the time-out.
    QHash<QString, bench::Receiver::Receipt> outcomes;
    QDeadlineTimer deadline(std::max<qint64>(0, (atUs - NowUs()) / 1000) + qint64(timeoutS) * 1000);
    while (!deadline.hasExpired() && outcomes.size() < gates) {
        for (const auto& m : receiver.Take()) {
            if (m.topic.endsWith(QStringLiteral("/records")) && !m.payload.isEmpty() &&
                m.atUs > atUs) {
                outcomes.insert(m.topic.section(u'/', -2, -2), m);
            }
        }
        Wait(200);
    }
    const std::int64_t endUs = NowUs();
    bridge.terminate();
    bridge.waitForFinished(15000);

    // Live events queued while the collection ran.
    std::int64_t lastOutcomeUs = atUs;
    for (const auto& o : outcomes) {
        lastOutcomeUs = std::max(lastOutcomeUs, o.atUs);
    }
    std::vector<double> latencies;
    QSet<QString> seen;
    for (const auto& m : receiver.Take()) {
        if (!m.topic.endsWith(QStringLiteral("/event"))) {
            continue;
        }
        const auto event = bench::ParseStampedEvent(m.payload);
        if (!event || seen.contains(event->key)) {
            continue;
        }
        seen.insert(event->key);
        if (event->stampUs >= atUs && event->stampUs <= lastOutcomeUs) {
            latencies.push_back(double(m.atUs - event->stampUs) / 1000.0);
        }
    }

    // What each gate wrote, deleted and kept, the bridge stopped.
    int faults = 0;
    double slowest = 0;
    std::printf("%4s %9s %9s %8s %8s %9s %6s %-20s %s\n", "gate", "time s", "records/s", "written",
                "deleted", "file rows", "left", "earliest left", "why");
    for (int i = 0; i < gates; ++i) {
        const QString name = QStringLiteral("g%1").arg(i + 1);
        GateFigures g;
        if (!outcomes.contains(name)) {
            std::printf("%4s  no outcome within %d s\n", qPrintable(name), timeoutS);
            ++faults;
            continue;
        }
        const auto& receipt = outcomes[name];
        const QJsonObject o = QJsonDocument::fromJson(receipt.payload).object();
        g.seconds = double(receipt.atUs - atUs) / 1e6;
        g.count = o.value(QStringLiteral("count")).toInteger();
        g.deleted = o.value(QStringLiteral("deleted")).toInteger();
        g.why = o.value(QStringLiteral("why")).toString();
        g.fileRows = DataRows(o.value(QStringLiteral("file")).toString());
        const QJsonObject left = GatectlInfo(ports[i]).value(QStringLiteral("records")).toObject();
        g.left = left.value(QStringLiteral("count")).toInteger(-1);
        g.earliestLeft = left.value(QStringLiteral("earliest")).toString();
        slowest = std::max(slowest, g.seconds);
        // Every stored record written and deleted; only records of the run (2027) left.
        const bool sound = o.value(QStringLiteral("written")).toBool() && g.why.isEmpty() &&
                           g.count >= records && g.fileRows == g.count && g.deleted == g.count &&
                           g.left >= 0 &&
                           (g.left == 0 || g.earliestLeft.startsWith(QStringLiteral("2027")));
        faults += sound ? 0 : 1;
        std::printf("%4s %9.1f %9.0f %8lld %8lld %9lld %6lld %-20s %s%s\n", qPrintable(name),
                    g.seconds, double(g.count) / g.seconds, static_cast<long long>(g.count),
                    static_cast<long long>(g.deleted), static_cast<long long>(g.fileRows),
                    static_cast<long long>(g.left), qPrintable(g.earliestLeft), qPrintable(g.why),
                    sound ? "" : "  FAULT");
    }
    sim.terminate();
    sim.waitForFinished(5000);

    // The round-trip limit: a record costs one RetrieveRecordByIndex to write it, then a
    // RetrieveEarliestRecord and an Acknowledge to delete it. Frames: request 7 bytes + payload,
    // reply 9 bytes + payload; these records are kind 3 with a 6-byte body.
    const int wireBytes = (7 + 4) + (9 + 7) + 7 + (9 + 7) + 7 + 9;
    const double wireMs = wireBytes * 10.0 / 115200.0 * 1000.0;
    std::printf("collection: %.1f s wall for %d x %d records (slowest gate %.1f s)\n",
                double(lastOutcomeUs - atUs) / 1e6, gates, records, slowest);
    std::printf(
        "round-trip limit per record: 3 calls, each at most 600 ms reply time-out "
        "(+300 ms write); wire %d bytes = %.2f ms at 115200 baud (%.0f records/s, "
        "%d records in %.0f s per line)\n",
        wireBytes, wireMs, 1000.0 / wireMs, records, records * wireMs / 1000.0);
    std::printf(
        "live events while collecting: %zu, latency p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
        latencies.size(), Percentile(latencies, 0.5), Percentile(latencies, 0.99),
        latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end()));
    std::printf("waited %.0f s after the scheduled minute; %d gate(s) at fault\n",
                double(endUs - atUs) / 1e6, faults);
    return faults == 0 ? 0 : 1;
}
