#pragma once

#include <QHash>
#include <QJsonObject>
#include <QMap>
#include <QString>

#include <memory>
#include <mutex>
#include <string>

namespace prometheus {
class Counter;
class Exposer;
class Gauge;
class Histogram;
class Registry;
template <typename T>
class Family;
}  // namespace prometheus

namespace bridge {

// The bridge's Prometheus metrics: one registry, served at /metrics by prometheus-cpp's pull
// exposer when the site file has [metrics] listen. Every call is thread-safe; the workers, the
// publisher and the main loop call it directly. Per-gate series carry the label `gate` and at
// most a small fixed second label (event, direction, result), never a tag's UID. A gate's
// series exist from AddGate (at zero) until RemoveGate, which leaves none behind.
class Metrics {
public:
    explicit Metrics(const QString& version);
    ~Metrics();
    Metrics(const Metrics&) = delete;
    Metrics& operator=(const Metrics&) = delete;

    // Serves /metrics at "HOST:PORT" (an IP address; [::1]:PORT for IPv6), with basic
    // authentication when a username is given. False and the reason when it cannot listen there.
    bool Serve(const QString& listen, QString* error, const QString& username = {},
               const QString& password = {});
    // The port it listens on (0 when not serving): PORT 0 picks a free one.
    int Port() const;
    // The exposition text of a scrape.
    std::string Text() const;

    void AddGate(const QString& gate);
    void RemoveGate(const QString& gate);

    // The gate answers (1) or not (0).
    void SetUp(const QString& gate, bool up);
    // The controller's identity, as the gate_info series' labels; a change replaces the series.
    void SetInfo(const QString& gate, const QString& product, const QString& version,
                 const QString& serial);
    // A live event taken from the gate (the bridge's event object): counts it by `event`, a
    // passage by `direction`, and adds a statistics message's counts of its period.
    void EventTaken(const QString& gate, const QJsonObject& event);
    void SetRecords(const QString& gate, qint64 stored, bool memoryFull);
    void SetClockDrift(const QString& gate, double seconds);
    // One round trip of the controller library.
    void ObserveRequest(const QString& gate, double seconds);
    // A call the controller failed or did not answer, by the library's result code.
    void RequestFailed(const QString& gate, int result);
    // The gate's link was opened again after it had been lost.
    void LinkReconnected(const QString& gate);

    void SetMqttConnected(bool connected);
    void SetSpool(qint64 events, double oldestSeconds);

    // Records collection: one run's outcome.
    void RecordsExported(const QString& gate, qint64 records, double unixTime);
    void RecordsExportFailed(const QString& gate);

    // The passages counted since the start, by direction ({"forward": n, ...}).
    QJsonObject Passages(const QString& gate) const;

    // The small set of `result` labels of gate_request_failures_total.
    static QString FailureResult(int result);

private:
    struct GateSeries;
    struct Families;

    prometheus::Counter& Labelled(GateSeries& s, prometheus::Family<prometheus::Counter>& family,
                                  QHash<QString, prometheus::Counter*>& members, const char* label,
                                  const QString& value);
    GateSeries* Find(const QString& gate);

    std::shared_ptr<prometheus::Registry> registry_;
    std::unique_ptr<Families> families_;
    std::unique_ptr<prometheus::Exposer> exposer_;
    mutable std::mutex mutex_;
    QMap<QString, std::shared_ptr<GateSeries>> gates_;
};

}  // namespace bridge
