// gatectl records export of 10,000 records from gate-sim over TCP loopback, each format, as a
// site's script runs it (a new process, connect, export, exit), beside what the same run's line
// allows: a raw socket doing one RetrieveRecordByIndex round trip per record, and a gatectl run
// that exports nothing (process start, connect, one request).
#include "gate/operation_codec.h"
#include "gate_simulator.h"
#include "in_memory_record_log.h"
#include "raw_socket_exchange.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCount = 10000;

sim::GateSimulator& Simulator() {
    static sim::GateSimulator* s = [] {
        auto* created = new sim::GateSimulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        QString error;
        if (!created->Start(options, &error)) {
            qFatal("gate-sim: %s", qPrintable(error));
        }
        // The same mix of kinds as the other export benchmarks.
        bench::InMemoryRecordLog source(kCount);
        created->WithModel([&](sim::ControllerModel& m) {
            m.Records().SetCapacity(kCount);
            for (int i = 1; i <= kCount; ++i) {
                std::array<gate::Byte, gate::kRecordBufferSize> body{};
                gate::Byte a = 0, length = 0, kind = 0, st = 0;
                source.RetrieveRecordByIndex(a, i, body, length, kind, st, 0);
                m.Records().Append(kind,
                                   QByteArray(reinterpret_cast<const char*>(body.data()), length),
                                   sim::FullPolicy::Stop);
            }
            return 0;
        });
        return created;
    }();
    return *s;
}

QString Tcp() {
    return QStringLiteral("127.0.0.1:%1").arg(Simulator().Endpoints().tcpPort);
}

bool RunGatectl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(GATECTL_PATH), arguments);
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void BM_GatectlExport(benchmark::State& state, const char* format) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records"));
    const QStringList arguments{
        QStringLiteral("records"),  QStringLiteral("export"),    QStringLiteral("--tcp"),    Tcp(),
        QStringLiteral("--format"), QString::fromLatin1(format), QStringLiteral("--output"), path};
    for (auto _ : state) {
        if (!RunGatectl(arguments)) {
            state.SkipWithError("gatectl failed");
            break;
        }
    }
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kCount), benchmark::Counter::kIsRate);
}

// Process start, connect and one request: what every invocation costs besides its records.
void BM_GatectlStatusOnly(benchmark::State& state) {
    const QStringList arguments{QStringLiteral("records"), QStringLiteral("status"),
                                QStringLiteral("--tcp"), Tcp()};
    for (auto _ : state) {
        if (!RunGatectl(arguments)) {
            state.SkipWithError("gatectl failed");
            break;
        }
    }
}

// The line's own limit: one RetrieveRecordByIndex round trip per record on a raw socket.
void BM_RawRetrievalRoundTrips(benchmark::State& state) {
    bench::RawSocketExchange raw;
    if (!raw.Connect(Simulator().Endpoints().tcpPort)) {
        state.SkipWithError("connect failed");
        return;
    }
    for (auto _ : state) {
        for (std::uint32_t index = 1; index <= kCount; ++index) {
            if (!raw.Exchange(gate::wire::Command::RetrieveRecordByIndex,
                              gate::wire::U32Le(index))) {
                state.SkipWithError("no reply");
                return;
            }
        }
    }
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kCount), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_RawRetrievalRoundTrips)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_GatectlExport, text, "text")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_GatectlExport, csv, "csv")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_GatectlExport, jsonl, "jsonl")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_GatectlStatusOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
