// gate-bridge end to end under a steady load: gate-sim hosting N controllers (one TCP line each)
// that queue `rate` tagged passages a second each, every UID stamped with its queue time; the
// bridge polling them all; a real mosquitto on a free loopback port; one subscriber in this
// process. For each N it prints the events a second delivered end to end, the latency from the
// queue stamp to the subscriber's receipt (median, p99, max), the bridge's CPU (from
// /proc/<pid>/stat) and resident memory (VmRSS, VmHWM), per gate as well, and what was lost.
// Bounded: each run lasts about warm-up + seconds + 5 s, and at most 60 s more.
//
//   bench_bridge [--gates 1,10,50] [--rate 10] [--seconds 20] [--poll-ms 50] [--warmup 3]
#include "mqtt_broker_fixture.h"
#include "steady_traffic.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <mosquitto.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

namespace {

const QString kBase = QStringLiteral("bench/site");

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void Wait(int ms) {
    QTest::qWait(ms);
}

// Everything the broker hands the subscriber, with the moment it arrived.
class Receiver {
public:
    struct Receipt {
        std::int64_t atUs = 0;
        QString topic;
        QByteArray payload;
    };

    bool Start(int port) {
        mosquitto_lib_init();
        mosq_ = mosquitto_new("bench-subscriber", true, this);
        if (mosq_ == nullptr) {
            return false;
        }
        mosquitto_message_callback_set(
            mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
                auto* r = static_cast<Receiver*>(self);
                Receipt receipt{NowUs(), QString::fromUtf8(m->topic),
                                QByteArray(static_cast<const char*>(m->payload), m->payloadlen)};
                std::lock_guard lock(r->mutex_);
                r->receipts_.push_back(std::move(receipt));
            });
        mosquitto_connect_callback_set(mosq_, [](mosquitto* mosq, void*, int rc) {
            if (rc == 0) {
                mosquitto_subscribe(mosq, nullptr, (kBase + QStringLiteral("/#")).toUtf8(), 1);
            }
        });
        return mosquitto_connect(mosq_, "127.0.0.1", port, 30) == MOSQ_ERR_SUCCESS &&
               mosquitto_loop_start(mosq_) == MOSQ_ERR_SUCCESS;
    }
    ~Receiver() {
        if (mosq_ != nullptr) {
            mosquitto_disconnect(mosq_);
            mosquitto_loop_stop(mosq_, false);
            mosquitto_destroy(mosq_);
        }
    }
    std::vector<Receipt> Take() {
        std::lock_guard lock(mutex_);
        return receipts_;
    }
    std::size_t Count() {
        std::lock_guard lock(mutex_);
        return receipts_.size();
    }

private:
    mosquitto* mosq_ = nullptr;
    std::mutex mutex_;
    std::vector<Receipt> receipts_;
};

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

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    const auto k = static_cast<std::size_t>(p * double(v.size() - 1) + 0.5);
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

// gate-sim with one TCP line per gate; the ports it listens on, from its first lines.
bool StartSimulator(QProcess& sim, int gates, const Settings& s, qint64 count, QList<int>* ports) {
    sim.start(QStringLiteral(GATE_SIM_PATH),
              {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--lines"),
               QString::number(gates), QStringLiteral("--rate"), QString::number(s.rate),
               QStringLiteral("--rate-count"), QString::number(count)});
    QDeadlineTimer deadline(10000);
    while (ports->size() < gates && !deadline.hasExpired()) {
        if (!sim.canReadLine() && !sim.waitForReadyRead(200)) {
            continue;
        }
        const QByteArray line = sim.readLine().trimmed();
        if (line.startsWith("tcp ")) {
            ports->append(line.mid(line.lastIndexOf(':') + 1).split(' ').value(0).toInt());
        }
    }
    return ports->size() == gates;
}

QString WriteSite(const QTemporaryDir& dir, int brokerPort, const QList<int>& ports, int pollMs) {
    QString text = QStringLiteral(
                       "[site]\nname = \"bench\"\nstate_dir = \"%1/state\"\n\n[mqtt]\n"
                       "host = \"127.0.0.1\"\nport = %2\nbase = \"%3\"\n"
                       "client_id = \"bench-bridge\"\n\n")
                       .arg(dir.path())
                       .arg(brokerPort)
                       .arg(kBase);
    for (qsizetype i = 0; i < ports.size(); ++i) {
        text += QStringLiteral("[[gate]]\nname = \"g%1\"\ntcp = \"127.0.0.1:%2\"\npoll_ms = %3\n\n")
                    .arg(i + 1)
                    .arg(ports[i])
                    .arg(pollMs);
    }
    const QString path = dir.filePath(QStringLiteral("site.toml"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text.toUtf8());
    }
    return path;
}

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
    if (!StartSimulator(sim, gates, s, count, &ports)) {
        r.error = QStringLiteral("gate-sim did not start: ") +
                  QString::fromUtf8(sim.readAllStandardError());
        return r;
    }
    const std::int64_t simStartUs = NowUs();
    QProcess bridge;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("STATE_DIRECTORY"));
    bridge.setProcessEnvironment(env);
    bridge.start(QStringLiteral(GATE_BRIDGE_PATH),
                 {QStringLiteral("--config"), WriteSite(dir, broker.Port(), ports, s.pollMs)});
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
        const QJsonObject o = QJsonDocument::fromJson(m.payload).object();
        const QByteArray uidBytes =
            QByteArray::fromHex(o.value(QStringLiteral("uid")).toString().toLatin1());
        if (uidBytes.size() != 8) {
            continue;
        }
        sim::Uid8 uid{};
        std::copy(uidBytes.begin(), uidBytes.end(), uid.begin());
        const auto stamp = sim::UidStamp(uid);
        const QString key = o.value(QStringLiteral("gate")).toString() + u'/' +
                            o.value(QStringLiteral("uid")).toString();
        if (!stamp) {
            continue;
        }
        if (seen.contains(key)) {
            ++r.repeats;
            continue;
        }
        seen.insert(key);
        if (*stamp >= windowStartUs && *stamp <= windowEndUs) {
            latencies.push_back(double(m.atUs - *stamp) / 1000.0);
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
    parser.addHelpOption();
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
