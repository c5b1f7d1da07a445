#pragma once

#include "bridge/site_config.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace bridge {

// Home Assistant MQTT discovery: the retained config messages that make each gate a device
// with its entities (link, passages forward and reverse, records stored, clock drift, and an
// event entity for its live events). The entities read the bridge's own topics; Home Assistant
// sends nothing back but its `<prefix>/status`.
struct HaIdentity {
    QString product;  // the controller's product code, two hex digits; empty before it answered
    QString version;
    QString serial;
};

// The config topics of one gate's entities.
QStringList HaDiscoveryTopics(const SiteConfig& site, const QString& gate);

// The config messages of one gate: (topic, JSON payload), retained by the caller.
QList<std::pair<QString, QByteArray>> HaDiscoveryMessages(const SiteConfig& site,
                                                          const QString& gate,
                                                          const HaIdentity& identity,
                                                          const QString& bridgeVersion);

// The gates whose config the bridge published last time, kept in the state directory so that
// a gate removed from the site file while the bridge was down gets its config cleared.
QStringList ReadHaGates(const QString& stateDir);
bool WriteHaGates(const QString& stateDir, const QStringList& gates);

}  // namespace bridge
