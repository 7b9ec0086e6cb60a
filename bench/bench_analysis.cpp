// What the analysis window adds to a keystroke at the end of a long history:
// a keystroke with the window closed and open on each of its pages, the
// window's own share of a pass, one full refresh of the window with its
// repaint (the chart at most once every AnalysisForm::RefreshDelay, whatever
// the rate of passes), the figures alone, the drought family chance across
// its whole range, and the chances of the largest and the smallest count
// that the figures search. The window shows the whole history throughout.
#include "BenchSupport.h"

#include "analysis/Chances.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/Statistics.h"
#include "app/analysiswindow/AnalysisForm.h"

#include <QApplication>
#include <QTabWidget>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace trevolo;

constexpr int Lines = 1'000'000;

const char *const PageNames[] = {"summary", "gaps", "wheel"};

void ShowPage(AnalysisForm &analysis, int page)
{
    analysis.findChild<QTabWidget *>(QStringLiteral("AnalysisPages"))->setCurrentIndex(page);
    QApplication::processEvents();
}

// A keystroke at the end and its Backspace, each with its pass; range(0) is
// 1 with the window open on page range(1), so the difference is the window's
// share.
void BM_KeystrokeWithAnalysis(benchmark::State &state)
{
    KeystrokeWithChildWindow(
        state, &TForm1::n27, Lines,
        [&state](TForm1 &form) { ShowPage(*form.analysisForm(), int(state.range(1))); },
        std::string("window open on ") + PageNames[state.range(1)]);
}
BENCHMARK(BM_KeystrokeWithAnalysis)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

// Two passes one spin apart, so every figure changes from one call to the
// next as it does on a keystroke, with the depth of the history following
// the same edit: the spin 17 typed into the empty last line, then taken out.
struct TwoPasses
{
    HistoryStatistics before, after;
    HistoryDepth depth;
    qint32 lastLine = 0;
    TwoPasses()
    {
        const QString history = GeneratedHistory(Lines);
        before = ComputeStatistics(history, u"170");
        after = ComputeStatistics(history + QStringLiteral("17\n"), u"170");
        std::vector<quint8> codes;
        SpinHistoryModel::AppendCodes(history, codes);
        depth.Assign(codes);
        lastLine = qint32(codes.size()) - 1;
    }
    // The pass after the edit that leads to it.
    const HistoryStatistics &Next(bool second)
    {
        static constexpr quint8 Typed[] = {17, SpinHistoryModel::EmptyLine};
        if (second)
            depth.Replace(lastLine, 1, Typed);
        else
            depth.Replace(lastLine, 2, std::span(Typed).last(1));
        return second ? after : before;
    }
};

// Shows the analysis window on page range(0), then hands it the two passes
// in turn; `show` is what the main window would call with one of them.
template <typename Show>
void AlternatePasses(benchmark::State &state, Show &&show)
{
    BenchWindow window;
    window.Show();
    window.form.n27->trigger();
    QApplication::processEvents();
    AnalysisForm &analysis = *window.form.analysisForm();
    TwoPasses passes;
    analysis.ShowStatistics(passes.before, u"170", passes.depth);
    ShowPage(analysis, int(state.range(0)));
    bool second = false;
    for (auto _ : state) {
        second = !second;
        show(analysis, passes.Next(second), passes.depth);
    }
    state.SetLabel(PageNames[state.range(0)]);
}

// The window's share of a pass, as Calc calls it: the figures, the tables
// and the wheel of the page in view at once, its chart kept for the next
// refresh.
void BM_AnalysisFollow(benchmark::State &state)
{
    AlternatePasses(state, [](AnalysisForm &analysis, const HistoryStatistics &pass,
                              HistoryDepth &depth) { analysis.Follow(pass, u"170", depth); });
}
BENCHMARK(BM_AnalysisFollow)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// One refresh: the figures, the controls, the wheel and the chart of the
// page in view, and the repaint that follows.
void BM_AnalysisRefresh(benchmark::State &state)
{
    AlternatePasses(state,
                    [](AnalysisForm &analysis, const HistoryStatistics &pass, HistoryDepth &depth) {
                        analysis.ShowStatistics(pass, u"170", depth);
                        QApplication::processEvents();
                    });
}
BENCHMARK(BM_AnalysisRefresh)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

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
