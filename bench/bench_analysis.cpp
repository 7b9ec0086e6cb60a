// What the analysis window adds to a keystroke at the end of a long history:
// a keystroke with the window closed and open, the window's own share of a
// pass, one full refresh of the window with its repaint (the chart at most
// once every AnalysisForm::RefreshDelay, whatever the rate of passes), the
// figures alone, the drought family chance across its whole range, and the
// chances of the largest and the smallest count that the figures search.
#include "BenchSupport.h"

#include "analysis/Chances.h"
#include "analysis/Statistics.h"
#include "app/analysiswindow/AnalysisForm.h"

#include <QApplication>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace trevolo;

constexpr int Lines = 1'000'000;

// A keystroke at the end and its Backspace, each with its pass; range(0) is
// 1 with the window open, so the difference is the window's share.
void BM_KeystrokeWithAnalysis(benchmark::State &state)
{
    KeystrokeWithChildWindow(state, &TForm1::n27, Lines);
}
BENCHMARK(BM_KeystrokeWithAnalysis)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Two passes one spin apart, so every figure changes from one call to the
// next as it does on a keystroke.
struct TwoPasses
{
    HistoryStatistics before, after;
    TwoPasses()
    {
        const QString history = GeneratedHistory(Lines);
        before = ComputeStatistics(history, u"170");
        after = ComputeStatistics(history + QStringLiteral("17\n"), u"170");
    }
};

// Shows the analysis window, then hands it the two passes in turn; `show`
// is what the main window would call with one of them.
template <typename Show>
void AlternatePasses(benchmark::State &state, Show &&show)
{
    BenchWindow window;
    window.Show();
    window.form.n27->trigger();
    QApplication::processEvents();
    AnalysisForm &analysis = *window.form.analysisForm();
    const TwoPasses passes;
    bool second = false;
    for (auto _ : state) {
        show(analysis, second ? passes.after : passes.before);
        second = !second;
    }
}

// The window's share of a pass, as Calc calls it: the figures, the table and
// the wheel at once, the chart kept for the next refresh.
void BM_AnalysisFollow(benchmark::State &state)
{
    AlternatePasses(state, [](AnalysisForm &analysis, const HistoryStatistics &pass) {
        analysis.Follow(pass, u"170");
    });
}
BENCHMARK(BM_AnalysisFollow)->Unit(benchmark::kMicrosecond);

// One refresh: the figures, the controls, the wheel and the chart, and the
// repaint that follows.
void BM_AnalysisRefresh(benchmark::State &state)
{
    AlternatePasses(state, [](AnalysisForm &analysis, const HistoryStatistics &pass) {
        analysis.ShowStatistics(pass, u"170");
        QApplication::processEvents();
    });
}
BENCHMARK(BM_AnalysisRefresh)->Unit(benchmark::kMicrosecond);

// The figures alone, no widgets.
void BM_ComputeAnalysis(benchmark::State &state)
{
    const TwoPasses passes;
    bool second = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeAnalysis(second ? passes.after : passes.before, u"170"));
        second = !second;
    }
}
BENCHMARK(BM_ComputeAnalysis)->Unit(benchmark::kMicrosecond);

void BM_AnyNumberMissingChance(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AnyNumberMissingChance(state.range(0)));
}
BENCHMARK(BM_AnyNumberMissingChance)
    ->Arg(149) // the longest walk of the chain
    ->Arg(150) // the first sum of terms
    ->Arg(170)
    ->Arg(67'108'864)
    ->Unit(benchmark::kMicrosecond);

// The chance of the largest count of that many spins reaching three
// standard deviations above n / 37, as the hottest number usually does.
void BM_LargestCountAtLeastChance(benchmark::State &state)
{
    const qint64 spins = state.range(0);
    const auto count = qint64(std::ceil(spins / 37.0 + 3 * std::sqrt(spins / 37.0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LargestCountAtLeastChance(spins, count));
}
BENCHMARK(BM_LargestCountAtLeastChance)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

// Both ends of the band that holds all 37 counts, each found by a few of
// the chances above.
void BM_AllCountsBand(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(AllCountsBand(state.range(0)));
}
BENCHMARK(BM_AllCountsBand)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(20'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return trevolo::RunWindowBenchmarks(argc, argv);
}
