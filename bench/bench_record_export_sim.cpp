// Export of 10,000 records from gate-sim through the real gate library: over TCP loopback
// (records per second) and over a pseudo-terminal paced at 115200 baud, reported against the
// wire-time limit of that line (8N1: 10 bit times per byte; request 11 bytes, reply 10 bytes
// plus the body).
#include "core/records/record_exporter.h"
#include "gate/com_port_table.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"
#include "in_memory_record_log.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kCount = 10000;
constexpr int kBaud = 115200;

// The same mix of kinds as the in-memory benchmark; returns the wire bytes of all exchanges.
double FillLog(sim::GateSimulator& simulator) {
    bench::InMemoryRecordLog source(kCount);
    double wireBytes = 0;
    simulator.WithModel([&](sim::ControllerModel& m) {
        m.Records().SetCapacity(kCount);
        for (int i = 1; i <= kCount; ++i) {
            std::array<gate::Byte, gate::kRecordBufferSize> body{};
            gate::Byte a = 0, length = 0, kind = 0, s = 0;
            source.RetrieveRecordByIndex(a, i, body, length, kind, s, 0);
            m.Records().Append(kind, QByteArray(reinterpret_cast<const char*>(body.data()), length),
                               sim::FullPolicy::Stop);
            wireBytes += 11 + 10 + length;
        }
        return 0;
    });
    return wireBytes;
}

void RunExport(benchmark::State& state, bool serial) {
    sim::GateSimulator simulator;
    sim::SimulatorOptions options;
    options.tcpPort = 0;
    options.pty = serial;
    options.baud = kBaud;
    QString error;
    if (!simulator.Start(options, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    const double wireBytes = FillLog(simulator);
    gate::ConnectionState c;
    std::unique_ptr<gate::WireGateLibrary> library;
    if (serial) {
        library = std::make_unique<gate::WireGateLibrary>(
            gate::ComPortTable(QMap<int, QString>{{1, simulator.Endpoints().ptyPath}}));
        if (library->OpenComPort(1, c.ControllerAddress, c.PortHandle) != 0) {
            state.SkipWithError("serial open failed");
            return;
        }
    } else {
        library = std::make_unique<gate::WireGateLibrary>(gate::ComPortTable{});
        const int port = simulator.Endpoints().tcpPort;
        if (library->OpenNetPort(port, QStringLiteral("127.0.0.1"), c.ControllerAddress,
                                 c.PortHandle) != 0) {
            state.SkipWithError("tcp open failed");
            return;
        }
    }
    QTemporaryDir dir;
    QDateTime start(QDate(2024, 5, 6), QTime(9, 8));
    for (auto _ : state) {
        start = start.addSecs(60);
        const records::ExportOutcome out =
            records::ExportAllRecords(*library, c, {dir.path(), {}}, start);
        if (!out.Complete()) {
            state.SkipWithError("export incomplete");
            break;
        }
    }
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kCount), benchmark::Counter::kIsRate);
    if (serial) {
        const double wireLimit = kCount / (wireBytes * 10.0 / kBaud);
        state.counters["wire_limit_records_per_s"] = wireLimit;
    }
    simulator.Stop();
}

void BM_ExportGateSimTcp(benchmark::State& state) {
    RunExport(state, false);
}
BENCHMARK(BM_ExportGateSimTcp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ExportGateSimPty115200(benchmark::State& state) {
    RunExport(state, true);
}
BENCHMARK(BM_ExportGateSimPty115200)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
