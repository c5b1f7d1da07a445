#include "bridge/metrics.h"

#include "bridge/event_names.h"

#include "gate/gate_library.h"

#include <QHostAddress>

#include <prometheus/counter.h>
#include <prometheus/exposer.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/histogram.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <exception>
#include <functional>
#include <vector>

namespace bridge {

using prometheus::Counter;
using prometheus::Family;
using prometheus::Gauge;
using prometheus::Histogram;

namespace {

std::string S(const QString& text) {
    return text.toStdString();
}

const char* const kDirections[] = {"forward", "reverse", "undetermined"};

// Round trips on a serial line take milliseconds, over a module tens of them; a silent
// controller takes the library's time-out.
const Histogram::BucketBoundaries& RequestBuckets() {
    static const Histogram::BucketBoundaries buckets{0.002, 0.005, 0.01, 0.025, 0.05,
                                                     0.1,   0.25,  0.5,  1.0,   2.5};
    return buckets;
}

}  // namespace

struct Metrics::Families {
    explicit Families(prometheus::Registry& r)
        : up(prometheus::BuildGauge()
                 .Name("gate_up")
                 .Help("1 while the gate answers, else 0")
                 .Register(r)),
          info(prometheus::BuildGauge()
                   .Name("gate_info")
                   .Help("The controller's product code, firmware version and serial number; "
                         "always 1")
                   .Register(r)),
          events(prometheus::BuildCounter()
                     .Name("gate_events_total")
                     .Help("Live events taken from the gate, by event name")
                     .Register(r)),
          passages(prometheus::BuildCounter()
                       .Name("gate_passages_total")
                       .Help("Passages reported by live events, by direction")
                       .Register(r)),
          persons(prometheus::BuildCounter()
                      .Name("gate_counted_persons_total")
                      .Help("Persons counted by the gate's statistics messages, by direction")
                      .Register(r)),
          tags(prometheus::BuildCounter()
                   .Name("gate_counted_tags_total")
                   .Help("Tags counted by the gate's statistics messages")
                   .Register(r)),
          records(prometheus::BuildGauge()
                      .Name("gate_records_stored")
                      .Help("Records in the controller's record memory")
                      .Register(r)),
          memoryFull(prometheus::BuildGauge()
                         .Name("gate_record_memory_full")
                         .Help("1 when the controller's record memory is full, else 0")
                         .Register(r)),
          drift(prometheus::BuildGauge()
                    .Name("gate_clock_drift_seconds")
                    .Help("The controller's clock minus the bridge's")
                    .Register(r)),
          duration(prometheus::BuildHistogram()
                       .Name("gate_request_duration_seconds")
                       .Help("Round trips of calls to the controller")
                       .Register(r)),
          reconnects(prometheus::BuildCounter()
                         .Name("gate_link_reconnects_total")
                         .Help("Times the gate's link was opened again after it was lost")
                         .Register(r)),
          failures(prometheus::BuildCounter()
                       .Name("gate_request_failures_total")
                       .Help("Calls to the controller that failed, by result")
                       .Register(r)),
          exported(prometheus::BuildCounter()
                       .Name("gate_records_exported_total")
                       .Help("Records written to export files")
                       .Register(r)),
          lastExport(prometheus::BuildGauge()
                         .Name("gate_records_last_export_timestamp_seconds")
                         .Help("When the last records export succeeded, Unix time")
                         .Register(r)),
          exportFailures(prometheus::BuildCounter()
                             .Name("gate_records_export_failures_total")
                             .Help("Records exports that failed")
                             .Register(r)),
          mqtt(prometheus::BuildGauge()
                   .Name("gate_bridge_mqtt_connected")
                   .Help("1 while the bridge is connected to its broker, else 0")
                   .Register(r)),
          spoolEvents(prometheus::BuildGauge()
                          .Name("gate_bridge_spool_events")
                          .Help("Events in the spool waiting for the broker")
                          .Register(r)),
          spoolOldest(prometheus::BuildGauge()
                          .Name("gate_bridge_spool_oldest_seconds")
                          .Help("Age of the oldest event waiting in the spool; 0 when empty")
                          .Register(r)),
          build(prometheus::BuildGauge()
                    .Name("gate_bridge_build_info")
                    .Help("The bridge's version; always 1")
                    .Register(r)) {}

    Family<Gauge>& up;
    Family<Gauge>& info;
    Family<Counter>& events;
    Family<Counter>& passages;
    Family<Counter>& persons;
    Family<Counter>& tags;
    Family<Gauge>& records;
    Family<Gauge>& memoryFull;
    Family<Gauge>& drift;
    Family<Histogram>& duration;
    Family<Counter>& reconnects;
    Family<Counter>& failures;
    Family<Counter>& exported;
    Family<Gauge>& lastExport;
    Family<Counter>& exportFailures;
    Family<Gauge>& mqtt;
    Family<Gauge>& spoolEvents;
    Family<Gauge>& spoolOldest;
    Family<Gauge>& build;
};

struct Metrics::GateSeries {
    QString name;
    Gauge* up = nullptr;
    Gauge* info = nullptr;
    QString infoKey;
    Counter* tags = nullptr;
    Gauge* records = nullptr;
    Gauge* memoryFull = nullptr;
    Gauge* drift = nullptr;
    Histogram* duration = nullptr;
    Counter* reconnects = nullptr;
    Counter* exported = nullptr;
    Gauge* lastExport = nullptr;
    Counter* exportFailures = nullptr;
    QHash<QString, Counter*> events;
    QHash<QString, Counter*> passages;
    QHash<QString, Counter*> persons;
    QHash<QString, Counter*> failures;
    // Each series of this gate, removed from its family by RemoveGate.
    std::vector<std::function<void()>> removers;

