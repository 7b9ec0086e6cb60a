#pragma once

// The system tester: a betting system that waits until a combination has
// missed a number of spins in a row and then bets on it with a multiplying
// series, replayed over the history, beside its exact figures on a fair
// wheel. Widget-free and reentrant: every function here may run on any
// thread, on its own copies of the inputs.
#include "analysis/Chances.h"

#include <QFlags>
#include <QString>
#include <QStringView>
#include <array>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace trevolo {

constexpr int SystemMaxSteps = 30;
constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();
constexpr qint32 SystemMaxTrigger = 1000;

// The inputs of the tester, so the window can mark the ones refused.
enum class SystemField : quint16
{
    Group = 1 << 0,
    Trigger = 1 << 1,
    MinStake = 1 << 2,
    Multiplier = 1 << 3,
    Steps = 1 << 4,
    TableLimit = 1 << 5,
    Bankroll = 1 << 6,
    Target = 1 << 7,
};
Q_DECLARE_FLAGS(SystemFields, SystemField)
Q_DECLARE_OPERATORS_FOR_FLAGS(SystemFields)

// A system. Money is whole units; stakes are minStake * multiplier^(k-1).
struct SystemInputs
{
    int group = 0;         // 0..11: the combinations Red .. Column3 (GroupMembers row)
    qint32 trigger = 5;    // start a series after this many misses in a row, 0..1000
    qint32 minStake = 5;   // the first stake, >= 1
    qint32 multiplier = 3; // >= 1
    qint32 steps = 8;      // bets per series at most, 1..30
    qint32 tableLimit = 0; // the largest stake the table takes; 0: no limit
    qint32 bankroll = 0;   // >= 0
    qint32 target = 0;     // the bankroll to stop at, > bankroll
};

// The window's field texts, each read by the integer rule.
struct SystemInputTexts
{
    QString trigger, minStake, multiplier, steps, tableLimit, bankroll, target;
};

struct SystemInputCheck
{
    SystemInputs inputs;  // the values read; a text that does not read gives -1
    SystemFields invalid; // InvalidSystemFields(inputs)
};

// The inputs refused: out of range; a first stake above the table limit
// (both fields); a stake or the cost of a whole series beyond the signed
// 32-bit range (minimum stake, multiplier and steps); a target not above the
// bankroll. A bankroll below the first stake is no fault: its ruin is
// certain.
SystemFields InvalidSystemFields(const SystemInputs &inputs);
// Why the field is refused, naming it and what it takes ("Умножение: целое
// число от 1 до 100"); empty when it is not. Where the series outgrows the
// signed 32-bit range the bound given is the largest that fits with the
// other fields as they are.
QString SystemFieldReason(const SystemInputs &inputs, SystemField field);
// Reads the texts by the integer rule; a text that does not read is refused.
SystemInputCheck ReadSystemInputs(int group, const SystemInputTexts &texts);

// The window's starting values from the calculator's minimum stake and
// multiplier: trigger 5, 8 steps, no limit, the bankroll one whole series
// and the target that plus 20 first stakes (each 0 when it cannot be had).
SystemInputs DefaultSystemInputs(qint32 minStake, qint32 multiplier);

// One series as the system plays it.
struct SeriesPlan
{
    NumberSet members = 0; // the group's numbers; zero is in none
    int payout = 1;        // 1 for a group of 18, 2 for a group of 12
    double chance = 0;     // p: 18/37 or 12/37
    int bets = 0;          // n: steps, cut where a stake would pass the limit
    std::array<qint64, SystemMaxSteps> stakes{};
    std::array<qint64, SystemMaxSteps> winNet{}; // net of a series won at bet k + 1
    qint64 cost = 0;                             // the sum of the n stakes
};
// Empty when InvalidSystemFields(inputs) is not.
std::optional<SeriesPlan> PlanSeries(const SystemInputs &inputs);

// A point of the chart: the bankroll after `spin` spins (0 is the start).
struct ResultPoint
{
    qint32 spin = 0;
    qint64 bank = 0;
};
// Histories with more spins than this get their chart thinned.
constexpr int ChartMaxPoints = 2000;

