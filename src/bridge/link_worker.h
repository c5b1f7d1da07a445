#pragma once

#include "bridge/gate_chores.h"
#include "bridge/metrics.h"
#include "bridge/site_config.h"
#include "bridge/spool.h"
#include "bridge/timed_library.h"
#include "bridge/worker_sink.h"
#include "gate/connection_state.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>

namespace bridge {

// The poll of one link (a module's TCP server or a serial line) and the gates on it, run on a
// thread of its own so that a gate that is down, slow or unplugged never delays another link.
// It owns its gate library, made on that thread.
//
// For each gate: after the link opens it reads the controller's own address, mode and identity
// and sends everything to that address; it fetches live messages in the gate's mode, stores each
// in the spool, then acknowledges it, and fetches again at once while messages come (the poll
// interval applies when none is waiting). An acknowledgement whose outcome is unknown stays
// pending in the spool and is repeated before the gate's next fetch, also after a restart.
// Messages the console would neither show nor acknowledge (a repeated no-person report, an
// unknown kind) are spooled and acknowledged too, so nothing waits in the controller for ever.
// While the spool takes nothing, the gate is not fetched: its messages stay in the controller.
//
// A lost link is reopened with a back-off from 0.5 s doubling up to 5 s; a gate whose controller
// stops answering behind a live link goes offline after two failed calls and is asked again
// once a second.
class LinkWorker {
public:
    LinkWorker(QList<GateConfig> gates, QString base, Spool& spool, WorkerSink& sink);
    ~LinkWorker();

    // Before Run: the gates' record collection and clock sync, as their configs ask.
    void EnableChores(const QString& stateDir, const HostClock& host, const QDateTime& start);

    // Polls until Stop(); between two messages, never in the middle of one.
    void Run();
    void Stop() { stop_ = true; }
    // The monotonic time of the worker's last turn of its loop (also while it sleeps).
    qint64 LastProgressMs() const { return progressMs_; }
    // "tcp 10.20.0.11:6000" and the like: the link, for the log.
    QString Describe() const;
    // Where the worker's figures go (round trips, failures, reconnects, events); before Run.
    void SetMetrics(Metrics* metrics) {
        metrics_ = metrics;
        library_.SetMetrics(metrics);
    }

private:
    struct Gate {
        GateConfig config;
        gate::Byte address = 0xFF;
        bool eas = false;
        bool up = false;
        bool ackPending = false;
        int ackRefusals = 0;
        int failures = 0;
        qint64 nextPollMs = 0;
        qint64 nextStateMs = 0;
        qint64 retryMs = 0;
        QString lastNoPerson;
        std::optional<QString> serialNumber;  // the controller's, as first read
        QJsonObject lastEvent;
        QJsonObject state;
        std::shared_ptr<GateChores> chores;
    };
    enum class Outcome { Delivered, Idle, Failed };

    bool OpenLink();
    void CloseLink();
    void LinkDown(const QString& why);
    bool Identify(Gate& g);
    void ReadState(Gate& g);
    Outcome Poll(Gate& g);
    bool ResolveAcknowledgement(Gate& g);
    void Failed(Gate& g);
    void GateDown(Gate& g, const QString& why);
    void PublishState(Gate& g);
    // A slice of the gate's scheduled work; true while more follows at once.
    bool RunChores(Gate& g);
    void Sleep(qint64 ms);
    void CountFailure(const Gate& g, std::int32_t result);
    qint64 Now() const;

    QList<Gate> gates_;
    QString base_;
    Spool& spool_;
    WorkerSink& sink_;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> progressMs_{0};
    TimedLibrary library_;
    Metrics* metrics_ = nullptr;
    bool everOpened_ = false;
    gate::ConnectionState link_;
    bool linkUp_ = false;
    int backoffMs_ = 0;
    qint64 nextOpenMs_ = 0;
    QString lastOpenError_;
    bool spoolBlocked_ = false;
};

}  // namespace bridge
