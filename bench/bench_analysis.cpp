// What the analysis window adds to a keystroke at the end of a long history:
// a keystroke with the window closed and open on each of its pages, the
// window's own share of a pass, one full refresh of the window with its
// repaint (the chart at most once every AnalysisForm::RefreshDelay, whatever
// the rate of passes), the figures alone, the drought family chance across
// its whole range, and the chances of the largest and the smallest count
// that the figures search. The window shows the whole history throughout.
#include "BenchSupport.h"

#include "analysis/Chances.h"
#include "analysis/EverExtremes.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/Statistics.h"
#include "app/analysiswindow/AnalysisForm.h"
#include "app/widgets/ChildWindow.h"

#include <QApplication>
#include <QLineEdit>
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

// A history whose last line alternates between the spin 17 typed into the
// empty last line and that spin taken out, so every figure changes from one
// edit to the next as it does on a keystroke.
struct TwoHistories
{
    SpinHistory history;
    qint32 lastLine = 0;
    TwoHistories()
    {
        std::vector<quint8> codes;
        SpinHistoryModel::AppendCodes(GeneratedHistory(Lines), codes);
        history.Assign(codes);
        lastLine = qint32(codes.size()) - 1;
    }
    void Next(bool second)
    {
        static constexpr quint8 Typed[] = {17, SpinHistoryModel::EmptyLine};
        if (second)
            history.Replace(lastLine, 1, Typed);
        else
            history.Replace(lastLine, 2, std::span(Typed).last(1));
    }
};

// Shows an analysis window on page range(0) beside the main window, over a
// history of its own, then edits that history in turn; `show` is what
// follows each edit.
template <typename Show>
void AlternateEdits(benchmark::State &state, Show &&show)
{
    BenchWindow window;
    window.Show();
    TwoHistories edits;
    QLineEdit threshold(QStringLiteral("170"));
    AnalysisForm analysis(edits.history, threshold, {}, &window.form);
    PlaceChildWindow(analysis, window.form,
                     {AnalysisForm::PreferredSize, AnalysisForm::SmallestSize});
    analysis.show();
    ShowPage(analysis, int(state.range(0)));
    bool second = false;
    for (auto _ : state) {
        second = !second;
        edits.Next(second);
        show(analysis);
    }
    state.SetLabel(PageNames[state.range(0)]);
}

// The window's share of an edit of the history with the edit itself: the
// figures, the tables and the wheel of the page in view at once, its chart
// kept for the next refresh.
void BM_AnalysisFollow(benchmark::State &state)
{
    AlternateEdits(state, [](AnalysisForm &) {});
}
BENCHMARK(BM_AnalysisFollow)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// One refresh: the figures, the controls, the wheel and the chart of the
// page in view, and the repaint that follows.
void BM_AnalysisRefresh(benchmark::State &state)
{
    AlternateEdits(state, [](AnalysisForm &analysis) {
        analysis.Refresh();
        QApplication::processEvents();
    });
}
BENCHMARK(BM_AnalysisRefresh)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The figures alone, no widgets.
void BM_ComputeAnalysis(benchmark::State &state)
{
    const QString history = GeneratedHistory(Lines);
    const HistoryStatistics before = ComputeStatistics(history, u"170");
    const HistoryStatistics after = ComputeStatistics(history + QStringLiteral("17\n"), u"170");
    bool second = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeAnalysis(second ? after : before, u"170"));
        second = !second;
    }
}
BENCHMARK(BM_ComputeAnalysis)->Unit(benchmark::kMicrosecond);

// One run of the session chances on the thread, at a length that spends
// the whole budget of spins: every family as unusual as 0,1 % now.
void BM_EverSimulation(benchmark::State &state)
{
    const EverInputs inputs{qint32(state.range(0)), {0.001, 0.001, 0.001, 0.001}};
    for (auto _ : state)
        benchmark::DoNotOptimize(SimulateEverExtremes(inputs));
}
BENCHMARK(BM_EverSimulation)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

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
