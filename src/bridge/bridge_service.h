#pragma once

#include "bridge/ha_discovery.h"
#include "bridge/link_worker.h"
#include "bridge/metrics.h"
#include "bridge/mqtt_client.h"
#include "bridge/site_config.h"
#include "bridge/site_reload.h"
#include "bridge/spool.h"
#include "bridge/worker_sink.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace bridge {

// The running bridge: the spool, one worker per link, and the publisher that takes events from
// the spool to the broker (QoS 1) and removes each once the broker confirmed it. It also keeps
// the retained topics: <base>/bridge/state ("online", "offline" as the last will and on a clean
// stop), <base>/<gate>/availability and <base>/<gate>/state, published again after every
// reconnect.
class BridgeService final : public WorkerSink {
public:
    explicit BridgeService(SiteConfig config);
    ~BridgeService() override;

    // Opens the spool, starts the broker connection, the publisher and the workers.
    bool Start(QString* error);
    // Once a second from the main thread: the periodic state topics and the spool's figures.
    void Tick();
    // Whether the publisher and every worker have gone round their loops within the last
    // withinMs; when not, which one is stuck. The systemd watchdog is fed only while this holds,
    // so a hung worker or publisher ends in a restart.
    bool Progressing(qint64 withinMs, QString* stalled) const;
    // A site file read again (SIGHUP): the workers of gates added, removed or changed start,
    // stop or restart alone, the others keep polling on their open links; a removed gate's
    // retained topics are cleared. [site], [mqtt] and [spool] wait for a restart. Main thread.
    void Reload(const SiteConfig& next);
    // Stops the workers between two messages, publishes the offline states and waits (at most
    // a few seconds) for the broker to confirm them, then disconnects.
    void Stop();

    // WorkerSink, from the workers' threads.
    void Availability(const QString& gate, bool online) override;
    void ControllerState(const QString& gate, const QJsonObject& state) override;
    void EventSpooled(const QString& gate) override;
    void SpoolBlocked(const QString& reason) override;
    void RecordsCollected(const QString& gate, const RecordsOutcome& outcome) override;
    void Log(const QString& line) override;

    // The bridge's Prometheus metrics, for its workers; they outlive them.
    Metrics& metrics() { return *metrics_; }

private:
    struct InFlight {
        qint64 seq = 0;
        QString gate;
        QString event;
    };

    QString Topic(const QString& gate, const char* leaf) const;
    void SetRetained(const QString& topic, const QByteArray& payload);
    void MarkStateDirty(const QString& gate);
    QByteArray StatePayload(const QString& gate, const Spool::Figures& spool);
    void PublisherLoop();
    void StartWorker(const QList<GateConfig>& gates);
    // On the publisher thread, with nothing locked.
    void HandleConfirmations(const QList<int>& mids);
    void PublishRetained();
    void PublishEvents();
    // Home Assistant discovery (bridge_homeassistant.cpp). StartDiscovery publishes the configs
    // of the site file's gates and clears those of gates announced before and gone now; it may
    // run again after the gates changed.
    void StartDiscovery();
    void PublishDiscovery(const QString& gate, const HaIdentity& identity);
    void ResendDiscovery();
    void HomeAssistantMessage(const QString& topic, const QByteArray& payload);
    // The metrics and discovery that follow a worker's state of a gate.
    void FollowState(const QString& gate, const QJsonObject& state);

    SiteConfig config_;
    std::unique_ptr<Metrics> metrics_;
    std::unique_ptr<Spool> spool_;
    std::unique_ptr<MqttClient> mqtt_;
    QList<std::shared_ptr<LinkWorker>> workers_;
    QList<QThread*> threads_;
    QStringList workerKeys_;  // the link of each worker
    QDateTime startTime_;
    std::thread publisher_;

    std::mutex mutex_;  // guards everything below that the threads share
    std::condition_variable wake_;
    bool connected_ = false;
    bool reconnected_ = false;
    bool stopping_ = false;
    bool publisherDone_ = false;
    QList<int> confirmed_;
    QMap<QString, QByteArray> retained_;
    QSet<QString> dirtyRetained_;
    QHash<QString, QJsonObject> controllerState_;
    QHash<QString, QMap<QString, qint64>> published_;
    QSet<QString> dirtyState_;
    QString spoolBlockReason_;
    QHash<QString, RecordsOutcome> recordsOutcome_;  // the last collection of each gate
    QSet<QString> discoveryTopics_;
    QHash<QString, HaIdentity> haIdentity_;
    std::mutex logMutex_;

    std::atomic<qint64> publisherProgressMs_{0};

    // Publisher thread only.
    QHash<int, InFlight> inFlight_;
    QSet<int> retainedInFlight_;
    qint64 lastQueuedSeq_ = 0;
    QHash<QString, qint64> lastStatePublishMs_;

    // Tick only.
    qint64 lastLoggedBacklog_ = 0;
    qint64 nextStateRefreshMs_ = 0;
};

}  // namespace bridge
