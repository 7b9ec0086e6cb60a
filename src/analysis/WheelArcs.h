#pragma once

// Arcs of the wheel: a pocket with its neighbours on either side. The arc
// with the most hits, how unusual that many hits are for one arc, and, by
// simulation, how often the most hit of all 37 arcs of that width reaches as
// many on a fair wheel.
#include "analysis/Chances.h"
#include "analysis/SimulationRunner.h"

#include <QString>
#include <array>
#include <atomic>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

class QThread;

namespace trevolo {

constexpr int MinArcWidth = 1;
constexpr int MaxArcWidth = 9;
constexpr int DefaultArcWidth = 2;

// The numbers of the arc around `centre`: `width` neighbours on each side in
// wheel order (WheelOrder), 2 width + 1 pockets (all 37 from width 18 on).
NumberSet ArcMembers(int centre, int width);

// The hits of every arc of that width, by the number at its centre.
std::array<qint32, WheelSize> ArcHits(const std::array<qint32, WheelSize> &occurrence, int width);

struct HotArc
{
    int centre = -1; // -1 without spins
    int width = 0;
    qint32 hits = 0;
    qint32 spins = 0;
    double expected = 0; // spins (2 width + 1) / 37
    // P(Bin(spins, (2 width + 1) / 37) >= hits); NaN without spins.
    double chance = std::numeric_limits<double>::quiet_NaN();
};

// The arc with the most hits; of equal ones the arc whose centre comes first
// in wheel order from 0.
HotArc HottestArc(const std::array<qint32, WheelSize> &occurrence, int width);
// "<centre> ±<width>: <hits> (ожидается <expected, one decimal>)"; "—"
// without spins.
QString HotArcText(const HotArc &arc);

constexpr qint32 ArcSimulationHistories = 20000;

// The largest arc count of each of a number of fair histories.
struct ArcSimulation
{
    qint32 spins = 0;
    int width = 0;
    std::vector<qint32> largest; // one per history, ascending
};

// Draws `histories` fair histories of `spins` spins and keeps the largest
// count among the 37 arcs of `width` in each. The draws are seeded from
// spins and width alone, so the same inputs give the same result. Returns
// nothing once *stop is seen set (it is looked at every few hundred
// histories). Safe on any thread: it touches nothing shared but *stop.
// 20,000 histories take about the same time for any number of spins (the
// counts are drawn as a multinomial).
std::optional<ArcSimulation> SimulateLargestArc(qint32 spins, int width,
                                                const std::atomic_bool *stop = nullptr,
                                                qint32 histories = ArcSimulationHistories);

// The chance that the largest arc reaches `hits`, estimated from the share of
// the simulated histories where it did.
struct SimulatedChance
{
    qint32 histories = 0;
    qint32 reached = 0;
    double estimate = std::numeric_limits<double>::quiet_NaN();
    // Half the width of its 95 % interval; 0 where the chance is certain (no
    // more hits than the mean arc holds, which the largest always reaches).
    double error = 0;
};
SimulatedChance LargestArcChance(const ArcSimulation &simulation, qint32 hits);
// The share `reached` of `histories` with the error of its adjusted
// (Agresti-Coull) interval, which keeps a width at 0 and at every history;
// NaN without histories.
SimulatedChance SimulatedShare(qint32 reached, qint32 histories);
// "12 % ± 0,5 %": the estimate in the window's chance format (FormatChance,
// "0 %" for none reached), then its error to one significant digit; a certain
// chance without the error. NaN gives "—".
QString FormatSimulatedChance(const SimulatedChance &chance);

// Runs SimulateLargestArc beside the window (SimulationRunner).
class ArcSimulator : public SimulationRunner
{
    Q_OBJECT

public:
    explicit ArcSimulator(QObject *parent = nullptr);

    void Request(qint32 spins, int width);
    // The result for these inputs once it is there, else nullptr. Valid until
    // the next call of Request.
    const ArcSimulation *Result(qint32 spins, int width) const;

private:
    using Inputs = std::pair<qint32, int>;
    bool HasWanted() const override { return Result(m_wanted.first, m_wanted.second); }
    bool RunsWanted() const override { return m_running == m_wanted; }
    Run StartWanted() override;
    void Keep(std::any output) override;

    Inputs m_running{-1, 0};
    Inputs m_wanted{-1, 0};
    std::optional<ArcSimulation> m_result;
};

} // namespace trevolo
