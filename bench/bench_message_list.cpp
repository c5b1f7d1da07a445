// Cost of one append turn (append a line, scroll to the newest, let the window paint) and the
// heap bytes per stored line, for the monitoring lists and for a QListWidget with uniform item
// sizes as the baseline, at 100k, 1M and 10M lines already in the list.
//
// Find in a list of 10M lines, as the operator does it (the find bar's text set, the event loop
// running): the time until the first match is shown, and until every row is counted, while a
// 50 ms timer plays the poll (it appends a line on every tick) and records how late its ticks
// come; beside it the bare scan of the same rows and a search that decodes every line.
//
// "保存为文件..." of the 10M lines: the work on the window thread at the click (the snapshot of
// the rows and the start of the writer), and the whole save in the background while the 50 ms
// poll goes on, with how late its ticks come.
//
// A screen reader's question for the selection after Ctrl+A over the 10M lines: the time to
// answer selectedRows and selectedCells, and how many rows they list.
//
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_message_list

#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "core/monitor/line_file_save.h"
#include "gui/find_bar.h"
#include "gui/line_list_view.h"

#include <malloc.h>

#include <memory>

namespace {

constexpr int kTurns = 100;

// A passage line with a running time and UID, so that no two lines share their text.
QString SampleLine(std::int64_t i) {
    const auto s = static_cast<int>(i % 60);
    const auto m = static_cast<int>((i / 60) % 60);
    return QStringLiteral("2012-05-06 09:%1:%2  01 23 45 67 %3 %4")
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(QString::number(i, 16).toUpper().rightJustified(11, u'0'),
             i % 3 == 0 ? QStringLiteral("反向") : QStringLiteral("正向"));
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

// The same with the find bar open on a text in a third of the rows: each new row is searched,
// counted and highlighted as it comes.
struct LineListFindOpenTarget : LineListTarget {
    void Ready() {
        view->OpenFind();
        view->FindBarWidget()->Edit().setText(QStringLiteral("反向"));
        while (!view->Finder().CaughtUp()) {
            QCoreApplication::processEvents();
        }
        view->ResumeFollowing();  // the match shown is let go: the list follows again
    }
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
    if constexpr (requires { target->Ready(); }) {
        target->Ready();
    }

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

constexpr std::int64_t kFindLines = 10'000'000;

// A shown list of 10M sample lines, built once for the find cases.
gui::LineListView& FindList() {
    static gui::LineListView* view = [] {
        auto* v = new gui::LineListView;
        for (std::int64_t i = 0; i < kFindLines; ++i) {
            v->AppendLine(SampleLine(i));
        }
        v->resize(400, 300);
        v->show();
        v->ScrollToNewest();
        QCoreApplication::processEvents();
        return v;
    }();
    return *view;
}

// Runs begin(), then the event loop until done() holds, with a 50 ms timer appending a line on
// each tick; returns the worst lateness of a tick in ms.
template <typename Begin, typename Done>
double PollWhile(gui::LineListView& view, Begin begin, Done done) {
    view.CloseFind();
    view.ResumeFollowing();
    std::int64_t next = view.Count();
    QElapsedTimer since;
    double worstLateMs = 0;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        worstLateMs = std::max(worstLateMs, since.nsecsElapsed() / 1e6 - 50);
        since.restart();
        view.AppendLine(SampleLine(next++));
        view.ScrollToNewest();
    });
    since.start();
    poll.start();
    begin();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return worstLateMs;
}

// Types the needle into the find bar while polling, until done() holds.
template <typename Done>
double FindWhilePolling(gui::LineListView& view, const QString& needle, Done done) {
    return PollWhile(
        view,
        [&] {
            view.OpenFind();
            view.FindBarWidget()->Edit().setText(needle);
        },
        done);
}

// The first match of a text found only in one row near the newest: every row is searched first
// (the search starts from the oldest row).
void FindFirstMatch(benchmark::State& state) {
    gui::LineListView& view = FindList();
    const std::int64_t row = kFindLines - 5;
    const QString needle = QString::number(row, 16).toLower().rightJustified(11, u'0');
    double late = 0;
    for (auto _ : state) {
        late = std::max(late,
                        FindWhilePolling(view, needle, [&] { return view.SelectedRow() == row; }));
    }
    state.counters["worst_tick_late_ms"] = late;
}

// Every row counted for a text in a third of them ("反向"); lines appended meanwhile included.
void FindCountAll(benchmark::State& state) {
    gui::LineListView& view = FindList();
    double late = 0;
    for (auto _ : state) {
        late = std::max(late, FindWhilePolling(view, QStringLiteral("反向"),
                                               [&] { return view.Finder().CaughtUp(); }));
    }
    state.counters["worst_tick_late_ms"] = late;
    state.counters["matches"] = static_cast<double>(view.Finder().MatchCount());
}

// Baselines on the same rows: the bare scan in one go, and a search that decodes each line to a
// QString and asks QString::contains.
void ScanAllAtOnce(benchmark::State& state) {
    const monitor::LineStore& store = FindList().Store();
    monitor::FindIndex index(store);
    for (auto _ : state) {
        index.SetNeedle(QStringLiteral("反向"));
        index.Scan(QDeadlineTimer(QDeadlineTimer::Forever));
        benchmark::DoNotOptimize(index.MatchCount());
    }
}

void DecodeEveryLine(benchmark::State& state) {
    const monitor::LineStore& store = FindList().Store();
    const QString needle = QStringLiteral("反向");
    for (auto _ : state) {
        qsizetype n = 0;
        for (qsizetype row = 0; row < store.Count(); ++row) {
            n += store.Line(row).contains(needle, Qt::CaseInsensitive) ? 1 : 0;
        }
        benchmark::DoNotOptimize(n);
    }
}

// The save as the view runs it: snapshot and start at the click, then the event loop with the
// poll's timer until the writer is done.
void SaveWhilePolling(benchmark::State& state) {
    gui::LineListView& view = FindList();
    QTemporaryDir dir;
    double clickMs = 0;
    double late = 0;
    for (auto _ : state) {
        std::unique_ptr<monitor::LineFileSave> save;
        bool done = false;
        late = std::max(late, PollWhile(
                                  view,
                                  [&] {
                                      QElapsedTimer click;
                                      click.start();
                                      save = std::make_unique<monitor::LineFileSave>(
                                          view.Store().Snapshot(),
                                          dir.filePath(QStringLiteral("s.txt")));
                                      QObject::connect(save.get(), &monitor::LineFileSave::Finished,
                                                       [&] { done = true; });
                                      save->Start();
                                      clickMs = std::max(clickMs, click.nsecsElapsed() / 1e6);
                                  },
                                  [&] { return done; }));
    }
    state.counters["click_ms"] = clickMs;
    state.counters["worst_tick_late_ms"] = late;
}

// After Ctrl+A over every row: what a screen reader gets when it asks for the selection.
void AccessibleSelection(benchmark::State& state) {
    gui::LineListView& view = FindList();
    view.CloseFind();
    view.SelectAll();
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&view)->tableInterface();
    qsizetype listed = 0;
    for (auto _ : state) {
        listed = table->selectedRows().size();
        benchmark::DoNotOptimize(table->selectedCells());
    }
    state.counters["selected"] = table->selectedRowCount();
    state.counters["listed"] = static_cast<double>(listed);
    view.ResumeFollowing();
}

BENCHMARK(AppendTurn<LineListTarget>)->Name("LineListView/append_turn")->Apply(Sizes);
BENCHMARK(SaveWhilePolling)
    ->Name("LineListView/save_10M_in_background")
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(AccessibleSelection)
    ->Name("LineListView/accessible_selection_10M")
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FindFirstMatch)
    ->Name("LineListView/find_first_match_10M")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(FindCountAll)
    ->Name("LineListView/find_count_all_10M")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ScanAllAtOnce)
    ->Name("FindIndex/scan_10M_at_once")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeEveryLine)
    ->Name("Baseline/decode_and_contains_10M")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(AppendTurn<LineListFindOpenTarget>)
    ->Name("LineListView/append_turn_find_open")
    ->Arg(10'000'000)
    ->Iterations(kTurns)
    ->Unit(benchmark::kMillisecond);
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
