#include "bridge/ha_discovery.h"

#include "bridge/event_names.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace bridge {

namespace {

const QString kGatesFile = QStringLiteral("homeassistant-gates");

struct Entity {
    const char* component;
    const char* key;  // the entity's part of its topic and unique id
};

const Entity kEntities[] = {{"binary_sensor", "link"},      {"sensor", "passages_forward"},
                            {"sensor", "passages_reverse"}, {"sensor", "records_stored"},
                            {"sensor", "clock_drift"},      {"event", "event"}};

QString NodeId(const SiteConfig& site, const QString& gate) {
    return site.siteName + u'_' + gate;
}

QString ConfigTopic(const SiteConfig& site, const QString& gate, const Entity& e) {
    return QStringLiteral("%1/%2/%3/%4/config")
        .arg(site.haPrefix, QLatin1String(e.component), NodeId(site, gate), QLatin1String(e.key));
}

QJsonObject Availability(const QString& topic) {
    return QJsonObject{{QStringLiteral("topic"), topic},
                       {QStringLiteral("payload_available"), QStringLiteral("online")},
                       {QStringLiteral("payload_not_available"), QStringLiteral("offline")}};
}

}  // namespace

QStringList HaDiscoveryTopics(const SiteConfig& site, const QString& gate) {
    QStringList topics;
    for (const Entity& e : kEntities) {
        topics.append(ConfigTopic(site, gate, e));
    }
    return topics;
}

