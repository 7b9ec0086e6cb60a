// The system tester's engine: one replay of a 1,000,000-spin history with
// every figure (the entry at every spin and the fair-wheel chance of the
// system's mean included), the exact figures, and the ruin chain for
// bankrolls of 10^3, 10^5 and 10^6 units.
#include "analysis/SpinHistoryModel.h"
#include "system/SystemRuin.h"
#include "system/SystemTester.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace trevolo;

// 1,000,000 spins and, every 1,000 lines, an empty line.
const std::vector<quint8> &history()
{
    static const std::vector<quint8> codes = [] {
        std::mt19937_64 random(11);
        std::uniform_int_distribution<int> spin(0, 36);
        std::vector<quint8> c;
        for (int i = 0; i < 1'000'000; ++i) {
            c.push_back(quint8(spin(random)));
            if (i % 1000 == 999)
                c.push_back(SpinHistoryModel::EmptyLine);
        }
        return c;
    }();
    return codes;
}

// range(0): the trigger; 0 bets on every spin, the most series there are.
void BM_Replay(benchmark::State &state)
{
    SystemInputs in; // red, 5 x 3, 8 steps
    in.trigger = qint32(state.range(0));
    in.bankroll = 16400;
    in.target = 16500;
    qint64 series = 0;
    for (auto _ : state) {
        const auto replay = ReplaySystem(history(), in);
        series = replay->series;
        benchmark::DoNotOptimize(replay->seriesMeanChance);
    }
    state.counters["series"] = double(series);
}
BENCHMARK(BM_Replay)->Arg(5)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Exact(benchmark::State &state)
{
    SystemInputs in;
    in.bankroll = 16400;
    in.target = 16500;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExactFigures(in)->expectedNet);
}
BENCHMARK(BM_Exact);

// range(0): the bankroll, the target 100 above it; range(1): the system:
// 0 red doubling 1 .. 128, 1 red 5 x 3 in 8 steps, 2 the first dozen
// doubling 1 .. 128.
void BM_Ruin(benchmark::State &state)
{
    SystemInputs in;
    in.bankroll = qint32(state.range(0));
    in.target = in.bankroll + 100;
    in.group = state.range(1) == 2 ? 6 : 0;
    in.minStake = state.range(1) == 1 ? 5 : 1;
    in.multiplier = state.range(1) == 1 ? 3 : 2;
    RuinFigure figure;
    for (auto _ : state)
        figure = SolveRuin(in);
    const RuinCost cost = EstimateRuin(in);
    state.counters["states"] = double(cost.states);
    state.counters["work"] = cost.work;
    state.counters["quick"] = cost.quick;
    state.counters["ruin"] = figure.chance;
    state.counters["solved"] = figure.status == RuinStatus::Solved;
}
BENCHMARK(BM_Ruin)
    ->ArgsProduct({{1'000, 100'000, 1'000'000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
