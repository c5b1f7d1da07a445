#include "bridge/bridge_service.h"

#include "gate/reconnect_schedule.h"
#include "util/command_line.h"

#include <QDateTime>
#include <QJsonDocument>

#include <chrono>
#include <cstdio>

namespace bridge {

namespace {

constexpr int kWindow = 200;               // events in flight to the broker at most
constexpr qint64 kStateMinGapMs = 1000;    // a gate's state topic at most once a second
constexpr qint64 kStateRefreshMs = 30000;  // and at least this often
constexpr int kStopWaitMs = 3000;

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");

qint64 MonotonicMs() {
    static const gate::ReconnectSchedule::Clock clock = gate::ReconnectSchedule::SteadyClock();
    return clock();
}

}  // namespace

BridgeService::BridgeService(SiteConfig config)
    : config_(std::move(config)), metrics_(std::make_unique<Metrics>(util::ProgramVersion())) {
    for (const GateConfig& g : config_.gates) {
        metrics_->AddGate(g.name);
    }
}

BridgeService::~BridgeService() {
    Stop();
}

QString BridgeService::Topic(const QString& gate, const char* leaf) const {
    return config_.base + u'/' + gate + u'/' + QString::fromLatin1(leaf);
}

void BridgeService::Log(const QString& line) {
    std::lock_guard lock(logMutex_);
    std::fprintf(stderr, "gate-bridge: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

bool BridgeService::Start(QString* error) {
    spool_ = Spool::Open(config_.stateDir, qint64(config_.spoolMaxMb) << 20, error);
    if (!spool_) {
        return false;
    }
    const Spool::Figures f = spool_->Measure();
    Log(QStringLiteral("spool %1/spool.sqlite, instance %2, %3 events waiting")
            .arg(config_.stateDir, spool_->InstanceId())
            .arg(f.backlog));
    lastLoggedBacklog_ = f.backlog;
    if (!config_.metricsListen.isEmpty()) {
        if (!metrics_->Serve(config_.metricsListen, error, config_.metricsUsername,
                             config_.metricsPassword)) {
            return false;
        }
        Log(QStringLiteral("metrics at http://%1/metrics").arg(config_.metricsListen));
    }
    // Every gate is offline until it answers.
    for (const GateConfig& g : config_.gates) {
        SetRetained(Topic(g.name, "availability"), kOffline);
    }
    MqttClient::Options o;
    o.host = config_.mqttHost;
    o.port = config_.mqttPort;
    o.clientId = config_.clientId;
    o.username = config_.username;
    o.password = config_.password;
    o.caFile = config_.caFile;
    o.keepaliveS = config_.keepaliveS;
    o.willTopic = config_.base + QStringLiteral("/bridge/state");
    o.willPayload = kOffline;
    StartDiscovery();
    if (config_.haDiscovery) {
        // The bridge's only subscription: Home Assistant asks for the configs again with it.
        o.subscriptions.append(config_.haPrefix + QStringLiteral("/status"));
    }
    MqttClient::Callbacks callbacks;
    callbacks.connection = [this](bool up, const QString& why) {
        {
            std::lock_guard lock(mutex_);
            if (up == connected_) {
                return;
            }
            connected_ = up;
            reconnected_ = up;
        }
        metrics_->SetMqttConnected(up);
        Log(up ? QStringLiteral("broker %1:%2 connected")
                     .arg(config_.mqttHost)
                     .arg(config_.mqttPort)
               : QStringLiteral("broker %1:%2 lost (%3)")
                     .arg(config_.mqttHost)
                     .arg(config_.mqttPort)
                     .arg(why));
        wake_.notify_all();
    };
    callbacks.published = [this](int mid) {
        {
            std::lock_guard lock(mutex_);
            confirmed_.append(mid);
        }
        wake_.notify_all();
    };
    callbacks.message = [this](const QString& topic, const QByteArray& payload) {
        HomeAssistantMessage(topic, payload);
    };
    mqtt_ = std::make_unique<MqttClient>(o, callbacks);
    if (!mqtt_->Start(error)) {
        return false;
    }
    publisherProgressMs_ = MonotonicMs();
    publisher_ = std::thread([this] { PublisherLoop(); });

    startTime_ = QDateTime::currentDateTime();
    // Gates on the same line share its worker.
    for (const QList<GateConfig>& link : GatesByLink(config_.gates)) {
        StartWorker(link);
    }
    return true;
}

void BridgeService::StartWorker(const QList<GateConfig>& gates) {
    auto worker = std::make_shared<LinkWorker>(gates, config_.base, *spool_, *this);
    worker->SetMetrics(metrics_.get());
    worker->EnableChores(config_.stateDir, HostClock::System(), startTime_);
    QThread* thread = QThread::create([worker] { worker->Run(); });
    workers_.append(worker);
    threads_.append(thread);
    workerKeys_.append(gates.constFirst().LinkKey());
    thread->start();
}

void BridgeService::Reload(const SiteConfig& next) {
    const SiteChange change = CompareSites(config_, next);
    // Stopped between two messages, as at a clean stop; the others go on untouched.
    for (const QString& key : change.stoppedLinks) {
        const qsizetype i = workerKeys_.indexOf(key);
        if (i < 0) {
            continue;
        }
        workers_.at(i)->Stop();
        threads_.at(i)->wait();
        delete threads_.at(i);
        workers_.removeAt(i);
        threads_.removeAt(i);
        workerKeys_.removeAt(i);
    }
    {
        std::lock_guard lock(mutex_);
        // Only the gates; the rest of the file waits for a restart (Summary says so).
        config_.gates = next.gates;
        config_.records = next.records;
        config_.clock = next.clock;
        for (const QString& gate : change.removedGates) {
            controllerState_.remove(gate);
            published_.remove(gate);
            recordsOutcome_.remove(gate);
            dirtyState_.remove(gate);
        }
    }
    // A removed gate leaves no retained topic behind: an empty retained message clears one.
    // (Its state topic is not among retained_, so it is put there directly; a gate added again
    // later takes it out.)
    {
        std::lock_guard lock(mutex_);
        for (const QString& gate : change.removedGates) {
            for (const char* leaf : {"availability", "state", "records"}) {
                retained_.insert(Topic(gate, leaf), QByteArray());
                dirtyRetained_.insert(Topic(gate, leaf));
            }
        }
        for (const QString& gate : change.addedGates) {
            for (const char* leaf : {"state", "records"}) {
                retained_.remove(Topic(gate, leaf));
                dirtyRetained_.remove(Topic(gate, leaf));
            }
        }
    }
    wake_.notify_all();
    for (const QString& gate : change.addedGates) {
        SetRetained(Topic(gate, "availability"), kOffline);
    }
    // A removed gate leaves no series and no discovery entry behind; an added one gets both.
    for (const QString& gate : change.removedGates) {
        metrics_->RemoveGate(gate);
    }
    for (const QString& gate : change.addedGates) {
        metrics_->AddGate(gate);
    }
    StartDiscovery();
    for (const QList<GateConfig>& link : change.startedLinks) {
        StartWorker(link);
    }
    Log(change.Summary());
}

void BridgeService::Stop() {
    if (!publisher_.joinable()) {
        return;
    }
    for (const auto& w : workers_) {
        w->Stop();
    }
    for (QThread* t : threads_) {
        t->wait();
        delete t;
    }
    threads_.clear();
    workers_.clear();
    workerKeys_.clear();
    {
        std::lock_guard lock(mutex_);
        // A gate already published offline (its link had failed, or its worker said so when it
        // stopped) is not published again.
        for (const GateConfig& g : config_.gates) {
            const QString topic = Topic(g.name, "availability");
            if (retained_.value(topic) != kOffline) {
                retained_.insert(topic, kOffline);
                dirtyRetained_.insert(topic);
            }
        }
        retained_.insert(config_.base + QStringLiteral("/bridge/state"), kOffline);
        dirtyRetained_.insert(config_.base + QStringLiteral("/bridge/state"));
        stopping_ = true;
    }
    wake_.notify_all();
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(kStopWaitMs),
                       [this] { return publisherDone_; });
        publisherDone_ = true;  // the publisher ends now, whether or not the broker confirmed
    }
    wake_.notify_all();
    publisher_.join();
    mqtt_->Stop();
    Log(QStringLiteral("stopped"));
}

void BridgeService::SetRetained(const QString& topic, const QByteArray& payload) {
    {
        std::lock_guard lock(mutex_);
        // An empty payload clears a retained topic: it, too, is sent once.
        if (retained_.contains(topic) && retained_.value(topic) == payload && !stopping_) {
            return;
        }
        retained_.insert(topic, payload);
        dirtyRetained_.insert(topic);
    }
    wake_.notify_all();
}

void BridgeService::MarkStateDirty(const QString& gate) {
    {
        std::lock_guard lock(mutex_);
        dirtyState_.insert(gate);
    }
    wake_.notify_all();
}

void BridgeService::Availability(const QString& gate, bool online) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
    }
    metrics_->SetUp(gate, online);
    SetRetained(Topic(gate, "availability"), online ? kOnline : kOffline);
}

