// Start-up of the console: building the main window with its six secondary windows, filling
// every list and installing every controller, as main does (offscreen, scripted library so no
// link is touched). Memory is the process's resident size after one start-up.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>

#include "app/console.h"
#include "app/main_window.h"
#include "gate/unconnected_gate_library.h"
#include "gui/qt_prompter.h"
#include "util/clock.h"

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

void BM_StartUp(benchmark::State& state) {
    gate::UnconnectedGateLibrary library;
    util::SystemClock clock;
    const long before = residentKiB();
    for (auto _ : state) {
        gui::QtPrompter prompter;
        app::Console console(library, prompter, clock, {});
        prompter.SetParent(&console.Window());
        console.Window().show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(&console);
    }
    state.counters["rss_before_kib"] = static_cast<double>(before);
    state.counters["rss_after_kib"] = static_cast<double>(residentKiB());
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
