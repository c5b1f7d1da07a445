#include "bridge/site_config.h"

#include "bridge/toml_table_reader.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QHostInfo>
#include <QRegularExpression>

#include <toml++/toml.h>

#include <string>

namespace bridge {

namespace {

bool IsName(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return pattern.match(text).hasMatch();
}

QString ReadableFileText(const toml::node& node, const QString& key, const QString& path,
                         bool firstLineOnly) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        Refuse(node, key, QStringLiteral("cannot read %1: %2").arg(path, f.errorString()));
    }
    const QByteArray all = f.readAll();
    if (!firstLineOnly) {
        return {};
    }
    const qsizetype end = all.indexOf('\n');
    QByteArray line = end < 0 ? all : all.left(end);
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return QString::fromUtf8(line);
}

void ReadSite(const toml::table& root, SiteConfig& c) {
    TableReader site(SubTable(root, "site", true), QStringLiteral("site"));
    c.siteName = site.String("name", true);
    if (!IsName(c.siteName)) {
        Refuse(*site.Find("name"), site.Key(QStringLiteral("name")),
               QStringLiteral("letters, digits, '-' and '_' only"));
    }
    c.stateDir = site.String("state_dir", false, DefaultStateDir());
    if (c.stateDir.isEmpty()) {
        Refuse(*site.Find("state_dir"), site.Key(QStringLiteral("state_dir")),
               QStringLiteral("empty"));
    }
    site.RefuseUnknown();
}

void ReadMqtt(const toml::table& root, SiteConfig& c) {
    TableReader mqtt(SubTable(root, "mqtt", true), QStringLiteral("mqtt"));
    c.mqttHost = mqtt.String("host", true);
    if (c.mqttHost.isEmpty()) {
        Refuse(*mqtt.Find("host"), mqtt.Key(QStringLiteral("host")), QStringLiteral("empty"));
    }
    c.caFile = mqtt.String("ca_file", false);
    c.mqttPort = static_cast<quint16>(
        mqtt.Integer("port", 1, 65535).value_or(c.caFile.isEmpty() ? 1883 : 8883));
    c.base = mqtt.String("base", false, QStringLiteral("gates/") + c.siteName);
    if (c.base.isEmpty() || c.base.contains(u'+') || c.base.contains(u'#') ||
        c.base.startsWith(u'/') || c.base.endsWith(u'/') || c.base.contains(QStringLiteral("//"))) {
        Refuse(*mqtt.Find("base"), mqtt.Key(QStringLiteral("base")),
               QStringLiteral("a topic without '+', '#', empty levels or a leading or trailing "
                              "'/'"));
    }
    c.clientId = mqtt.String(
        "client_id", false, QStringLiteral("gb-%1-%2").arg(c.siteName, QHostInfo::localHostName()));
    if (c.clientId.isEmpty() || c.clientId.toUtf8().size() > 65535) {
        Refuse(*mqtt.Find("client_id"), mqtt.Key(QStringLiteral("client_id")),
               QStringLiteral("empty or too long"));
    }
    c.username = mqtt.String("username", false);
    const QString passwordFile = mqtt.String("password_file", false);
    if (!passwordFile.isEmpty() || mqtt.Find("password_file") != nullptr) {
        if (c.username.isEmpty()) {
            Refuse(*mqtt.Find("password_file"), mqtt.Key(QStringLiteral("password_file")),
                   QStringLiteral("needs a username"));
        }
        c.password =
            ReadableFileText(*mqtt.Find("password_file"), mqtt.Key(QStringLiteral("password_file")),
                             passwordFile, true);
    }
    if (!c.caFile.isEmpty()) {
        ReadableFileText(*mqtt.Find("ca_file"), mqtt.Key(QStringLiteral("ca_file")), c.caFile,
                         false);
    }
    c.keepaliveS = static_cast<int>(mqtt.Integer("keepalive_s", 5, 3600).value_or(60));
    mqtt.RefuseUnknown();
}