void BridgeService::ControllerState(const QString& gate, const QJsonObject& state) {
    {
        std::lock_guard lock(mutex_);
        controllerState_.insert(gate, state);
        dirtyState_.insert(gate);
    }
    FollowState(gate, state);
    wake_.notify_all();
}

void BridgeService::RecordsCollected(const QString& gate, const RecordsOutcome& outcome) {
    {
        std::lock_guard lock(mutex_);
        recordsOutcome_.insert(gate, outcome);
    }
    // A run that wrote no whole file, or whose delete was refused, counts as a failure: the
    // alert on refused deletes night after night reads that counter.
    if (outcome.written) {
        metrics_->RecordsExported(gate, outcome.count, double(outcome.time.toSecsSinceEpoch()));
    }
    if (!outcome.written || !outcome.why.isEmpty()) {
        metrics_->RecordsExportFailed(gate);
    }
    SetRetained(Topic(gate, "records"),
                QJsonDocument(outcome.Json()).toJson(QJsonDocument::Compact));
}

void BridgeService::EventSpooled(const QString&) {
    wake_.notify_all();
}

void BridgeService::SpoolBlocked(const QString& reason) {
    {
        std::lock_guard lock(mutex_);
        if (spoolBlockReason_ == reason) {
            return;
        }
        spoolBlockReason_ = reason;
        for (const GateConfig& g : config_.gates) {
            dirtyState_.insert(g.name);
        }
    }
    Log(reason.isEmpty()
            ? QStringLiteral("spool: writable again; acknowledging resumes")
            : QStringLiteral("spool: %1; the gates are not acknowledged meanwhile (their "
                             "controllers keep the messages)")
                  .arg(reason));
    wake_.notify_all();
}

