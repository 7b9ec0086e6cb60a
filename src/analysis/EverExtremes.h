#pragma once

// How often a fair history of the same length shows, at some moment, a
// thing as unusual as the one the history shows now: a player looks after
// every spin, so the one-moment family chances flatter a long watch. By
// simulation on a thread of its own, like the arcs' family chance.
#include "analysis/WheelArcs.h"

namespace trevolo {

// The families, in the order of the summary page.
enum EverFamily
{
    EverHottest, // the largest count: LargestCountAtLeastChance at moment t
    EverDrought, // the longest absence of a number: MissChance(1, spins)
    EverGroups,  // a miss run of one of the 12 combinations: MissChance(size, run)
    EverSectors, // of one of the 4 sectors
    EverFamilyCount
};

// A run draws at most this many spins in all: fewer histories for a longer
// history, and none beyond EverSimulationBudget / EverMinimumHistories spins,
// whose figures read "—".
constexpr qint64 EverSimulationBudget = 1'000'000;
constexpr qint32 EverMaximumHistories = 20000;
constexpr qint32 EverMinimumHistories = 100;
// How many histories a run of that length draws; 0 for none.
qint32 EverHistories(qint32 spins);

// What the history shows now: its length and, for each family, the chance
// of its most unusual thing at this moment (hottestFamilyP, droughtP and the
// chance of the most unusual combination and sector), -1 for none (so
// that equal inputs compare equal).
struct EverInputs
{
    qint32 spins = -1;
    std::array<double, EverFamilyCount> now{};
    bool operator==(const EverInputs &) const = default;
};
EverInputs EverInputsOf(const AnalysisFigures &figures);

// For each family, how many of the fair histories of that length showed a
// thing at least as unusual (a chance at most `now`) at some moment.
struct EverSimulation
{
    EverInputs inputs;
    qint32 histories = 0;
    std::array<qint32, EverFamilyCount> reached{};
};

// Draws the histories, seeded from the length alone. Returns nothing once
// *stop is seen set (looked at after every history). Safe on any thread: it
// touches nothing shared but *stop.
std::optional<EverSimulation> SimulateEverExtremes(const EverInputs &inputs,
                                                   const std::atomic_bool *stop = nullptr,
                                                   qint32 histories = -1);

// The family's share with its error as LargestArcChance gives it; NaN
// without histories or for a NaN chance now.
SimulatedChance EverChance(const EverSimulation &simulation, EverFamily family);

// Runs SimulateEverExtremes beside the window (SimulationRunner).
class EverSimulator : public SimulationRunner
{
    Q_OBJECT

public:
    explicit EverSimulator(QObject *parent = nullptr);

    void Request(const EverInputs &inputs);
    // The result for these inputs once it is there, else nullptr. Valid
    // until the next call of Request.
    const EverSimulation *Result(const EverInputs &inputs) const;

private:
    bool HasWanted() const override { return Result(m_wanted); }
    bool RunsWanted() const override { return m_running == m_wanted; }
    Run StartWanted() override;
    void Keep(std::any output) override;

    EverInputs m_running;
    EverInputs m_wanted;
    std::optional<EverSimulation> m_result;
};

} // namespace trevolo
