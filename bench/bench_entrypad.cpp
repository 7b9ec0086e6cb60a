// The entry pad at the end of a long history: one click on a number and one
// "Отменить", end to end (the edit of the memo, its statistics pass, the
// pad's recent strip), and the pad's own look at the latest spins.
#include "BenchSupport.h"

#include "app/entrypad/EntryPadForm.h"

#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

// The window with a generated history and the pad open on it.
struct PadBench
{
    BenchWindow window;
    EntryPadForm *pad = nullptr;

    explicit PadBench(int lines)
    {
        window.Show();
        window.form.listBox1->ReplaceText(GeneratedHistory(lines));
        window.form.N28Click();
        pad = window.form.EntryPad();
        QApplication::processEvents();
    }
    QPushButton &Button(const QString &name) const { return *pad->findChild<QPushButton *>(name); }
};

// A click on 17; the undo that takes it back again is not measured.
void BM_PadClick(benchmark::State &state)
{
    PadBench bench(int(state.range(0)));
    QPushButton &pocket = bench.Button(QStringLiteral("Pad17"));
    for (auto _ : state) {
        pocket.click();
        state.PauseTiming();
        bench.pad->Undo();
        state.ResumeTiming();
    }
    bench.window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_PadClick)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A click on "Отменить"; the redo that puts the line back is not measured.
void BM_PadUndo(benchmark::State &state)
{
    PadBench bench(int(state.range(0)));
    QPushButton &undo = bench.Button(QStringLiteral("PadUndo"));
    for (auto _ : state) {
        undo.click();
        state.PauseTiming();
        bench.pad->Redo();
        state.ResumeTiming();
    }
    bench.window.CheckNoBoxes(state);
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_PadUndo)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What the pad itself reads of the history after a change: the latest
// twelve spins.
void BM_PadTail(benchmark::State &state)
{
    PadBench bench(int(state.range(0)));
    const SpinHistory &history = bench.window.form.History();
    for (auto _ : state)
        benchmark::DoNotOptimize(history.LastSpins(12));
    state.counters["lines"] = double(state.range(0));
}
BENCHMARK(BM_PadTail)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