    template <typename T, typename... Args>
    T* Add(Family<T>& family, prometheus::Labels labels, Args&&... args) {
        labels.emplace("gate", S(name));
        T* metric = &family.Add(labels, std::forward<Args>(args)...);
        removers.emplace_back([&family, metric] { family.Remove(metric); });
        return metric;
    }
};

Metrics::Metrics(const QString& version)
    : registry_(std::make_shared<prometheus::Registry>()),
      families_(std::make_unique<Families>(*registry_)) {
    families_->build.Add({{"version", S(version)}}).Set(1);
    families_->mqtt.Add({}).Set(0);
    families_->spoolEvents.Add({}).Set(0);
    families_->spoolOldest.Add({}).Set(0);
}

Metrics::~Metrics() = default;

bool Metrics::Serve(const QString& listen, QString* error, const QString& username,
                    const QString& password) {
    // prometheus-cpp (CivetWeb) takes "ADDRESS:PORT", with IPv6 addresses in brackets.
    const qsizetype colon = listen.lastIndexOf(u':');
    QString host = listen.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']')) {
        host = host.mid(1, host.size() - 2);
    }
    bool ok = false;
    const int port = colon > 0 ? listen.mid(colon + 1).toInt(&ok) : -1;
    QHostAddress address;
    if (!ok || port < 0 || port > 65535 || !address.setAddress(host)) {
        *error = QStringLiteral("metrics: %1 is no ADDRESS:PORT").arg(listen);
        return false;
    }
    const QString bind = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]:%2").arg(address.toString()).arg(port)
                             : QStringLiteral("%1:%2").arg(address.toString()).arg(port);
    try {
        exposer_ = std::make_unique<prometheus::Exposer>(S(bind), 1);
    } catch (const std::exception& e) {
        *error = QStringLiteral("metrics: cannot listen on %1: %2")
                     .arg(bind, QString::fromLocal8Bit(e.what()));
        return false;
    }
    if (!username.isEmpty()) {
        exposer_->RegisterAuth(
            [user = S(username), pass = S(password)](const std::string& u, const std::string& p) {
                // Compared whole, not stopping at the first difference.
                const auto same = [](const std::string& a, const std::string& b) {
                    unsigned char diff = a.size() == b.size() ? 0 : 1;
                    for (std::size_t i = 0; i < b.size(); ++i) {
                        diff |= static_cast<unsigned char>((i < a.size() ? a[i] : 0) ^ b[i]);
                    }
                    return diff == 0;
                };
                return same(u, user) & same(p, pass);
            },
            "gate-bridge");
    }
    exposer_->RegisterCollectable(registry_);
    return true;
}

int Metrics::Port() const {
    if (!exposer_) {
        return 0;
    }
    const std::vector<int> ports = exposer_->GetListeningPorts();
    return ports.empty() ? 0 : ports.front();
}

std::string Metrics::Text() const {
    return prometheus::TextSerializer().Serialize(registry_->Collect());
}

Metrics::GateSeries* Metrics::Find(const QString& gate) {
    const auto it = gates_.find(gate);
    return it == gates_.end() ? nullptr : it->get();
}

void Metrics::AddGate(const QString& gate) {
    std::lock_guard lock(mutex_);
    if (gates_.contains(gate)) {
        return;
    }
    auto s = std::make_shared<GateSeries>();
    s->name = gate;
    Families& f = *families_;
    s->up = s->Add(f.up, {});
    s->tags = s->Add(f.tags, {});
    s->records = s->Add(f.records, {});
    s->memoryFull = s->Add(f.memoryFull, {});
    s->drift = s->Add(f.drift, {});
    s->duration = s->Add(f.duration, {}, RequestBuckets());
    s->reconnects = s->Add(f.reconnects, {});
    s->exported = s->Add(f.exported, {});
    s->lastExport = s->Add(f.lastExport, {});
    s->exportFailures = s->Add(f.exportFailures, {});
    // Every event name from zero, so that increase() sees the first event.
    for (const QString& name : BridgeEventNames()) {
        Labelled(*s, f.events, s->events, "event", name);
    }
    for (const char* direction : kDirections) {
        Labelled(*s, f.passages, s->passages, "direction", QString::fromLatin1(direction));
        Labelled(*s, f.persons, s->persons, "direction", QString::fromLatin1(direction));
    }
    gates_.insert(gate, s);
}

