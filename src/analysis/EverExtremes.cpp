#include "analysis/EverExtremes.h"


#include <algorithm>
#include <bit>
#include <cmath>
#include <random>

namespace trevolo {

namespace {

// Chances that differ only by rounding count as equal.
bool atMost(double chance, double now)
{
    return chance <= now * (1 + 1e-9);
}

// For each count c, the last moment t at which the largest count reaching c
// is as unusual as `now` (LargestCountAtLeastChance grows with t), 0 for
// none: found by bisection, so a run pays about c log2(spins) chances.
std::vector<qint32> lastMoments(qint32 spins, double now)
{
    std::vector<qint32> last(size_t(spins) + 1);
    for (qint32 c = 1, low = 1; c <= spins && now >= 0; ++c) {
        low = std::max(low, c);
        if (!atMost(LargestCountAtLeastChance(low, c), now))
            continue;
        qint32 high = spins;
        while (low < high) {
            const qint32 middle = low + (high - low + 1) / 2;
            if (atMost(LargestCountAtLeastChance(middle, c), now))
                low = middle;
            else
                high = middle - 1;
        }
        last[size_t(c)] = low;
        if (low == spins) // and so for every larger count
            break;
    }
    return last;
}

} // namespace

qint32 EverHistories(qint32 spins)
{
    if (spins <= 0)
        return 0;
    const qint64 histories = std::min<qint64>(EverMaximumHistories, EverSimulationBudget / spins);
    return histories < EverMinimumHistories ? 0 : qint32(histories);
}

EverInputs EverInputsOf(const AnalysisFigures &f)
{
    const auto known = [](double chance) { return std::isnan(chance) ? -1.0 : chance; };
    return {f.spins,
            {known(f.hottestFamilyP), known(f.droughtP), known(f.combinations.chance),
             known(f.sectors.chance)}};
}

std::optional<EverSimulation> SimulateEverExtremes(const EverInputs &inputs,
                                                   const std::atomic_bool *stop, qint32 histories)
{
    EverSimulation simulation;
    simulation.inputs = inputs;
    const qint32 n = inputs.spins;
    simulation.histories = histories < 0 ? EverHistories(n) : histories;
    if (simulation.histories <= 0)
        return simulation;
    const std::vector<qint32> lastMoment = lastMoments(n, inputs.now[EverHottest]);
    // The longest run of each group row as unusual as now, by group row (a
    // miss run only grows more unusual); the longest absence likewise.
    std::array<qint32, GroupRowCount> needed{};
    for (int row = 0; row < GroupRowCount; ++row) {
        const double now = inputs.now[row < CombinationCount ? EverGroups : EverSectors];
        const int size = std::popcount(GroupMembers(row));
        needed[size_t(row)] = n + 1;
        for (qint32 run = 0; run <= n && now >= 0; ++run)
            if (atMost(MissChance(size, run), now)) {
                needed[size_t(row)] = run;
                break;
            }
    }
    qint32 absenceNeeded = n + 1;
    for (qint32 run = 0; run <= n && inputs.now[EverDrought] >= 0; ++run)
        if (atMost(MissChance(1, run), inputs.now[EverDrought])) {
            absenceNeeded = run;
            break;
        }

    std::mt19937_64 engine(0x9e3779b97f4a7c15ull ^ quint64(n));
    std::uniform_int_distribution<int> pocket(0, WheelSize - 1);
    std::array<NumberSet, GroupRowCount> members{};
    for (int row = 0; row < GroupRowCount; ++row)
        members[size_t(row)] = GroupMembers(row);
    for (qint32 h = 0; h < simulation.histories; ++h) {
        if (stop && stop->load(std::memory_order_relaxed))
            return std::nullopt;
        std::array<qint32, WheelSize> counts{}, lastHit{};
        std::array<qint32, GroupRowCount> lastGroupHit{};
        qint32 largest = 0, longestAbsence = 0;
        bool hottest = false;
        std::array<bool, GroupRowCount> groupReached{};
        for (qint32 t = 1; t <= n; ++t) {
            const int x = pocket(engine);
            if (++counts[size_t(x)] > largest) {
                largest = counts[size_t(x)];
                hottest = hottest || t <= lastMoment[size_t(largest)];
            }
            // Absences and miss runs as they stood after spin t - 1.
            longestAbsence = std::max(longestAbsence, t - 1 - lastHit[size_t(x)]);
            lastHit[size_t(x)] = t;
            for (int row = 0; row < GroupRowCount; ++row)
                if (members[size_t(row)] >> x & 1) {
                    groupReached[size_t(row)] =
                        groupReached[size_t(row)] ||
                        t - 1 - lastGroupHit[size_t(row)] >= needed[size_t(row)];
                    lastGroupHit[size_t(row)] = t;
                }
        }
        for (int x = 0; x < WheelSize; ++x)
            longestAbsence = std::max(longestAbsence, n - lastHit[size_t(x)]);
        for (int row = 0; row < GroupRowCount; ++row)
            groupReached[size_t(row)] =
                groupReached[size_t(row)] || n - lastGroupHit[size_t(row)] >= needed[size_t(row)];
        const auto any = [&](int first, int count) {
            return std::any_of(groupReached.begin() + first, groupReached.begin() + first + count,
                               [](bool b) { return b; });
        };
        simulation.reached[EverHottest] += hottest;
        simulation.reached[EverDrought] += longestAbsence >= absenceNeeded;
        simulation.reached[EverGroups] += any(0, CombinationCount);
        simulation.reached[EverSectors] += any(CombinationCount, SectorCount);
    }
    return simulation;
}

SimulatedChance EverChance(const EverSimulation &simulation, EverFamily family)
{
    if (simulation.inputs.now[family] < 0)
        return {simulation.histories, simulation.reached[family]};
    return SimulatedShare(simulation.reached[family], simulation.histories);
}

EverSimulator::EverSimulator(QObject *parent) : SimulationRunner(parent) {}

void EverSimulator::Request(const EverInputs &inputs)
{
    m_wanted = inputs;
    Ask();
}

const EverSimulation *EverSimulator::Result(const EverInputs &inputs) const
{
    return m_result && m_result->inputs == inputs ? &*m_result : nullptr;
}

SimulationRunner::Run EverSimulator::StartWanted()
{
    m_running = m_wanted;
    return [inputs = m_running](const std::atomic_bool &stop) -> std::any {
        if (auto simulation = SimulateEverExtremes(inputs, &stop))
            return std::move(*simulation);
        return {};
    };
}

void EverSimulator::Keep(std::any output)
{
    m_result = std::any_cast<EverSimulation>(std::move(output));
}

} // namespace trevolo
