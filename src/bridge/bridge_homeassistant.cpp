// The bridge service's Home Assistant discovery and the metrics that follow a gate's state.
#include "bridge/bridge_service.h"

#include "util/command_line.h"

namespace bridge {

void BridgeService::StartDiscovery() {
    QStringList current;
    if (config_.haDiscovery) {
        for (const GateConfig& g : config_.gates) {
            HaIdentity known;
            {
                std::lock_guard lock(mutex_);
                known = haIdentity_.value(g.name);
            }
            PublishDiscovery(g.name, known);
            current.append(g.name);
        }
    }
    // Gates that had a config last time and are gone now (or discovery was turned off): an
    // empty retained message removes each entity from Home Assistant.
    for (const QString& gone : ReadHaGates(config_.stateDir)) {
        if (current.contains(gone)) {
            continue;
        }
        const QStringList topics = HaDiscoveryTopics(config_, gone);
        {
            std::lock_guard lock(mutex_);
            haIdentity_.remove(gone);
            for (const QString& topic : topics) {
                discoveryTopics_.remove(topic);
            }
        }
        for (const QString& topic : topics) {
            SetRetained(topic, QByteArray());
        }
        Log(QStringLiteral("homeassistant: %1 removed").arg(gone));
    }
    if (!WriteHaGates(config_.stateDir, current)) {
        Log(QStringLiteral("homeassistant: cannot write the list of gates in %1")
                .arg(config_.stateDir));
    }
}

void BridgeService::PublishDiscovery(const QString& gate, const HaIdentity& identity) {
    const auto messages = HaDiscoveryMessages(config_, gate, identity, util::ProgramVersion());
    {
        std::lock_guard lock(mutex_);
        haIdentity_.insert(gate, identity);
        for (const auto& m : messages) {
            discoveryTopics_.insert(m.first);
        }
    }
    for (const auto& [topic, payload] : messages) {
        SetRetained(topic, payload);
    }
}

void BridgeService::ResendDiscovery() {
    {
        std::lock_guard lock(mutex_);
        for (const QString& topic : std::as_const(discoveryTopics_)) {
            dirtyRetained_.insert(topic);
        }
    }
    wake_.notify_all();
}

void BridgeService::HomeAssistantMessage(const QString& topic, const QByteArray& payload) {
    // Home Assistant says "online" when it starts: it wants every config again.
    if (config_.haDiscovery && topic == config_.haPrefix + QStringLiteral("/status") &&
        payload == "online") {
        ResendDiscovery();
    }
}

void BridgeService::FollowState(const QString& gate, const QJsonObject& state) {
    const QJsonObject records = state.value(QStringLiteral("records")).toObject();
    if (!records.isEmpty()) {
        const int fill = records.value(QStringLiteral("fill")).toInt();
        metrics_->SetRecords(gate, records.value(QStringLiteral("count")).toInteger(),
                             fill == 2 || fill == 3);
    }
    const QJsonValue drift = state.value(QStringLiteral("clock_drift_s"));
    if (drift.isDouble()) {
        metrics_->SetClockDrift(gate, drift.toDouble());
    }
    const HaIdentity identity{state.value(QStringLiteral("product")).toString(),
                              state.value(QStringLiteral("version")).toString(),
                              state.value(QStringLiteral("serial")).toString()};
    if (identity.serial.isEmpty()) {
        return;  // not identified yet
    }
    metrics_->SetInfo(gate, identity.product, identity.version, identity.serial);
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        const HaIdentity known = haIdentity_.value(gate);
        changed = known.product != identity.product || known.version != identity.version ||
                  known.serial != identity.serial;
    }
    if (config_.haDiscovery && changed) {
        PublishDiscovery(gate, identity);
    }
}

}  // namespace bridge
