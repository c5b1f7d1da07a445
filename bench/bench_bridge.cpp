// gate-bridge end to end under a steady load: gate-sim hosting N controllers (one TCP line each)
// that queue `rate` tagged passages a second each, every UID stamped with its queue time; the
// bridge polling them all; a real mosquitto on a free loopback port; one subscriber in this
// process. For each N it prints the events a second delivered end to end, the latency from the
// queue stamp to the subscriber's receipt (median, p99, max), the bridge's CPU (from
// /proc/<pid>/stat) and resident memory (VmRSS, VmHWM), per gate as well, and what was lost.
// Bounded: each run lasts about warm-up + seconds + 5 s, and at most 60 s more.
//
//   bench_bridge [--gates 1,10,50] [--rate 10] [--seconds 20] [--poll-ms 50] [--warmup 3]
#include "bridge_bench_rig.h"
#include "util/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <vector>

namespace {

using bench::kBase;
using bench::NowUs;
using bench::Percentile;
using bench::Receiver;

void Wait(int ms) {
    QTest::qWait(ms);
}

struct ProcFigures {
    double cpuSeconds = 0;
    long rssKb = 0;
    long hwmKb = 0;
};

ProcFigures ReadProc(qint64 pid) {
    ProcFigures f;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        // Fields after the command name (in parentheses, which may hold spaces): utime is the
        // 14th field of the line, stime the 15th.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) {
            f.cpuSeconds = double(fields[11].toLongLong() + fields[12].toLongLong()) /
                           double(sysconf(_SC_CLK_TCK));
        }
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const long kb = line.mid(6).trimmed().split(' ').value(0).toLong();
            if (line.startsWith("VmRSS:")) {
                f.rssKb = kb;
            } else if (line.startsWith("VmHWM:")) {
                f.hwmKb = kb;
            }
        }
    }
    return f;
}

struct Settings {
    int rate = 10;
    int seconds = 20;
    int pollMs = 50;
    int warmupS = 3;
};

struct Result {
    int gates = 0;
    double offered = 0;
    double delivered = 0;
    double p50Ms = 0, p99Ms = 0, maxMs = 0;
    double cpuPercent = 0;
    ProcFigures proc;
    qint64 expected = 0, received = 0, repeats = 0;
    QString error;
};