void ReadSpool(const toml::table& root, SiteConfig& c) {
    TableReader spool(SubTable(root, "spool", false), QStringLiteral("spool"));
    c.spoolMaxMb = static_cast<int>(spool.Integer("max_mb", 1, 1024 * 1024).value_or(1024));
    spool.RefuseUnknown();
}

bool IsTopic(const QString& t) {
    return !t.isEmpty() && !t.contains(u'+') && !t.contains(u'#') && !t.startsWith(u'/') &&
           !t.endsWith(u'/') && !t.contains(QStringLiteral("//"));
}

void ReadMetrics(const toml::table& root, SiteConfig& c) {
    TableReader metrics(SubTable(root, "metrics", false), QStringLiteral("metrics"));
    c.metricsListen = metrics.String("listen", false);
    if (const toml::node* node = metrics.Find("listen")) {
        const qsizetype colon = c.metricsListen.lastIndexOf(u':');
        QString host = c.metricsListen.left(colon);
        if (host.startsWith(u'[') && host.endsWith(u']')) {
            host = host.mid(1, host.size() - 2);
        }
        bool ok = false;
        const int port = colon > 0 ? c.metricsListen.mid(colon + 1).toInt(&ok) : 0;
        if (!ok || port < 1 || port > 65535 || QHostAddress(host).isNull()) {
            Refuse(*node, metrics.Key(QStringLiteral("listen")),
                   QStringLiteral("expected ADDRESS:PORT with an IP address, as "
                                  "\"127.0.0.1:9464\""));
        }
    }
    // Basic authentication: both or neither.
    c.metricsUsername = metrics.String("username", false);
    const QString passwordFile = metrics.String("password_file", false);
    if (const toml::node* node = metrics.Find("password_file")) {
        if (c.metricsUsername.isEmpty()) {
            Refuse(*node, metrics.Key(QStringLiteral("password_file")),
                   QStringLiteral("needs a username"));
        }
        c.metricsPassword = ReadableFileText(*node, metrics.Key(QStringLiteral("password_file")),
                                             passwordFile, true);
    } else if (const toml::node* user = metrics.Find("username")) {
        Refuse(*user, metrics.Key(QStringLiteral("username")),
               QStringLiteral("needs a password_file"));
    }
    metrics.RefuseUnknown();
}

void ReadHomeAssistant(const toml::table& root, SiteConfig& c) {
    TableReader ha(SubTable(root, "homeassistant", false), QStringLiteral("homeassistant"));
    c.haDiscovery = ha.Boolean("discovery").value_or(false);
    c.haPrefix = ha.String("prefix", false, QStringLiteral("homeassistant"));
    if (!IsTopic(c.haPrefix)) {
        Refuse(*ha.Find("prefix"), ha.Key(QStringLiteral("prefix")),
               QStringLiteral("a topic without '+', '#', empty levels or a leading or trailing "
                              "'/'"));
    }
    ha.RefuseUnknown();
}

void ReadLink(TableReader& g, GateConfig& gate) {
    struct LinkKey {
        const char* name;
        GateConfig::LinkKind kind;
    };
    const toml::node* chosen = nullptr;
    for (const LinkKey& k : {LinkKey{"tcp", GateConfig::LinkKind::Tcp},
                             LinkKey{"serial", GateConfig::LinkKind::Serial},
                             LinkKey{"usb_serial", GateConfig::LinkKind::UsbSerial}}) {
        const toml::node* node = g.Find(k.name);
        if (node == nullptr) {
            continue;
        }
        const QString key = g.Key(QString::fromLatin1(k.name));
        if (chosen != nullptr) {
            Refuse(*node, key, QStringLiteral("a gate has exactly one of tcp, serial, usb_serial"));
        }
        chosen = node;
        gate.linkKind = k.kind;
        const QString value = g.String(k.name, true);
        if (value.isEmpty()) {
            Refuse(*node, key, QStringLiteral("empty"));
        }
        switch (k.kind) {
            case GateConfig::LinkKind::Tcp: {
                const qsizetype colon = value.lastIndexOf(u':');
                bool ok = false;
                const int port = colon > 0 ? value.mid(colon + 1).toInt(&ok) : 0;
                QString host = value.left(colon);
                if (host.startsWith(u'[') && host.endsWith(u']')) {
                    host = host.mid(1, host.size() - 2);
                }
                if (!ok || port < 1025 || port > 65534 || QHostAddress(host).isNull()) {
                    Refuse(*node, key,
                           QStringLiteral("expected IP-ADDRESS:PORT with PORT from 1025 to "
                                          "65534, not \"%1\"")
                               .arg(value));
                }
                gate.tcpHost = QHostAddress(host).toString();
                gate.tcpPort = static_cast<quint16>(port);
                break;
            }
            case GateConfig::LinkKind::Serial:
                if (!value.startsWith(u'/')) {
                    Refuse(*node, key, QStringLiteral("expected a device path"));
                }
                gate.serialPath = value;
                break;
            case GateConfig::LinkKind::UsbSerial:
                gate.usbSerial = value;
                break;
        }
    }
    if (chosen == nullptr) {
        Refuse(g.Table(), g.Key(QStringLiteral("tcp")),
               QStringLiteral("a gate needs one of tcp, serial, usb_serial"));
    }
}

