// What the gate-bridge benches share: a subscriber that keeps every message with the moment it
// arrived, gate-sim started with one TCP line per gate, and a site file for the bridge.
#pragma once

#include "mqtt_broker_fixture.h"
#include "steady_traffic.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <mosquitto.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace bench {

inline const QString kBase = QStringLiteral("bench/site");

inline std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

inline double Percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    const auto k = static_cast<std::size_t>(p * double(v.size() - 1) + 0.5);
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

// A steady-load passage as the subscriber got it: gate and UID (what makes a repeat), and the
// time gate-sim stamped into the UID when it queued the passage.
struct StampedEvent {
    QString key;
    std::int64_t stampUs = 0;
};

inline std::optional<StampedEvent> ParseStampedEvent(const QByteArray& payload) {
    const QJsonObject o = QJsonDocument::fromJson(payload).object();
    const QString uidHex = o.value(QStringLiteral("uid")).toString();
    const QByteArray uidBytes = QByteArray::fromHex(uidHex.toLatin1());
    if (uidBytes.size() != 8) {
        return std::nullopt;
    }
    sim::Uid8 uid{};
    std::copy(uidBytes.begin(), uidBytes.end(), uid.begin());
    const auto stamp = sim::UidStamp(uid);
    if (!stamp) {
        return std::nullopt;
    }
    return StampedEvent{o.value(QStringLiteral("gate")).toString() + u'/' + uidHex, *stamp};
}

// Everything the broker hands the subscriber under kBase, with the moment it arrived.
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
    Receiver() = default;
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    std::vector<Receipt> Take() {
        std::lock_guard lock(mutex_);
        return receipts_;
    }

private:
    mosquitto* mosq_ = nullptr;
    std::mutex mutex_;
    std::vector<Receipt> receipts_;
};

// gate-sim with one TCP line per gate (and the further arguments given); the ports it listens
// on, from its first lines.
inline bool StartSimulator(QProcess& sim, int gates, const QStringList& extra, QList<int>* ports) {
    sim.start(QStringLiteral(GATE_SIM_PATH),
              QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0"),
                          QStringLiteral("--lines"), QString::number(gates)} +
                  extra);
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

// The site file: the broker, gates g1..gN on the ports, and the further tables given.
inline QString WriteSite(const QTemporaryDir& dir, int brokerPort, const QList<int>& ports,
                         int pollMs, const QString& tables = {}) {
    QString text = QStringLiteral(
                       "[site]\nname = \"bench\"\nstate_dir = \"%1/state\"\n\n[mqtt]\n"
                       "host = \"127.0.0.1\"\nport = %2\nbase = \"%3\"\n"
                       "client_id = \"bench-bridge\"\n\n")
                       .arg(dir.path())
                       .arg(brokerPort)
                       .arg(kBase) +
                   tables;
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

// The bridge on the site file, without the service manager's state directory.
inline void StartBridge(QProcess& bridge, const QString& site) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("STATE_DIRECTORY"));
    bridge.setProcessEnvironment(env);
    bridge.start(QStringLiteral(GATE_BRIDGE_PATH), {QStringLiteral("--config"), site});
}

}  // namespace bench
