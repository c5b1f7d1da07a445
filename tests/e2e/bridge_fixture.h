#pragma once

// gate-bridge end to end: in-process gate simulators, the bridge binary and its site file.

#include "gate_simulator.h"
#include "mqtt_broker_fixture.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <signal.h>

#include <memory>

inline const QString kBase = QStringLiteral("test/site");

inline QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// A passage time-out numbered n: its time tells the events apart (up to 3600).
inline QByteArray Numbered(int n) {
    const char bytes[] = {char(24),          char(5),     char(6), char(10 + n / 3600),
                          char(n / 60 % 60), char(n % 60)};
    return QByteArray(bytes, sizeof bytes);
}

struct SimGate {
    QString name;
    std::unique_ptr<sim::GateSimulator> sim = std::make_unique<sim::GateSimulator>();
    sim::SimulatorOptions options;
    bool eas = false;

    bool Start(QString* error) { return sim->Start(options, error); }
    int Port() const { return options.tcpPort; }
    void Push(int kind, const QByteArray& body) {
        sim->WithModel([&](sim::ControllerModel& m) {
            eas ? m.PushEasMessage(sim::Byte(kind), body)
                : m.PushChannelMessage(sim::Byte(kind), body);
            return 0;
        });
    }
    int Accepted() { return sim->Shared().AcceptedConnections(); }
    int Queued() {
        return sim->WithModel([this](sim::ControllerModel& m) {
            return int(eas ? m.EasQueue().Size() : m.ChannelQueue().Size());
        });
    }
};

inline std::unique_ptr<SimGate> MakeGate(const QString& name, bool eas, int port = 0) {
    auto g = std::make_unique<SimGate>();
    g->name = name;
    g->eas = eas;
    g->options.tcpPort = static_cast<quint16>(port);
    if (eas) {
        g->options.settings.push_back({QStringLiteral("mode"), QStringLiteral("eas")});
    }
    return g;
}

inline QString SiteFile(const QTemporaryDir& dir, int brokerPort,
                        const QList<std::pair<QString, int>>& gates, const QString& mqttExtra = {},
                        const QString& tables = {}) {
    QString text = QStringLiteral(
                       "[site]\nname = \"test\"\nstate_dir = \"%1/state\"\n\n[mqtt]\n"
                       "host = \"127.0.0.1\"\nport = %2\nbase = \"%3\"\n"
                       "client_id = \"bridge-under-test\"\nkeepalive_s = 5\n%4\n")
                       .arg(dir.path())
                       .arg(brokerPort)
                       .arg(kBase, mqttExtra) +
                   tables;
    for (const auto& [name, port] : gates) {
        text += QStringLiteral("[[gate]]\nname = \"%1\"\ntcp = \"127.0.0.1:%2\"\npoll_ms = 20\n\n")
                    .arg(name)
                    .arg(port);
    }
    const QString path = dir.filePath(QStringLiteral("site.toml"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(text.toUtf8());
    }
    return path;
}

class Bridge {
public:
    bool Start(const QString& site) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("STATE_DIRECTORY"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral(GATE_BRIDGE_PATH), {QStringLiteral("--config"), site});
        return process_.waitForStarted(3000);
    }
    // A signal to the running bridge (SIGHUP: read the site file again).
    void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
    void Kill() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    // SIGTERM; the exit code, or -1 when it did not end within 8 s.
    int Terminate() {
        process_.terminate();
        if (!process_.waitForFinished(8000)) {
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    QString Log() {
        log_ += QString::fromUtf8(process_.readAllStandardError());
        return log_;
    }
    ~Bridge() { Kill(); }

private:
    QProcess process_;
    QString log_;
};

// A broker without persistence, a subscriber on every topic of the bridge, and gate simulators
// on free loopback ports.
struct BridgeRig {
    QTemporaryDir dir;
    Broker broker;
    Subscriber sub;
    std::vector<std::unique_ptr<SimGate>> gates;

    bool Start() {
        return broker.Start(dir.path(), {}, false) &&
               sub.Start(broker.Port(), kBase + QStringLiteral("/#"));
    }
    // A channel-mode gate with these gate-sim settings, started; nothing when it did not start.
    SimGate* AddGate(const QString& name,
                     const std::vector<std::pair<QString, QString>>& settings = {}) {
        gates.push_back(MakeGate(name, false));
        SimGate& g = *gates.back();
        g.options.settings.insert(g.options.settings.end(), settings.begin(), settings.end());
        QString error;
        if (!g.Start(&error)) {
            qWarning("%s", qPrintable(error));
            return nullptr;
        }
        g.options.tcpPort = g.sim->Endpoints().tcpPort;
        return &g;
    }
};