// at = "HH:MM" or every = "6h", not both; kept as it was when neither is given.
void ReadSchedule(TableReader& t, Schedule& schedule) {
    const toml::node* atNode = t.Find("at");
    const toml::node* everyNode = t.Find("every");
    if (atNode != nullptr && everyNode != nullptr) {
        Refuse(*everyNode, t.Key(QStringLiteral("every")),
               QStringLiteral("give at or every, not both"));
    }
    if (atNode != nullptr) {
        schedule = Schedule{ParseTimeOfDay(t.String("at", true)), 0};
        if (!schedule.at) {
            Refuse(*atNode, t.Key(QStringLiteral("at")),
                   QStringLiteral("expected \"HH:MM\", 00:00 to 23:59"));
        }
    }
    if (everyNode != nullptr) {
        const std::optional<qint64> ms = ParseInterval(t.String("every", true));
        if (!ms) {
            Refuse(*everyNode, t.Key(QStringLiteral("every")),
                   QStringLiteral("expected a number and s, m or h, as \"6h\""));
        }
        schedule = Schedule{std::nullopt, *ms};
    }
}

// The keys of [records] and [gate.records]; those not given keep what `records` holds.
void ReadRecordsKeys(TableReader& t, RecordsConfig& records) {
    ReadSchedule(t, records.schedule);
    if (const toml::node* node = t.Find("format")) {
        records.format = t.String("format", true);
        if (records.format != u"text" && records.format != u"csv" && records.format != u"jsonl") {
            Refuse(*node, t.Key(QStringLiteral("format")),
                   QStringLiteral("expected text, csv or jsonl"));
        }
    }
    if (const toml::node* node = t.Find("dir")) {
        records.dir = t.String("dir", true);
        if (!records.dir.startsWith(u'/')) {
            Refuse(*node, t.Key(QStringLiteral("dir")),
                   QStringLiteral("expected an absolute path"));
        }
    }
    records.deleteAfter = t.Boolean("delete_after").value_or(records.deleteAfter);
    if (const auto days = t.Integer("keep_days", 1, 36500)) {
        records.keepDays = static_cast<int>(*days);
    }
    t.RefuseUnknown();
    if (!records.schedule.Enabled()) {
        Refuse(t.Table(), t.Key(QStringLiteral("at")), QStringLiteral("needs at or every"));
    }
}

void ReadCollection(const toml::table& root, SiteConfig& c) {
    if (root.get("records") != nullptr) {
        TableReader t(SubTable(root, "records", true), QStringLiteral("records"));
        RecordsConfig records;
        records.dir = c.stateDir + QStringLiteral("/records");
        ReadRecordsKeys(t, records);
        c.records = records;
    }
    if (root.get("clock") != nullptr) {
        TableReader t(SubTable(root, "clock", true), QStringLiteral("clock"));
        ClockConfig clock;
        ReadSchedule(t, clock.schedule);
        clock.maxDriftS = static_cast<int>(t.Integer("max_drift_s", 1, 86400).value_or(2));
        clock.requireHostSync = t.Boolean("require_host_sync").value_or(true);
        t.RefuseUnknown();
        if (!clock.schedule.Enabled()) {
            Refuse(t.Table(), QStringLiteral("clock.at"), QStringLiteral("needs at or every"));
        }
        c.clock = clock;
    }
}

