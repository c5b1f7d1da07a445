// The spool's share of the bridge's work: what one event costs in SQLite on this computer's
// disk, as the worker pays it (the event stored with its pending acknowledgement in one
// transaction, then the mark cleared), and as the publisher pays it (confirmed entries removed
// in one transaction per batch). Each commit is synced (WAL, synchronous=FULL), so these are
// mostly waits for the disk, and one spool serves every worker: events a second times the cost
// of one is the share of the time the spool is busy.
//
// The spool lives in a temporary folder under the current folder (run it from a folder on the
// disk the state directory will be on), or under GATE_BENCH_SPOOL_DIR.
#include "bridge/spool.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// About the size of a tagged passage's event object.
const QByteArray kPayload(620, 'x');

std::unique_ptr<QTemporaryDir> SpoolDir() {
    const QByteArray where = qgetenv("GATE_BENCH_SPOOL_DIR");
    const QString base = where.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(where);
    return std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("spool-XXXXXX")));
}

std::unique_ptr<bridge::Spool> OpenSpool(const QTemporaryDir& dir) {
    QString error;
    auto spool = bridge::Spool::Open(dir.path(), qint64(1024) << 20, &error);
    if (!spool) {
        qFatal("spool: %s", qPrintable(error));
    }
    return spool;
}

bridge::Spool& SharedSpool() {
    static const auto dir = SpoolDir();
    static const auto spool = OpenSpool(*dir);
    return *spool;
}

// One event as a worker stores it: the event and its pending acknowledgement, then the clear;
// with several threads, workers of several links on one spool (each thread its own gate).
void BM_SpoolStoreAndClear(benchmark::State& state) {
    bridge::Spool& spool = SharedSpool();
    const QString gate = QStringLiteral("g%1").arg(state.thread_index());
    const qint64 commitsBefore = spool.EventCommits();
    for (auto _ : state) {
        const bool ok = spool.Add(gate, QStringLiteral("b/g/event"), [](const QString& id) {
            return kPayload + id.toUtf8();
        }) && spool.ClearAckPending(gate);
        if (!ok) {
            state.SkipWithError("the spool refused an event");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        state.counters["commits_per_event"] = double(spool.EventCommits() - commitsBefore) /
                                              double(state.iterations() * state.threads());
    }
}
BENCHMARK(BM_SpoolStoreAndClear)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0)
    ->Threads(1)
    ->Threads(10)
    ->Threads(50);

// The publisher's side: read a batch of entries and remove them once confirmed.
void BM_SpoolReadAndRemove(benchmark::State& state) {
    const auto dir = SpoolDir();
    const auto spool = OpenSpool(*dir);
    const int batch = static_cast<int>(state.range(0));
    qint64 last = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < batch; ++i) {
            spool->Add(QStringLiteral("g1"), QStringLiteral("b/g1/event"),
                       [](const QString& id) { return kPayload + id.toUtf8(); });
        }
        state.ResumeTiming();
        QList<qint64> seqs;
        for (const bridge::Spool::Entry& e : spool->After(last, batch)) {
            seqs.append(e.seq);
            last = e.seq;
        }
        spool->Remove(seqs);
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_SpoolReadAndRemove)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