void Metrics::RemoveGate(const QString& gate) {
    std::lock_guard lock(mutex_);
    const std::shared_ptr<GateSeries> s = gates_.take(gate);
    if (!s) {
        return;
    }
    for (const auto& remove : s->removers) {
        remove();
    }
    if (s->info != nullptr) {
        families_->info.Remove(s->info);
    }
}

Counter& Metrics::Labelled(GateSeries& s, Family<Counter>& family,
                           QHash<QString, Counter*>& members, const char* label,
                           const QString& value) {
    Counter*& c = members[value];
    if (c == nullptr) {
        c = s.Add(family, {{label, S(value)}});
    }
    return *c;
}

void Metrics::SetUp(const QString& gate, bool up) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->up->Set(up ? 1 : 0);
    }
}

void Metrics::SetInfo(const QString& gate, const QString& product, const QString& version,
                      const QString& serial) {
    std::lock_guard lock(mutex_);
    GateSeries* s = Find(gate);
    if (s == nullptr) {
        return;
    }
    const prometheus::Labels labels{
        {"gate", S(gate)}, {"product", S(product)}, {"version", S(version)}, {"serial", S(serial)}};
    const QString key = product + u'\n' + version + u'\n' + serial;
    if (s->info != nullptr && s->infoKey == key) {
        return;
    }
    if (s->info != nullptr) {
        families_->info.Remove(s->info);
    }
    s->infoKey = key;
    s->info = &families_->info.Add(labels);
    s->info->Set(1);
}

void Metrics::EventTaken(const QString& gate, const QJsonObject& event) {
    std::lock_guard lock(mutex_);
    GateSeries* s = Find(gate);
    if (s == nullptr) {
        return;
    }
    Families& f = *families_;
    const QString name = event.value(QStringLiteral("event")).toString();
    // Names come from the bridge's fixed table; anything else counts as unknown.
    Labelled(*s, f.events, s->events, "event",
             s->events.contains(name) ? name : QStringLiteral("unknown"))
        .Increment();
    if (name == u"passage") {
        const QString direction = event.value(QStringLiteral("direction")).toString();
        if (!direction.isEmpty()) {
            Labelled(*s, f.passages, s->passages, "direction", direction).Increment();
        }
    } else if (name == u"statistics") {
        // A statistics message reports the counts of its period: the counters add them.
        for (const char* direction : kDirections) {
            const double n = event.value(QLatin1String(direction)).toDouble(0);
            if (n > 0) {
                Labelled(*s, f.persons, s->persons, "direction", QString::fromLatin1(direction))
                    .Increment(n);
            }
        }
        const double tags = event.value(QStringLiteral("tags")).toDouble(0);
        if (tags > 0) {
            s->tags->Increment(tags);
        }
    }
}

void Metrics::SetRecords(const QString& gate, qint64 stored, bool memoryFull) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->records->Set(double(stored));
        s->memoryFull->Set(memoryFull ? 1 : 0);
    }
}

void Metrics::SetClockDrift(const QString& gate, double seconds) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->drift->Set(seconds);
    }
}

void Metrics::ObserveRequest(const QString& gate, double seconds) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->duration->Observe(seconds);
    }
}

QString Metrics::FailureResult(int result) {
    switch (result & 0x3F) {
        case gate::result::kCommError:
            return QStringLiteral("no_answer");
        case gate::result::kCrcError:
            return QStringLiteral("crc_error");
        case gate::result::kLengthError:
            return QStringLiteral("length_error");
        case gate::result::kBusy:
            return QStringLiteral("busy");
        default:
            return QStringLiteral("refused");
    }
}

void Metrics::RequestFailed(const QString& gate, int result) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        Labelled(*s, families_->failures, s->failures, "result", FailureResult(result)).Increment();
    }
}

void Metrics::LinkReconnected(const QString& gate) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->reconnects->Increment();
    }
}

void Metrics::SetMqttConnected(bool connected) {
    families_->mqtt.Add({}).Set(connected ? 1 : 0);
}

void Metrics::SetSpool(qint64 events, double oldestSeconds) {
    families_->spoolEvents.Add({}).Set(double(events));
    families_->spoolOldest.Add({}).Set(oldestSeconds);
}

void Metrics::RecordsExported(const QString& gate, qint64 records, double unixTime) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->exported->Increment(double(records));
        s->lastExport->Set(unixTime);
    }
}

void Metrics::RecordsExportFailed(const QString& gate) {
    std::lock_guard lock(mutex_);
    if (GateSeries* s = Find(gate)) {
        s->exportFailures->Increment();
    }
}

QJsonObject Metrics::Passages(const QString& gate) const {
    std::lock_guard lock(mutex_);
    QJsonObject out;
    const auto it = gates_.constFind(gate);
    if (it == gates_.cend()) {
        return out;
    }
    for (auto p = (*it)->passages.cbegin(); p != (*it)->passages.cend(); ++p) {
        out.insert(p.key(), p.value()->Value());
    }
    return out;
}

}  // namespace bridge