GateConfig ReadGate(const toml::table& table, int number, QHash<QString, int>& names,
                    const SiteConfig& site) {
    TableReader g(table, QStringLiteral("gate[%1]").arg(number));
    GateConfig gate;
    gate.name = g.String("name", true);
    const toml::node& nameNode = *g.Find("name");
    if (!IsName(gate.name)) {
        Refuse(nameNode, g.Key(QStringLiteral("name")),
               QStringLiteral("letters, digits, '-' and '_' only"));
    }
    if (gate.name == u"bridge") {
        Refuse(nameNode, g.Key(QStringLiteral("name")), QStringLiteral("\"bridge\" is reserved"));
    }
    if (names.contains(gate.name)) {
        Refuse(nameNode, g.Key(QStringLiteral("name")),
               QStringLiteral("\"%1\" is already the name of gate[%2]")
                   .arg(gate.name)
                   .arg(names.value(gate.name)));
    }
    names.insert(gate.name, number);
    ReadLink(g, gate);
    if (const toml::node* node = g.Find("address")) {
        const QString text = g.String("address", true);
        bool ok = false;
        const uint v = text.toUInt(&ok, 16);
        if (!ok || text.size() != 2 || v > 0xFF) {
            Refuse(*node, g.Key(QStringLiteral("address")),
                   QStringLiteral("expected two hexadecimal digits, not \"%1\"").arg(text));
        }
        gate.address = static_cast<gate::Byte>(v);
    }
    gate.pollMs = static_cast<int>(g.Integer("poll_ms", 10, 60000).value_or(50));
    if (const toml::node* node = g.Find("led_buzzer")) {
        const toml::array* array = node->as_array();
        const QString key = g.Key(QStringLiteral("led_buzzer"));
        if (array == nullptr || array->size() != 6) {
            Refuse(*node, key, QStringLiteral("expected six integers"));
        }
        std::array<gate::Byte, 6> values{};
        for (std::size_t i = 0; i < 6; ++i) {
            const auto v = (*array)[i].value<std::int64_t>();
            const std::int64_t max = i == 5 ? 127 : 255;
            if (!(*array)[i].is_integer() || !v || *v < 0 || *v > max) {
                Refuse((*array)[i], key,
                       QStringLiteral("item %1: expected 0 to %2").arg(i + 1).arg(max));
            }
            values[i] = static_cast<gate::Byte>(*v);
        }
        gate.ledBuzzer = values;
    }
    gate.records = site.records;
    gate.clock = site.clock;
    if (g.Find("records") != nullptr) {
        const toml::node* node = table.get("records");
        if (!node->is_table()) {
            Refuse(*node, g.Key(QStringLiteral("records")), QStringLiteral("expected a table"));
        }
        TableReader r(*node->as_table(), g.Key(QStringLiteral("records")));
        RecordsConfig records = site.records.value_or(RecordsConfig{});
        if (!site.records) {
            records.dir = site.stateDir + QStringLiteral("/records");
        }
        ReadRecordsKeys(r, records);
        gate.records = records;
    }
    g.RefuseUnknown();
    return gate;
}

