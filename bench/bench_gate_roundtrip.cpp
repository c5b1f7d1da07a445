// Round trip of one library call (GetControllerInfo: a 7-byte request, a 12-byte reply) against
// gate-sim, next to what the line itself costs in the same run:
//   - over TCP loopback, beside a raw socket exchanging the same frames with the simulator;
//   - over a pseudo-terminal paced at 115200 baud, beside the wire time of those 19 bytes.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include "gate/wire_commands.h"
#include "gate/wire_frame.h"
#include "gate/wire_gate_library.h"
#include "gate_simulator.h"
#include "raw_socket_exchange.h"

#include <memory>

namespace {

constexpr int kBaud = 115200;
constexpr int kBitsPerByte = 10;  // start, 8 data, stop
constexpr int kRequestBytes = gate::wire::kRequestHeader + gate::wire::kCrcSize;
constexpr int kReplyBytes = gate::wire::kReplyHeader + 3 + gate::wire::kCrcSize;

sim::GateSimulator& simulator() {
    static sim::GateSimulator* s = [] {
        auto* created = new sim::GateSimulator;
        sim::SimulatorOptions options;
        options.tcpPort = 0;
        options.pty = true;
        options.baud = kBaud;
        QString error;
        if (!created->Start(options, &error)) {
            qFatal("gate-sim: %s", qPrintable(error));
        }
        return created;
    }();
    return *s;
}

void libraryCall(benchmark::State& state, bool overTcp) {
    const sim::SimulatorEndpoints ends = simulator().Endpoints();
    gate::WireGateLibrary library(gate::ComPortTable({{1, ends.ptyPath}}));
    gate::Byte a = 0xFF;
    std::int32_t h = -1;
    const int opened = overTcp
                           ? library.OpenNetPort(ends.tcpPort, QStringLiteral("127.0.0.1"), a, h)
                           : library.OpenComPort(1, a, h);
    if (opened != 0) {
        state.SkipWithError("open failed");
        return;
    }
    gate::Byte p = 0;
    gate::Byte ma = 0;
    gate::Byte mi = 0;
    gate::Byte s = 0;
    for (auto _ : state) {
        if (library.GetControllerInfo(a, p, ma, mi, s, h) != 0) {
            state.SkipWithError("call failed");
            break;
        }
    }
    if (!overTcp) {
        state.counters["wire_us"] =
            1e6 * double((kRequestBytes + kReplyBytes) * kBitsPerByte) / double(kBaud);
    }
}

void BM_LibraryCallTcp(benchmark::State& state) {
    libraryCall(state, true);
}

void BM_LibraryCallPty115200(benchmark::State& state) {
    libraryCall(state, false);
}

// The same exchange by hand: encode, write, read until the reply frame is whole.
void BM_RawSocketTcp(benchmark::State& state) {
    bench::RawSocketExchange raw;
    if (!raw.Connect(simulator().Endpoints().tcpPort)) {
        state.SkipWithError("connect failed");
        return;
    }
    for (auto _ : state) {
        if (!raw.Exchange(gate::wire::Command::GetControllerInfo)) {
            state.SkipWithError("no reply");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_RawSocketTcp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibraryCallTcp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LibraryCallPty115200)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