Result Run(int gates, const Settings& s) {
    Result r;
    r.gates = gates;
    r.offered = double(gates) * s.rate;
    // Enough messages for the start, the warm-up and the measured seconds.
    const qint64 count = qint64(s.rate) * (s.warmupS + s.seconds + 3);
    r.expected = count * gates;
    QTemporaryDir dir(QDir(QDir::currentPath()).filePath(QStringLiteral("bench-bridge-XXXXXX")));
    Broker broker;
    if (!broker.Start(dir.path(), {}, false)) {
        r.error = QStringLiteral("the broker did not start");
        return r;
    }
    Receiver receiver;
    if (!receiver.Start(broker.Port())) {
        r.error = QStringLiteral("the subscriber did not connect");
        return r;
    }
    QProcess sim;
    QList<int> ports;
    if (!bench::StartSimulator(sim, gates,
                               {QStringLiteral("--rate"), QString::number(s.rate),
                                QStringLiteral("--rate-count"), QString::number(count)},
                               &ports)) {
        r.error = QStringLiteral("gate-sim did not start: ") +
                  QString::fromUtf8(sim.readAllStandardError());
        return r;
    }
    const std::int64_t simStartUs = NowUs();
    QProcess bridge;
    bench::StartBridge(bridge, bench::WriteSite(dir, broker.Port(), ports, s.pollMs));
    const auto finish = [&] {
        bridge.terminate();
        bridge.waitForFinished(10000);
        sim.terminate();
        sim.waitForFinished(5000);
    };
    // All gates online.
    QDeadlineTimer online(30000);
    while (!online.hasExpired()) {
        QSet<QString> up;
        for (const auto& m : receiver.Take()) {
            if (m.topic.endsWith(QStringLiteral("/availability"))) {
                m.payload == "online" ? (void)up.insert(m.topic) : (void)up.remove(m.topic);
            }
        }
        if (up.size() == gates) {
            break;
        }
        Wait(50);
    }
    if (online.hasExpired()) {
        r.error = QStringLiteral("not every gate came online: ") +
                  QString::fromUtf8(bridge.readAllStandardError());
        finish();
        return r;
    }
    const std::int64_t windowStartUs = NowUs() + std::int64_t(s.warmupS) * 1000000;
    const std::int64_t windowEndUs = simStartUs + count * 1000000 / s.rate;
    Wait(int((windowStartUs - NowUs()) / 1000));
    const ProcFigures before = ReadProc(bridge.processId());
    Wait(int(std::max<std::int64_t>(0, windowEndUs - NowUs()) / 1000));
    const ProcFigures after = ReadProc(bridge.processId());
    const double windowS = double(NowUs() - windowStartUs) / 1e6;
    r.proc = after;
    r.cpuPercent = 100.0 * (after.cpuSeconds - before.cpuSeconds) / windowS;
    // The stragglers: until every message arrived, or 30 s.
    const auto events = [&] {
        QSet<QByteArray> payloads;
        for (const auto& m : receiver.Take()) {
            if (m.topic.endsWith(QStringLiteral("/event"))) {
                payloads.insert(m.payload);
            }
        }
        return qint64(payloads.size());
    };
    QDeadlineTimer drain(30000);
    while (!drain.hasExpired() && events() < r.expected) {
        Wait(200);
    }
    finish();

    std::vector<double> latencies;
    QSet<QString> seen;
    qint64 inWindow = 0;
    for (const auto& m : receiver.Take()) {
        if (!m.topic.endsWith(QStringLiteral("/event"))) {
            continue;
        }
        const auto event = bench::ParseStampedEvent(m.payload);
        if (!event) {
            continue;
        }
        if (seen.contains(event->key)) {
            ++r.repeats;
            continue;
        }
        seen.insert(event->key);
        if (event->stampUs >= windowStartUs && event->stampUs <= windowEndUs) {
            latencies.push_back(double(m.atUs - event->stampUs) / 1000.0);
        }
        if (m.atUs >= windowStartUs && m.atUs <= windowEndUs) {
            ++inWindow;
        }
    }
    r.received = seen.size();
    r.delivered = double(inWindow) / windowS;
    r.p50Ms = Percentile(latencies, 0.5);
    r.p99Ms = Percentile(latencies, 0.99);
    r.maxMs = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("gate-bridge end to end under a steady load."));
    QCoreApplication::setApplicationVersion(util::ProgramVersion());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gatesOption(QStringLiteral("gates"),
                                         QStringLiteral("Gate counts, comma-separated."),
                                         QStringLiteral("N,..."), QStringLiteral("1,10,50"));
    const QCommandLineOption rateOption(QStringLiteral("rate"),
                                        QStringLiteral("Events a second per gate."),
                                        QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Measured seconds per run."),
                                           QStringLiteral("S"), QStringLiteral("20"));
    const QCommandLineOption pollOption(QStringLiteral("poll-ms"),
                                        QStringLiteral("The gates' poll_ms."), QStringLiteral("MS"),
                                        QStringLiteral("50"));
    const QCommandLineOption warmupOption(QStringLiteral("warmup"),
                                          QStringLiteral("Seconds after all gates are online "
                                                         "before the measurement."),
                                          QStringLiteral("S"), QStringLiteral("3"));
    parser.addOptions({gatesOption, rateOption, secondsOption, pollOption, warmupOption});
    parser.process(app);
    Settings s;
    s.rate = std::clamp(parser.value(rateOption).toInt(), 1, 1000);
    s.seconds = std::clamp(parser.value(secondsOption).toInt(), 1, 600);
    s.pollMs = std::clamp(parser.value(pollOption).toInt(), 10, 60000);
    s.warmupS = std::clamp(parser.value(warmupOption).toInt(), 0, 60);

    std::printf("rate %d/s per gate, poll_ms %d, %d s measured after %d s warm-up\n", s.rate,
                s.pollMs, s.seconds, s.warmupS);
    std::printf("%5s %9s %9s %8s %8s %8s %7s %9s %8s %8s %9s %6s %7s\n", "gates", "offered/s",
                "deliv/s", "p50 ms", "p99 ms", "max ms", "CPU %", "CPU%/gate", "RSS MB", "HWM MB",
                "RSS kB/g", "lost", "repeats");
    int failures = 0;
    for (const QString& n : parser.value(gatesOption).split(u',')) {
        const int gates = std::clamp(n.toInt(), 1, 1000);
        const Result r = Run(gates, s);
        if (!r.error.isEmpty()) {
            std::printf("%5d  failed: %s\n", gates, qPrintable(r.error));
            ++failures;
            continue;
        }
        std::printf("%5d %9.0f %9.1f %8.1f %8.1f %8.1f %7.1f %9.2f %8.1f %8.1f %9.0f %6lld %7lld\n",
                    r.gates, r.offered, r.delivered, r.p50Ms, r.p99Ms, r.maxMs, r.cpuPercent,
                    r.cpuPercent / gates, double(r.proc.rssKb) / 1024.0,
                    double(r.proc.hwmKb) / 1024.0, double(r.proc.rssKb) / gates,
                    static_cast<long long>(r.expected - r.received),
                    static_cast<long long>(r.repeats));
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