QByteArray BridgeService::StatePayload(const QString& gate, const Spool::Figures& all) {
    QJsonObject state;
    QMap<QString, qint64> counts;
    QString blocked;
    {
        std::lock_guard lock(mutex_);
        state = controllerState_.value(gate);
        counts = published_.value(gate);
        blocked = spoolBlockReason_;
    }
    QJsonObject published;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        published.insert(it.key(), it.value());
    }
    state.insert(QStringLiteral("gate"), gate);
    state.insert(QStringLiteral("spool"),
                 QJsonObject{{QStringLiteral("backlog"), spool_->Backlog(gate)},
                             {QStringLiteral("backlog_all"), all.backlog},
                             {QStringLiteral("oldest_age_s"),
                              all.oldestAgeMs ? QJsonValue(double(*all.oldestAgeMs) / 1000.0)
                                              : QJsonValue()},
                             {QStringLiteral("bytes"), all.usedBytes},
                             {QStringLiteral("blocked"), !blocked.isEmpty()},
                             {QStringLiteral("reason"), blocked}});
    state.insert(QStringLiteral("published"), published);
    state.insert(QStringLiteral("passages"), metrics_->Passages(gate));
    const QDateTime now = QDateTime::currentDateTime();
    state.insert(QStringLiteral("updated"),
                 now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs));
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}

bool BridgeService::Progressing(qint64 withinMs, QString* stalled) const {
    const qint64 now = MonotonicMs();
    if (publisher_.joinable() && now - publisherProgressMs_ > withinMs) {
        *stalled = QStringLiteral("the publisher");
        return false;
    }
    for (const auto& w : workers_) {
        if (now - w->LastProgressMs() > withinMs) {
            *stalled = QStringLiteral("the worker of %1").arg(w->Describe());
            return false;
        }
    }
    return true;
}

void BridgeService::Tick() {
    const Spool::Figures f = spool_->Measure();
    metrics_->SetSpool(f.backlog, double(f.oldestAgeMs.value_or(0)) / 1000.0);
    if (f.backlog == 0 && lastLoggedBacklog_ > 0) {
        Log(QStringLiteral("spool: drained"));
        lastLoggedBacklog_ = 0;
    } else if (f.backlog >= 10 && f.backlog >= lastLoggedBacklog_ * 10) {
        Log(QStringLiteral("spool: %1 events waiting for the broker, the oldest %2 s old")
                .arg(f.backlog)
                .arg(f.oldestAgeMs.value_or(0) / 1000));
        lastLoggedBacklog_ = f.backlog;
    }
    if (MonotonicMs() >= nextStateRefreshMs_) {
        nextStateRefreshMs_ = MonotonicMs() + kStateRefreshMs;
        std::lock_guard lock(mutex_);
        for (const GateConfig& g : config_.gates) {
            dirtyState_.insert(g.name);
        }
    }
    wake_.notify_all();
}