void ReadGates(const toml::table& root, SiteConfig& c) {
    const toml::node* node = root.get("gate");
    if (node == nullptr) {
        throw Refusal{1, QStringLiteral("gate"), QStringLiteral("no [[gate]] table")};
    }
    const toml::array* gates = node->as_array();
    if (gates == nullptr || !gates->is_array_of_tables()) {
        Refuse(*node, QStringLiteral("gate"), QStringLiteral("expected [[gate]] tables"));
    }
    QHash<QString, int> names;
    QList<const toml::node*> nodes;
    int number = 0;
    for (const toml::node& item : *gates) {
        c.gates.append(ReadGate(*item.as_table(), ++number, names, c));
        nodes.append(&item);
    }
    // A shared line: every gate on it names its own controller.
    QHash<QString, int> perLink;
    for (const GateConfig& g : c.gates) {
        ++perLink[g.LinkKey()];
    }
    for (qsizetype i = 0; i < c.gates.size(); ++i) {
        const GateConfig& g = c.gates.at(i);
        if (perLink.value(g.LinkKey()) > 1 && g.address == 0xFF) {
            const toml::node* at = nodes.at(i)->as_table()->get("address");
            Refuse(at != nullptr ? *at : *nodes.at(i),
                   QStringLiteral("gate[%1].address").arg(i + 1),
                   QStringLiteral("%1 is shared with another gate: each needs its own address, "
                                  "not FF")
                       .arg(g.DescribeLink()));
        }
    }
    for (qsizetype i = 0; i < c.gates.size(); ++i) {
        for (qsizetype j = 0; j < i; ++j) {
            if (c.gates.at(i).LinkKey() == c.gates.at(j).LinkKey() &&
                c.gates.at(i).address == c.gates.at(j).address) {
                Refuse(*nodes.at(i)->as_table()->get("address"),
                       QStringLiteral("gate[%1].address").arg(i + 1),
                       QStringLiteral("gate[%1] has the same address on the same line").arg(j + 1));
            }
        }
    }
}

}  // namespace

QString GateConfig::LinkKey() const {
    switch (linkKind) {
        case LinkKind::Tcp:
            return QStringLiteral("tcp:%1:%2").arg(tcpHost).arg(tcpPort);
        case LinkKind::Serial:
            return QStringLiteral("serial:") + serialPath;
        case LinkKind::UsbSerial:
            return QStringLiteral("usb:") + usbSerial;
    }
    return {};
}

QString GateConfig::DescribeLink() const {
    switch (linkKind) {
        case LinkKind::Tcp:
            return QStringLiteral("tcp %1:%2").arg(tcpHost).arg(tcpPort);
        case LinkKind::Serial:
            return QStringLiteral("serial ") + serialPath;
        case LinkKind::UsbSerial:
            return QStringLiteral("usb_serial ") + usbSerial;
    }
    return {};
}

QString SiteError::Text() const {
    return line > 0 ? QStringLiteral("%1:%2: %3: %4").arg(file).arg(line).arg(key, message)
                    : QStringLiteral("%1: %2").arg(file, message);
}

QString DefaultStateDir() {
    const QString fromSystemd = qEnvironmentVariable("STATE_DIRECTORY");
    if (!fromSystemd.isEmpty()) {
        // systemd gives a colon-separated list when several are configured: the first is ours.
        return fromSystemd.section(u':', 0, 0);
    }
    return QDir::homePath() + QStringLiteral("/.local/state/gate-bridge");
}

std::variant<SiteConfig, SiteError> ReadSiteFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return SiteError{path, 0, {}, QStringLiteral("cannot read: ") + f.errorString()};
    }
    const QByteArray text = f.readAll();
    SiteConfig c;
    c.file = path;
    try {
        const toml::table root =
            toml::parse(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                        path.toStdString());
        for (auto&& [key, node] : root) {
            const QString name = Str(key.str());
            if (name != u"site" && name != u"mqtt" && name != u"spool" && name != u"gate" &&
                name != u"records" && name != u"clock" && name != u"metrics" &&
                name != u"homeassistant") {
                return SiteError{path, static_cast<int>(key.source().begin.line), name,
                                 QStringLiteral("unknown key")};
            }
        }
        ReadSite(root, c);
        ReadMqtt(root, c);
        ReadSpool(root, c);
        ReadCollection(root, c);
        ReadMetrics(root, c);
        ReadHomeAssistant(root, c);
        ReadGates(root, c);
    } catch (const toml::parse_error& e) {
        return SiteError{path, static_cast<int>(e.source().begin.line), QStringLiteral("syntax"),
                         Str(e.description())};
    } catch (const Refusal& r) {
        return SiteError{path, r.line, r.key, r.message};
    }
    return c;
}

}  // namespace bridge
