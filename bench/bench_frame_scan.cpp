// The reply scanner on one read of the library's 4,096-byte buffer: clean replies, and line
// noise full of start bytes and plausible headers, fed whole and in 7-byte pieces. The baseline
// is the CRC over the same bytes once, which every scan must at least compute.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <random>

#include "gate/wire_frame.h"
#include "util/conversions.h"

namespace {

constexpr qsizetype kReadSize = 4096;

QByteArray CleanReplies() {
    QByteArray bytes;
    for (std::uint8_t seq = 0; bytes.size() < kReadSize; ++seq) {
        bytes += gate::wire::EncodeReply(
            gate::wire::Reply{0x01, 0x1A, seq, 0, 0, QByteArray(32, char(seq))});
    }
    return bytes.left(kReadSize);
}

// A quarter start bytes, a quarter small values (valid statuses and lengths), the rest random.
QByteArray Noise() {
    std::mt19937 rng(20261208);
    QByteArray bytes(kReadSize, 0);
    for (char& c : bytes) {
        const auto r = rng();
        c = static_cast<char>(r % 4 == 0 ? 0x5A : r % 4 == 1 ? (r >> 8) % 4 : r >> 8);
    }
    return bytes;
}

void Scan(benchmark::State& state, const QByteArray& bytes, qsizetype piece) {
    std::int64_t frames = 0;
    for (auto _ : state) {
        gate::wire::ReplyScanner scanner;
        for (qsizetype i = 0; i < bytes.size(); i += piece) {
            scanner.Feed(QByteArrayView(bytes).sliced(i, std::min(piece, bytes.size() - i)));
            while (auto reply = scanner.Next()) {
                benchmark::DoNotOptimize(reply);
                ++frames;
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["frames_per_read"] =
        static_cast<double>(frames) / static_cast<double>(state.iterations());
}

void BM_CrcBaseline(benchmark::State& state) {
    const QByteArray bytes = Noise();
    for (auto _ : state) {
        benchmark::DoNotOptimize(util::Crc16Value(bytes));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ScanClean(benchmark::State& state) {
    Scan(state, CleanReplies(), state.range(0));
}

void BM_ScanNoise(benchmark::State& state) {
    Scan(state, Noise(), state.range(0));
}

}  // namespace

BENCHMARK(BM_CrcBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanClean)->Arg(kReadSize)->Arg(7)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanNoise)->Arg(kReadSize)->Arg(7)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