void BridgeService::PublisherLoop() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait_for(lock, std::chrono::milliseconds(200));
        publisherProgressMs_ = MonotonicMs();
        if (publisherDone_) {
            return;
        }
        const QList<int> confirmed = std::exchange(confirmed_, {});
        const bool connected = connected_;
        if (reconnected_) {
            reconnected_ = false;
            retained_.insert(config_.base + QStringLiteral("/bridge/state"),
                             stopping_ ? kOffline : kOnline);
            for (auto it = retained_.cbegin(); it != retained_.cend(); ++it) {
                dirtyRetained_.insert(it.key());
            }
            for (const GateConfig& g : config_.gates) {
                dirtyState_.insert(g.name);
            }
        }
        lock.unlock();
        HandleConfirmations(confirmed);
        if (connected) {
            PublishRetained();
            PublishEvents();
        }
        lock.lock();
        if (stopping_ && dirtyRetained_.isEmpty() && retainedInFlight_.isEmpty() && connected) {
            publisherDone_ = true;
            wake_.notify_all();
            return;
        }
    }
}

void BridgeService::HandleConfirmations(const QList<int>& mids) {
    QList<qint64> done;
    for (const int mid : mids) {
        retainedInFlight_.remove(mid);
        const auto it = inFlight_.constFind(mid);
        if (it == inFlight_.cend()) {
            continue;
        }
        done.append(it->seq);
        {
            std::lock_guard lock(mutex_);
            ++published_[it->gate][it->event];
            dirtyState_.insert(it->gate);
        }
        inFlight_.erase(it);
    }
    spool_->Remove(done);
}

void BridgeService::PublishRetained() {
    QMap<QString, QByteArray> toSend;
    QStringList states;
    const qint64 now = MonotonicMs();
    {
        std::lock_guard lock(mutex_);
        for (const QString& topic : std::as_const(dirtyRetained_)) {
            toSend.insert(topic, retained_.value(topic));
        }
        dirtyRetained_.clear();
        for (const QString& gate : std::as_const(dirtyState_)) {
            if (stopping_ ||
                now - lastStatePublishMs_.value(gate, -kStateMinGapMs) >= kStateMinGapMs) {
                states.append(gate);
            }
        }
        for (const QString& gate : std::as_const(states)) {
            dirtyState_.remove(gate);
        }
    }
    // A gate's state topic is made from its state when sent, never kept in retained_.
    QMap<QString, QString> stateTopics;
    if (!states.isEmpty()) {
        const Spool::Figures spool = spool_->Measure();
        for (const QString& gate : std::as_const(states)) {
            stateTopics.insert(Topic(gate, "state"), gate);
            toSend.insert(Topic(gate, "state"), StatePayload(gate, spool));
            lastStatePublishMs_.insert(gate, now);
        }
    }
    // The bridge's own state last, so that "offline" follows the gates' on a clean stop.
    const QString bridgeTopic = config_.base + QStringLiteral("/bridge/state");
    QStringList order = toSend.keys();
    if (order.removeAll(bridgeTopic) > 0) {
        order.append(bridgeTopic);
    }
    for (const QString& topic : std::as_const(order)) {
        int mid = 0;
        if (mqtt_->Publish(topic, toSend.value(topic), true, &mid)) {
            retainedInFlight_.insert(mid);
        } else {
            // Again after the reconnect: a state is made afresh then, so its gate is marked,
            // not its topic (which has no payload in retained_ to send).
            std::lock_guard lock(mutex_);
            if (const auto gate = stateTopics.constFind(topic); gate != stateTopics.cend()) {
                dirtyState_.insert(*gate);
                lastStatePublishMs_.remove(*gate);
            } else {
                dirtyRetained_.insert(topic);
            }
        }
    }
}

void BridgeService::PublishEvents() {
    const int room = kWindow - static_cast<int>(inFlight_.size());
    if (room <= 0) {
        return;
    }
    for (const Spool::Entry& e : spool_->After(lastQueuedSeq_, room)) {
        const QJsonObject o = QJsonDocument::fromJson(e.payload).object();
        int mid = 0;
        if (!mqtt_->Publish(e.topic, e.payload, false, &mid)) {
            return;  // not connected: taken again from the spool after the reconnect
        }
        inFlight_.insert(mid, InFlight{e.seq, o.value(QStringLiteral("gate")).toString(),
                                       o.value(QStringLiteral("event")).toString()});
        lastQueuedSeq_ = e.seq;
    }
}

}  // namespace bridge