QList<std::pair<QString, QByteArray>> HaDiscoveryMessages(const SiteConfig& site,
                                                          const QString& gate,
                                                          const HaIdentity& identity,
                                                          const QString& bridgeVersion) {
    const QString gateTopic = site.base + u'/' + gate;
    const QString bridgeState = site.base + QStringLiteral("/bridge/state");
    // Identified by site and gate name, so a swapped controller stays the same device.
    QJsonObject device{
        {QStringLiteral("identifiers"),
         QJsonArray{QString(QStringLiteral("gate-bridge_") + NodeId(site, gate))}},
        {QStringLiteral("name"), gate},
    };
    if (!identity.product.isEmpty()) {
        device.insert(QStringLiteral("model"),
                      QString(QStringLiteral("product ") + identity.product));
    }
    if (!identity.version.isEmpty()) {
        device.insert(QStringLiteral("sw_version"), identity.version);
    }
    if (!identity.serial.isEmpty()) {
        device.insert(QStringLiteral("serial_number"), identity.serial);
    }
    const QJsonObject origin{{QStringLiteral("name"), QStringLiteral("gate-bridge")},
                             {QStringLiteral("sw_version"), bridgeVersion}};
    // Available only while both the bridge and the gate are: the bridge's last will turns
    // bridge/state offline, and the gates' retained availability would still read online.
    const QJsonArray both{Availability(bridgeState),
                          Availability(QString(gateTopic + QStringLiteral("/availability")))};

    QList<std::pair<QString, QByteArray>> out;
    for (const Entity& e : kEntities) {
        const QString key = QLatin1String(e.key);
        QJsonObject c{{QStringLiteral("unique_id"), QString(NodeId(site, gate) + u'_' + key)},
                      {QStringLiteral("object_id"), QString(NodeId(site, gate) + u'_' + key)},
                      {QStringLiteral("device"), device},
                      {QStringLiteral("origin"), origin},
                      {QStringLiteral("availability"), both},
                      {QStringLiteral("availability_mode"), QStringLiteral("all")},
                      {QStringLiteral("qos"), 1}};
        if (key == u"link") {
            // The link is what the gate's availability says; it stays readable while the gate
            // is offline, so only the bridge's own state makes it unavailable.
            c.insert(QStringLiteral("name"), QStringLiteral("Link"));
            c.insert(QStringLiteral("device_class"), QStringLiteral("connectivity"));
            c.insert(QStringLiteral("state_topic"),
                     QString(gateTopic + QStringLiteral("/availability")));
            c.insert(QStringLiteral("payload_on"), QStringLiteral("online"));
            c.insert(QStringLiteral("payload_off"), QStringLiteral("offline"));
            c.insert(QStringLiteral("availability"), QJsonArray{Availability(bridgeState)});
            c.remove(QStringLiteral("availability_mode"));
        } else if (key.startsWith(QStringLiteral("passages_"))) {
            const QString direction = key.mid(9);
            c.insert(QStringLiteral("name"), direction == u"forward"
                                                 ? QStringLiteral("Passages forward")
                                                 : QStringLiteral("Passages reverse"));
            c.insert(QStringLiteral("state_topic"), QString(gateTopic + QStringLiteral("/state")));
            c.insert(QStringLiteral("value_template"),
                     QStringLiteral("{{ value_json.passages.%1 | default(0) }}").arg(direction));
            c.insert(QStringLiteral("state_class"), QStringLiteral("total_increasing"));
            c.insert(QStringLiteral("unit_of_measurement"), QStringLiteral("passages"));
            c.insert(QStringLiteral("icon"), direction == u"forward"
                                                 ? QStringLiteral("mdi:arrow-right-bold")
                                                 : QStringLiteral("mdi:arrow-left-bold"));
        } else if (key == u"records_stored") {
            c.insert(QStringLiteral("name"), QStringLiteral("Records stored"));
            c.insert(QStringLiteral("state_topic"), QString(gateTopic + QStringLiteral("/state")));
            c.insert(QStringLiteral("value_template"),
                     QStringLiteral("{{ value_json.records.count }}"));
            c.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
            c.insert(QStringLiteral("unit_of_measurement"), QStringLiteral("records"));
            c.insert(QStringLiteral("entity_category"), QStringLiteral("diagnostic"));
            c.insert(QStringLiteral("icon"), QStringLiteral("mdi:database"));
        } else if (key == u"clock_drift") {
            c.insert(QStringLiteral("name"), QStringLiteral("Clock drift"));
            c.insert(QStringLiteral("state_topic"), QString(gateTopic + QStringLiteral("/state")));
            c.insert(QStringLiteral("value_template"),
                     QStringLiteral("{{ value_json.clock_drift_s }}"));
            c.insert(QStringLiteral("device_class"), QStringLiteral("duration"));
            c.insert(QStringLiteral("unit_of_measurement"), QStringLiteral("s"));
            c.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
            c.insert(QStringLiteral("entity_category"), QStringLiteral("diagnostic"));
        } else {
            // Home Assistant takes an event_type among event_types; the bridge's `event` is it.
            c.insert(QStringLiteral("name"), QStringLiteral("Event"));
            c.insert(QStringLiteral("state_topic"), QString(gateTopic + QStringLiteral("/event")));
            c.insert(QStringLiteral("event_types"), QJsonArray::fromStringList(BridgeEventNames()));
            c.insert(QStringLiteral("value_template"),
                     QStringLiteral("{\"event_type\": \"{{ value_json.event }}\", \"id\": "
                                    "\"{{ value_json.id }}\"}"));
        }
        out.append({ConfigTopic(site, gate, e), QJsonDocument(c).toJson(QJsonDocument::Compact)});
    }
    return out;
}

QStringList ReadHaGates(const QString& stateDir) {
    QFile f(QDir(stateDir).filePath(kGatesFile));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList gates;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (!line.trimmed().isEmpty()) {
            gates.append(QString::fromUtf8(line.trimmed()));
        }
    }
    return gates;
}

bool WriteHaGates(const QString& stateDir, const QStringList& gates) {
    const QString path = QDir(stateDir).filePath(kGatesFile);
    if (gates.isEmpty()) {
        return !QFile::exists(path) || QFile::remove(path);
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        return false;
    }
    f.write(gates.join(u'\n').toUtf8() + '\n');
    return f.commit();
}

}  // namespace bridge
