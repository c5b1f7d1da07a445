// Cost of one append turn (append a line, scroll to the newest, let the window paint) and the
// heap bytes per stored line, for the monitoring lists and for a QListWidget with uniform item
// sizes as the baseline, at 100k, 1M and 10M lines already in the list.
//
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_message_list

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>

#include "gui/line_list_view.h"

#include <malloc.h>

#include <memory>

namespace {

constexpr int kTurns = 100;

// A passage line with a running time and UID, so that no two lines share their text.
QString SampleLine(std::int64_t i) {
    const auto s = static_cast<int>(i % 60);
    const auto m = static_cast<int>((i / 60) % 60);
    return QStringLiteral("2012-05-06 09:%1:%2  01 23 45 67 %3 正向")
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(QString::number(i, 16).toUpper().rightJustified(11, u'0'));
}

std::size_t HeapInUse() {
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct LineListTarget {
    std::unique_ptr<gui::LineListView> view = std::make_unique<gui::LineListView>();
    void Append(const QString& line) { view->AppendLine(line); }
    void Scroll() { view->ScrollToNewest(); }
    QWidget& Widget() { return *view; }
};

struct ListWidgetTarget {
    std::unique_ptr<QListWidget> view = [] {
        auto w = std::make_unique<QListWidget>();
        w->setUniformItemSizes(true);
        return w;
    }();
    void Append(const QString& line) { view->addItem(line); }
    void Scroll() {
        view->scrollToItem(view->item(view->count() - 1), QAbstractItemView::PositionAtTop);
    }
    QWidget& Widget() { return *view; }
};

template <typename Target>
void AppendTurn(benchmark::State& state) {
    const std::int64_t prefill = state.range(0);
    const std::size_t heapBefore = HeapInUse();
    auto target = std::make_unique<Target>();
    for (std::int64_t i = 0; i < prefill; ++i) {
        target->Append(SampleLine(i));
    }
    const std::size_t heapAfter = HeapInUse();
    target->Widget().resize(400, 300);
    target->Widget().show();
    target->Scroll();
    QCoreApplication::processEvents();

    std::int64_t next = prefill;
    for (auto _ : state) {
        target->Append(SampleLine(next++));
        target->Scroll();
        QCoreApplication::processEvents();
    }
    state.counters["bytes_per_line"] =
        static_cast<double>(heapAfter - heapBefore) / static_cast<double>(prefill);
    target.reset();
    malloc_trim(0);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(100'000)
        ->Arg(1'000'000)
        ->Arg(10'000'000)
        ->Iterations(kTurns)
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(AppendTurn<LineListTarget>)->Name("LineListView/append_turn")->Apply(Sizes);
BENCHMARK(AppendTurn<ListWidgetTarget>)->Name("QListWidget/append_turn")->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
