// gate-bridge's metrics and Home Assistant discovery end to end: the bridge against two gate
// simulators and a real broker, scraped by a real Prometheus (its answers to gate_up,
// gate_passages_total and every query of the shipped dashboard and alert rules), the endpoint's
// text linted by promtool, and the discovery configs read back from the broker, checked against
// the keys Home Assistant documents per entity kind, re-sent on homeassistant/status "online"
// and cleared for a gate removed from the site file.
#include "bridge_fixture.h"
#include "prometheus_fixture.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

namespace {

const QString kPrefix = QStringLiteral("homeassistant");

// Starts both simulators and queues their traffic. Channel mode: two tagged passages
// (forward), a statistics message (3 forward, 1 reverse, 2 undetermined, 5 tags). EAS mode: a
// reverse passage and an alarm.
bool StartWithTraffic(SimGate& entrance, SimGate& shop, QString* error) {
    for (SimGate* g : {&entrance, &shop}) {
        if (!g->Start(error)) {
            return false;
        }
        g->options.tcpPort = g->sim->Endpoints().tcpPort;
    }
    entrance.Push(0, Hex("0123456789ABCDEF 31 180506090807 0A0B0C0D"));
    entrance.Push(0, Hex("0123456789ABCDE0 31 180506090808 0A0B0C0D"));
    entrance.Push(1, Hex("0300 0100 0200 0500 180506090809"));
    shop.Push(0x00, Hex("02 180506090807"));
    shop.Push(0x00, Hex("04 180506090808"));
    return true;
}

QString Extra(int metricsPort, bool discovery) {
    QString text;
    if (metricsPort != 0) {
        text += QStringLiteral("\n[metrics]\nlisten = \"127.0.0.1:%1\"\n").arg(metricsPort);
    }
    if (discovery) {
        text += QStringLiteral("\n[homeassistant]\ndiscovery = true\n");
    }
    return text;
}

// Runs a program on stdin text; its exit code and everything it printed.
int Run(const QString& program, const QStringList& args, const QByteArray& input, QString* output) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(5000)) {
        return -1;
    }
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(2000);
        return -1;
    }
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode();
}

// The keys Home Assistant's MQTT discovery documents for each entity kind used here (common
// entity keys plus the kind's own). A key outside its kind's set is a typo Home Assistant
// would reject.
const QSet<QString>& CommonKeys() {
    static const QSet<QString> keys{QStringLiteral("availability"),
                                    QStringLiteral("availability_mode"),
                                    QStringLiteral("device"),
                                    QStringLiteral("origin"),
                                    QStringLiteral("name"),
                                    QStringLiteral("unique_id"),
                                    QStringLiteral("object_id"),
                                    QStringLiteral("qos"),
                                    QStringLiteral("icon"),
                                    QStringLiteral("entity_category"),
                                    QStringLiteral("state_topic"),
                                    QStringLiteral("value_template"),
                                    QStringLiteral("device_class"),
                                    QStringLiteral("json_attributes_topic"),
                                    QStringLiteral("enabled_by_default")};
    return keys;
}
QSet<QString> KindKeys(const QString& kind) {
    if (kind == u"binary_sensor") {
        return {QStringLiteral("payload_on"), QStringLiteral("payload_off"),
                QStringLiteral("expire_after"), QStringLiteral("off_delay")};
    }
    if (kind == u"sensor") {
        return {QStringLiteral("state_class"), QStringLiteral("unit_of_measurement"),
                QStringLiteral("expire_after"), QStringLiteral("suggested_display_precision")};
    }
    if (kind == u"event") {
        return {QStringLiteral("event_types")};
    }
    return {};
}
const QSet<QString>& DeviceKeys() {
    static const QSet<QString> keys{QStringLiteral("identifiers"),   QStringLiteral("name"),
                                    QStringLiteral("model"),         QStringLiteral("sw_version"),
                                    QStringLiteral("serial_number"), QStringLiteral("manufacturer"),
                                    QStringLiteral("hw_version"),    QStringLiteral("via_device")};
    return keys;
}

// The gate's discovery configs in the subscriber's messages: topic -> the last payload.
QMap<QString, QByteArray> Configs(Subscriber& sub, const QString& gate) {
    QMap<QString, QByteArray> out;
    for (const Subscriber::Message& m : sub.Messages()) {
        if (m.topic.startsWith(kPrefix + u'/') &&
            m.topic.contains(QStringLiteral("/test_") + gate + u'/') &&
            m.topic.endsWith(QStringLiteral("/config"))) {
            out.insert(m.topic, m.payload);
        }
    }
    return out;
}

