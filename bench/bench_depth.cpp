// The depth of a long history: the gap figures of every number and group
// built from nothing, kept up to date over a keystroke at the end and an edit
// in the middle, what the analysis window would add to a pass over the whole
// history and over the last 1000 spins, and the simulation of the family
// chance of the hottest arc.
#include "analysis/Chances.h"
#include "analysis/HistoryDepth.h"
#include "analysis/SpinHistoryModel.h"
#include "analysis/WheelArcs.h"

#include <benchmark/benchmark.h>

namespace {

using namespace trevolo;

constexpr qint32 Lines = 1'000'000;

// `lines` spins of the program's generator, one per line, and the empty last
// line a history ending in a break has.
std::vector<quint8> generatedCodes(qint32 lines)
{
    std::vector<quint8> codes;
    codes.reserve(size_t(lines) + 1);
    quint32 state = 2024;
    for (qint32 i = 0; i < lines; ++i) {
        state = state * 134775813u + 1u;
        codes.push_back(quint8((quint64(state) * 37) >> 32));
    }
    codes.push_back(SpinHistoryModel::EmptyLine);
    return codes;
}

// What the window reads for the whole history or a span: the gap figures,
// the gap lengths of one group and the hottest arc.
void windowFigures(HistoryDepth &depth, qint32 span)
{
    const DepthFigures figures = depth.Figures(span);
    std::array<qint32, WheelSize> occurrence{};
    for (int n = 0; n < WheelSize; ++n)
        occurrence[size_t(n)] = figures.numbers[size_t(n)].hits;
    benchmark::DoNotOptimize(HottestArc(occurrence, DefaultArcWidth));
    benchmark::DoNotOptimize(depth.GroupGapHistogram(0, span));
}

// Everything from the line codes: the spins, then every figure with its
// checkpoints.
void BM_DepthFromNothing(benchmark::State &state)
{
    const std::vector<quint8> codes = generatedCodes(qint32(state.range(0)));
    HistoryDepth depth;
    for (auto _ : state) {
        depth.Assign(codes);
        windowFigures(depth, 0);
    }
    state.counters["MB"] = double(depth.MemoryBytes()) / 1e6;
}
BENCHMARK(BM_DepthFromNothing)->Arg(100'000)->Arg(Lines)->Unit(benchmark::kMillisecond);

// The figures alone, afresh, for comparison.
void BM_ComputeDepth(benchmark::State &state)
{
    std::vector<quint8> spins = generatedCodes(qint32(state.range(0)));
    spins.pop_back();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeDepth(spins));
}
BENCHMARK(BM_ComputeDepth)->Arg(Lines)->Unit(benchmark::kMillisecond);

// A keystroke at the end and its Backspace, each followed by what the window
// reads of the whole history: the spin "7" typed into the empty last line,
// then taken out again.
void BM_DepthKeystrokeAtEnd(benchmark::State &state)
{
    HistoryDepth depth;
    depth.Assign(generatedCodes(Lines));
    windowFigures(depth, 0);
    const quint8 seven = 7, empty = SpinHistoryModel::EmptyLine;
    for (auto _ : state) {
        depth.Replace(Lines, 1, {&seven, 1});
        windowFigures(depth, 0);
        depth.Replace(Lines, 1, {&empty, 1});
        windowFigures(depth, 0);
    }
    state.SetLabel("2 edits, 2 passes");
}
BENCHMARK(BM_DepthKeystrokeAtEnd)->Unit(benchmark::kMicrosecond);

// New spins one after another at the end, each a line of its own, each with
// a pass: the history grows as the benchmark runs.
void BM_DepthAppendSpin(benchmark::State &state)
{
    HistoryDepth depth;
    depth.Assign(generatedCodes(Lines));
    windowFigures(depth, 0);
    quint8 spin = 0;
    for (auto _ : state) {
        const quint8 lines[2] = {spin, SpinHistoryModel::EmptyLine};
        depth.Replace(depth.LineCount() - 1, 1, lines);
        windowFigures(depth, 0);
        spin = quint8((spin + 11) % WheelSize);
    }
}
BENCHMARK(BM_DepthAppendSpin)->Unit(benchmark::kMicrosecond);

// A spin changed in the middle of the history, and changed back, each with a
// pass: everything after it is counted again.
void BM_DepthEditInMiddle(benchmark::State &state)
{
    HistoryDepth depth;
    depth.Assign(generatedCodes(Lines));
    windowFigures(depth, 0);
    const quint8 codes[2] = {7, 8};
    int i = 0;
    for (auto _ : state) {
        depth.Replace(Lines / 2, 1, {&codes[i], 1});
        windowFigures(depth, 0);
        i = 1 - i;
    }
}
BENCHMARK(BM_DepthEditInMiddle)->Unit(benchmark::kMillisecond);

// A pass of the window over the last 1000 spins of a long history: the
// statistics and every figure of the window's first page, then the gaps and
// the arc.
void BM_Span1000(benchmark::State &state)
{
    HistoryDepth depth;
    depth.Assign(generatedCodes(Lines));
    for (auto _ : state) {
        const HistoryStatistics statistics = SpanStatistics(depth.LastSpins(1000), u"170");
        benchmark::DoNotOptimize(ComputeAnalysis(statistics, u"170"));
        windowFigures(depth, 1000);
    }
}
BENCHMARK(BM_Span1000)->Unit(benchmark::kMicrosecond);

// One full simulation of the family chance of an arc of width 2.
void BM_SimulateLargestArc(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SimulateLargestArc(qint32(state.range(0)), DefaultArcWidth));
    state.SetLabel(std::to_string(ArcSimulationHistories) + " histories");
}
BENCHMARK(BM_SimulateLargestArc)
    ->Arg(37)
    ->Arg(1500) // the longest drawn spin by spin
    ->Arg(1501) // the first drawn as a multinomial
    ->Arg(10'000)
    ->Arg(Lines)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