// The chance that m series on a fair wheel average at least `mean` (upper)
// or at most `mean` (not upper), each series ending at bet k with chance
// q^(k-1) p or lost whole with chance q^n. Exact (the distribution of the
// sum worked out over the money) while that costs at most a few
// milliseconds; beyond it the saddle-point approximation of the same sum
// with its lattice correction.
double FairMeanTail(const SeriesPlan &plan, qint64 m, double mean, bool upper);

// The system replayed over the history as a player with the bankroll plays
// it, in sessions. A session starts with the initial bankroll and ends at
// ruin (a bankroll below the first stake) or when the bankroll reaches the
// target; the next one starts at the next spin with the initial bankroll
// again. A series starts on the spin after the group has missed at least
// `trigger` spins in a row; the run counts every spin since the group last
// came up, zero included. A series whose next stake the bankroll cannot
// place ends there, lost as far as it went (cut). A series still open at
// the end counts as started only; its bets count in the bets, the money
// and the chart.
struct SystemReplay
{
    qint64 spins = 0;
    qint64 series = 0, seriesWon = 0, seriesLost = 0; // lost: whole or cut
    qint64 seriesCut = 0;
    qint64 bets = 0, betsWon = 0;
    qint64 net = 0, staked = 0; // over every session, the open one included
    qint64 maxDrawdown = 0;     // largest fall of a session's bankroll from its peak
    qint64 worstLostRun = 0;    // longest run of lost series
    qint64 sessions = 0, sessionsTarget = 0, sessionsRuined = 0;
    bool sessionOpen = false; // the last session has not ended
    double fairChance = 0;    // p
    // betsWon / bets with its 95 % Wilson interval; NaN without bets.
    double hitRate = NoValue, hitLow = NoValue, hitHigh = NoValue;
    // The mean net of the system's series won or lost whole (m of them);
    // NaN without one.
    qint64 wholeSeries = 0;
    double seriesMean = NoValue;
    // A series entered at every spin of the history whose series ends
    // within it, played out in full: how many and their exact mean net. NaN
    // without one.
    qint64 randomSeries = 0;
    double randomMean = NoValue;
    // How unusual the system's mean is for a fair wheel: the chance of m
    // fair series averaging at least as much (seriesMeanAbove) or at most as
    // much as it; and the chance (1 - q^n)^m that m fair series lose none
    // whole. NaN without m.
    bool seriesMeanAbove = false;
    double seriesMeanChance = NoValue;
    double noWholeLossChance = NoValue;
    // The bankroll of each session from spin 0 to the last spin: every
    // point up to ChartMaxPoints, else the first and last point and, in each
    // of ChartMaxPoints / 2 - 1 equal stretches of spins, its lowest and
    // highest point in order, so every extreme survives. A new session
    // starts with a point at the spin the last one ended on.
    std::vector<ResultPoint> chart;
    // Where sessions ended, at most one of each kind per stretch.
    std::vector<ResultPoint> ruins, targets;
};

// One pass over the lines' codes (SpinHistoryModel: 0..36 a spin, anything
// else a line that is no spin and is skipped). Empty when the inputs are
// invalid. About 10 ms for 1,000,000 spins.
std::optional<SystemReplay> ReplaySystem(std::span<const quint8> lineCodes,
                                         const SystemInputs &inputs);

// The exact figures of one series on a fair wheel.
struct SystemExact
{
    int bets = 0;
    qint64 seriesCost = 0;
    double fairChance = 0;                // p
    double seriesLossChance = NoValue;    // q^n
    double expectedNet = NoValue;         // per series
    double expectedStaked = NoValue;      // per series
    double expectedLossPerUnit = NoValue; // -expectedNet / expectedStaked: 1/37 for any series
};
std::optional<SystemExact> ExactFigures(const SystemInputs &inputs);

// "На честном колесе эта система в среднем теряет 0,24 на серию; ..." for an
// expected net per series; NaN gives "—".
QString SystemVerdict(double expectedNet);

// The 95 % Wilson score interval of `successes` in `trials` (> 0).
std::pair<double, double> WilsonInterval(qint64 successes, qint64 trials);

} // namespace trevolo