// Every config of the gate was last published empty: mosquitto_sub prints an empty retained
// message as "(null)".
bool Cleared(Subscriber& sub, const QString& gate) {
    const QMap<QString, QByteArray> configs = Configs(sub, gate);
    int empty = 0;
    for (const QByteArray& payload : configs) {
        empty += payload.isEmpty() || payload == QByteArrayLiteral("(null)") ? 1 : 0;
    }
    return configs.size() == 6 && empty == 6;
}

}  // namespace

class TestGateBridgeMetrics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        for (const char* tool : {"prometheus", "promtool", "mosquitto", "mosquitto_pub"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/setup installs it)")
                                     .arg(QString::fromLatin1(tool))));
            }
        }
    }

    void scrapedByPrometheus() {
        QTemporaryDir dir;
        Broker broker;
        QVERIFY(broker.Start(dir.path(), {}, false));
        Subscriber sub;
        QVERIFY(sub.Start(broker.Port(), kBase + QStringLiteral("/#")));
        auto entrance = MakeGate(QStringLiteral("entrance"), false);
        auto shop = MakeGate(QStringLiteral("shop"), true);
        QString error;
        QVERIFY2(StartWithTraffic(*entrance, *shop, &error), qPrintable(error));
        const int metricsPort = FreeLoopbackPort();
        Bridge bridge;
        QVERIFY(bridge.Start(SiteFile(
            dir, broker.Port(), {{entrance->name, entrance->Port()}, {shop->name, shop->Port()}},
            Extra(metricsPort, false))));
        QTRY_VERIFY2_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size() == 5,
                                  qPrintable(bridge.Log()), 15000);

        // The endpoint's text, as a scrape reads it, passes promtool's lint without a word.
        const QUrl endpoint(QStringLiteral("http://127.0.0.1:%1/metrics").arg(metricsPort));
        const QByteArray text = HttpGet(endpoint);
        QVERIFY2(text.contains("gate_up{gate=\"entrance\"} 1"), text.constData());
        QVERIFY(text.contains("gate_info{gate=\"shop\",product="));
        QString lint;
        QCOMPARE(Run(QStringLiteral("promtool"),
                     {QStringLiteral("check"), QStringLiteral("metrics")}, text, &lint),
                 0);
        QVERIFY2(lint.trimmed().isEmpty(), qPrintable(lint));

        Prometheus prometheus;
        QVERIFY(prometheus.Start(dir.path(), metricsPort));
        // Each gate answers: gate_up reads 1 for both once the first scrape is in.
        QTRY_VERIFY_WITH_TIMEOUT(prometheus.Query(QStringLiteral("gate_up == 1")).size() == 2,
                                 15000);
        const auto value = [&](const QString& expr) {
            const QJsonArray r = prometheus.Query(expr);
            return r.size() == 1 ? r.at(0)
                                       .toObject()
                                       .value(QStringLiteral("value"))
                                       .toArray()
                                       .at(1)
                                       .toString()
                                       .toDouble()
                                 : -1.0;
        };
        QCOMPARE(
            value(QStringLiteral("gate_passages_total{gate=\"entrance\",direction=\"forward\"}")),
            2.0);
        QCOMPARE(value(QStringLiteral("gate_passages_total{gate=\"shop\",direction=\"reverse\"}")),
                 1.0);
        QCOMPARE(value(QStringLiteral(
                     "gate_counted_persons_total{gate=\"entrance\",direction=\"undetermined\"}")),
                 2.0);
        QCOMPARE(value(QStringLiteral("gate_counted_tags_total{gate=\"entrance\"}")), 5.0);
        QCOMPARE(value(QStringLiteral("gate_events_total{gate=\"shop\",event=\"eas_alarm\"}")),
                 1.0);
        QCOMPARE(value(QStringLiteral("gate_bridge_mqtt_connected")), 1.0);
        QVERIFY(value(QStringLiteral("gate_request_duration_seconds_count{gate=\"entrance\"}")) >
                5);
        // increase() and rate() need two samples and more: a few scrapes in.
        QTRY_VERIFY_WITH_TIMEOUT(
            value(QStringLiteral("count_over_time(gate_up{gate=\"shop\"}[1m])")) >= 3, 10000);

        // Every query of the shipped dashboard, with Grafana's variables filled in, and every
        // alert rule's expression runs on this Prometheus.
        QFile dashboard(QStringLiteral(DOCS_DIR "/grafana/gate-bridge-dashboard.json"));
        QVERIFY(dashboard.open(QIODevice::ReadOnly));
        QStringList queries;
        for (const QJsonValue& panel : QJsonDocument::fromJson(dashboard.readAll())
                                           .object()
                                           .value(QStringLiteral("panels"))
                                           .toArray()) {
            for (const QJsonValue& target :
                 panel.toObject().value(QStringLiteral("targets")).toArray()) {
                queries.append(target.toObject().value(QStringLiteral("expr")).toString());
            }
        }
        QVERIFY(queries.size() >= 10);
        QFile rules(QStringLiteral(DOCS_DIR "/prometheus/gate-bridge-rules.yml"));
        QVERIFY(rules.open(QIODevice::ReadOnly));
        static const QRegularExpression ruleExpr(QStringLiteral("^\\s+expr: (.+)$"),
                                                 QRegularExpression::MultilineOption);
        for (auto it = ruleExpr.globalMatch(QString::fromUtf8(rules.readAll())); it.hasNext();) {
            queries.append(it.next().captured(1));
        }
        bool passagesPerHour = false;
        for (QString q : std::as_const(queries)) {
            q.replace(QStringLiteral("$gate"), QStringLiteral(".+"))
                .replace(QStringLiteral("$__rate_interval"), QStringLiteral("1m"));
            QString refused;
            const QJsonArray result = prometheus.Query(q, &refused);
            QVERIFY2(refused.isEmpty(), qPrintable(q + QStringLiteral(": ") + refused));
            if (q.contains(QStringLiteral("increase(gate_passages_total"))) {
                passagesPerHour = !result.isEmpty();
            }
        }
        QVERIFY(passagesPerHour);
        QString check;
        QCOMPARE(Run(QStringLiteral("promtool"),
                     {QStringLiteral("check"), QStringLiteral("rules"),
                      QStringLiteral(DOCS_DIR "/prometheus/gate-bridge-rules.yml")},
                     {}, &check),
                 0);
        QVERIFY2(check.contains(QStringLiteral("SUCCESS")), qPrintable(check));
        QCOMPARE(bridge.Terminate(), 0);
    }

    void homeAssistantDiscovery() {
        QTemporaryDir dir;
        Broker broker;
        QVERIFY(broker.Start(dir.path(), {}, false));
        Subscriber sub;
        QVERIFY(sub.Start(broker.Port(), QStringLiteral("#")));
        auto entrance = MakeGate(QStringLiteral("entrance"), false);
        auto shop = MakeGate(QStringLiteral("shop"), true);
        QString error;
        QVERIFY2(StartWithTraffic(*entrance, *shop, &error), qPrintable(error));
        const QList<std::pair<QString, int>> both{{entrance->name, entrance->Port()},
                                                  {shop->name, shop->Port()}};
        auto bridge = std::make_unique<Bridge>();
        QVERIFY(bridge->Start(SiteFile(dir, broker.Port(), both, Extra(0, true))));
        QTRY_VERIFY_WITH_TIMEOUT(sub.On(QStringLiteral("/event")).size() == 5, 15000);
        // Once identified, the device carries the controller's firmware version and serial.
        QTRY_VERIFY_WITH_TIMEOUT(Configs(sub, shop->name).size() == 6 &&
                                     Configs(sub, shop->name).first().contains("serial_number"),
                                 10000);
        QTRY_VERIFY_WITH_TIMEOUT(Configs(sub, entrance->name).size() == 6 &&
                                     Configs(sub, entrance->name).first().contains("serial_number"),
                                 10000);

        // The passages sensors' template path holds the passages in the gate's state topic.
        const auto forwardInState = [&] {
            const QByteArrayList states = sub.Payloads(entrance->name + QStringLiteral("/state"));
            return states.isEmpty() ? -1
                                    : QJsonDocument::fromJson(states.last())
                                          .object()
                                          .value(QStringLiteral("passages"))
                                          .toObject()
                                          .value(QStringLiteral("forward"))
                                          .toInt(-1);
        };
        QTRY_COMPARE_WITH_TIMEOUT(forwardInState(), 2, 5000);
        QSet<QString> published;
        for (const Subscriber::Message& m : sub.On(QStringLiteral("/event"))) {
            published.insert(m.Json().value(QStringLiteral("event")).toString());
        }
        QSet<QString> kinds;
        const QMap<QString, QByteArray> configs = Configs(sub, entrance->name);
        for (auto it = configs.cbegin(); it != configs.cend(); ++it) {
            const QStringList levels = it.key().split(u'/');
            QCOMPARE(levels.size(), 5);  // <prefix>/<component>/<node_id>/<object_id>/config
            const QString kind = levels.at(1);
            kinds.insert(kind);
            const QJsonObject c = QJsonDocument::fromJson(it.value()).object();
            QVERIFY2(!c.isEmpty(), it.value().constData());
            const QSet<QString> allowed = CommonKeys() + KindKeys(kind);
            for (const QString& key : c.keys()) {
                QVERIFY2(allowed.contains(key), qPrintable(it.key() + u' ' + key));
            }
            for (const QString& key : c.value(QStringLiteral("device")).toObject().keys()) {
                QVERIFY2(DeviceKeys().contains(key), qPrintable(key));
            }
            QCOMPARE(
                c.value(QStringLiteral("device")).toObject().value(QStringLiteral("identifiers")),
                QJsonValue(QJsonArray{QStringLiteral("gate-bridge_test_entrance")}));
            QVERIFY(!c.value(QStringLiteral("unique_id")).toString().isEmpty());
            const QString state = c.value(QStringLiteral("state_topic")).toString();
            QVERIFY2(state.startsWith(kBase + QStringLiteral("/entrance/")), qPrintable(state));
            QStringList availability;
            for (const QJsonValue& a : c.value(QStringLiteral("availability")).toArray()) {
                availability.append(a.toObject().value(QStringLiteral("topic")).toString());
            }
            QVERIFY(availability.contains(kBase + QStringLiteral("/bridge/state")));
            if (kind == u"binary_sensor") {
                QCOMPARE(c.value(QStringLiteral("device_class")).toString(),
                         QStringLiteral("connectivity"));
                QCOMPARE(state, kBase + QStringLiteral("/entrance/availability"));
                QCOMPARE(c.value(QStringLiteral("payload_on")).toString(),
                         QStringLiteral("online"));
            } else {
                QCOMPARE(c.value(QStringLiteral("availability_mode")).toString(),
                         QStringLiteral("all"));
                QVERIFY(availability.contains(kBase + QStringLiteral("/entrance/availability")));
            }
            if (kind == u"event") {
                QStringList types;
                for (const QJsonValue& t : c.value(QStringLiteral("event_types")).toArray()) {
                    types.append(t.toString());
                }
                for (const QString& e : std::as_const(published)) {
                    QVERIFY2(types.contains(e), qPrintable(e));
                }
                QVERIFY(
                    c.value(QStringLiteral("value_template"))
                        .toString()
                        .contains(QStringLiteral("\"event_type\": \"{{ value_json.event }}\"")));
            }
            if (it.key().contains(QStringLiteral("passages_forward"))) {
                QCOMPARE(c.value(QStringLiteral("state_class")).toString(),
                         QStringLiteral("total_increasing"));
                QCOMPARE(c.value(QStringLiteral("value_template")).toString(),
                         QStringLiteral("{{ value_json.passages.forward | default(0) }}"));
            }
        }
        QCOMPARE(kinds, (QSet<QString>{QStringLiteral("binary_sensor"), QStringLiteral("sensor"),
                                       QStringLiteral("event")}));

        // Home Assistant's birth message asks for every config again.
        const qsizetype before = sub.Messages().size();
        QProcess pub;
        pub.start(
            QStringLiteral("mosquitto_pub"),
            {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
             QString::number(broker.Port()), QStringLiteral("-t"),
             kPrefix + QStringLiteral("/status"), QStringLiteral("-m"), QStringLiteral("online")});
        QVERIFY(pub.waitForFinished(5000));
        const auto resent = [&] {
            int n = 0;
            const QList<Subscriber::Message>& all = sub.Messages();
            for (qsizetype i = before; i < all.size(); ++i) {
                n += all.at(i).topic.endsWith(QStringLiteral("/config")) ? 1 : 0;
            }
            return n;
        };
        QTRY_COMPARE_WITH_TIMEOUT(resent(), 12, 5000);

        // The shop removed from the site file: its configs are cleared (empty, retained), the
        // entrance's stay.
        QCOMPARE(bridge->Terminate(), 0);
        bridge = std::make_unique<Bridge>();
        QVERIFY(bridge->Start(SiteFile(dir, broker.Port(), {both.first()}, Extra(0, true))));
        QTRY_VERIFY2_WITH_TIMEOUT(Cleared(sub, shop->name), qPrintable(bridge->Log()), 10000);
        // A new subscriber sees the retained configs: the entrance's, none of the shop's.
        Subscriber late;
        QVERIFY(late.Start(broker.Port(), kPrefix + QStringLiteral("/#")));
        QTRY_COMPARE_WITH_TIMEOUT(Configs(late, entrance->name).size(), 6, 5000);
        QTest::qWait(300);
        QCOMPARE(Configs(late, shop->name).size(), 0);
        QCOMPARE(bridge->Terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGateBridgeMetrics)
#include "test_gate_bridge_metrics.moc"
