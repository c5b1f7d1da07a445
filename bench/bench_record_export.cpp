// Export throughput of the console side: ExportAllRecords over a log of 10,000 records held in
// memory, so the figure is what formatting, GBK encoding and writing cost per record. The link
// (TCP loopback or serial) comes on top; its budget is 50 us per record for 20,000 records/s.
#include "core/records/record_exporter.h"
#include "core/records/record_lines.h"
#include "core/records/stored_record.h"
#include "in_memory_record_log.h"
#include "util/gbk_codec.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_ExportInMemoryLog(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    bench::InMemoryRecordLog log(count);
    gate::ConnectionState connection;
    connection.PortHandle = 4001;
    QTemporaryDir dir;
    QDateTime start(QDate(2024, 5, 6), QTime(9, 8));
    for (auto _ : state) {
        // A new minute each time, so that every run creates its first-choice file name.
        start = start.addSecs(60);
        const records::ExportOutcome out =
            records::ExportAllRecords(log, connection, {dir.path(), {}}, start);
        if (!out.Complete() || out.written != count) {
            state.SkipWithError("export incomplete");
            break;
        }
        state.PauseTiming();
        QFile::remove(out.path);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * count), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportInMemoryLog)->Arg(10000)->Unit(benchmark::kMillisecond);

// One export line, formatted and encoded: the per-record CPU cost without file or link.
void BM_ExportLineToGbk(benchmark::State& state) {
    const std::array<gate::Byte, 15> body{0xE0, 0x04, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78,
                                          2,    24,   5,    6,    9,    8,    7};
    const records::StoredRecord record(0, body, static_cast<int>(body.size()));
    std::int32_t index = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            util::ToGbk(records::ExportLine(index++, record, util::TextTable::Source())));
    }
}
BENCHMARK(BM_ExportLineToGbk);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
