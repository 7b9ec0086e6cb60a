#pragma once

// How unusual the history is on a fair single-zero wheel: the bias test, the
// hottest number, the longest absence, the alarm's false-alarm rate and the
// miss runs of the combinations and the wheel sectors, each chance also for
// the whole family of things a player watches at once.
#include "analysis/CountExtremes.h"
#include "analysis/Statistics.h"

#include <QString>
#include <QStringView>
#include <array>
#include <limits>
#include <span>

namespace trevolo {

// A set of wheel numbers, bit n for the number n.
using NumberSet = quint64;

constexpr int SectorCount = 4;
// The table of groups: the twelve combinations (rows 0..11, group g at row
// g - 1), then the four wheel sectors.
constexpr int GroupRowCount = CombinationCount + SectorCount;

// The pockets of the wheel, clockwise from zero.
constexpr std::array<int, WheelSize> WheelOrder = {
    0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
    5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};

struct Sector
{
    const char16_t *name;
    NumberSet members;
};
extern const std::array<Sector, SectorCount> Sectors;

// The numbers of a group row: a combination (zero in none) or a sector.
NumberSet GroupMembers(int row);

// Sum of (count - n/37)^2 / (n/37) over the 37 counts, worked out in
// integers as (37 sum count^2 - n^2) / n; 0 for no spins.
double ChiSquareStatistic(const std::array<qint32, WheelSize> &counts);
// The same statistic with two decimals, rounded half up from the exact
// fraction; "—" for no spins.
QString ChiSquareText(const std::array<qint32, WheelSize> &counts);
// P(chi-square with `degrees` degrees of freedom >= statistic).
double ChiSquareUpperTail(double statistic, int degrees);
// P(chi-square with `degrees` degrees of freedom <= statistic).
double ChiSquareLowerTail(double statistic, int degrees);
// P(Bin(trials, chance) >= atLeast).
double BinomialUpperTail(qint64 trials, double chance, qint64 atLeast);
// 1 - (1 - chance)^members: at least one of that many independent things.
double AnyOfChance(double chance, int members);
// ((37 - size) / 37)^spins: one group of `size` numbers missing that many
// spins in a row.
double MissChance(int size, qint64 spins);
// P(a): at least one of the 37 numbers missing from the last `spins` spins.
// 1 for spins <= 0.
double AnyNumberMissingChance(qint64 spins);
// At least one group g has missed its last spans[g] spins (at most 16
// groups), by inclusion-exclusion over the subsets of groups.
double AnyGroupMissingChance(std::span<const NumberSet> groups, std::span<const qint64> spans);

// The group with the smallest chance on its own (the first of equals) and
// the chance that at least one of the family does as unusual a thing.
struct FamilyFigures
{
    int row = 0; // in the table of groups
    double chance = 1;
    double familyChance = 1;
};
// rows: the group rows of the family, runs/chances indexed by group row. A
// group that would need a run longer than `spins` to be as unusual cannot
// show one and leaves the family.
FamilyFigures MostUnusual(std::span<const int> rows, const std::array<qint32, GroupRowCount> &runs,
                          const std::array<double, GroupRowCount> &chances, qint64 spins);

constexpr qint32 BiasTestMinimumSpins = 185;
constexpr double BiasTestLevel = 0.01;

// What the bias test says: too few spins, a significant deviation, a
// distribution too even for chance, or nothing to see.
enum class BiasVerdict
{
    TooFewSpins,
    Uneven,
    TooEven,
    Fair,
};
QString BiasVerdictText(BiasVerdict verdict);
// The warning that goes with either significant verdict, with how often a
// fair wheel gives one at some moment up to that many spins when the verdict
// is read after every spin (VerdictEverShare); empty otherwise.
QString BiasVerdictNote(BiasVerdict verdict, qint64 spins);

// Up to a band's length, the share of fair histories whose verdict is
// significant (either way, p < 1 %) after at least one spin from
// BiasTestMinimumSpins on. Simulated by tools/verdict-ever.py.
struct VerdictEverBand
{
    qint32 spins;
    double share;
};
extern const std::array<VerdictEverBand, 7> VerdictEverBands;
// The band that holds a history of that length (the last one for a longer
// history, which reaches it more often still).
const VerdictEverBand &VerdictEverShare(qint64 spins);

// The chance that the bias test at BiasTestLevel finds a wheel on which one
// number comes up with chance p (the other 36 sharing 1 - p equally) after
// `spins` spins. Exact in the count of that number; the statistic of the
// other 36, given their total, is taken as chi-square with 35 degrees of
// freedom (no bias among them).
double BiasTestPower(qint64 spins, double p);
// The smallest such p that the test finds with 80 % power (BiasTestPower)
// after `spins` spins; NaN below BiasTestMinimumSpins. From 1000 spins on it
// is solved at `spins` rounded to three significant digits and carried over
// as sqrt(spins) (p - 1/37), which hardly changes there; each solution is
// kept, so a pass pays a few milliseconds once every 1 % of growth at most.
double DetectableChance(qint64 spins);

// What a bet on one number needs to pay off, and how long it takes to see it.
QString BreakEvenText();

// A 95 % interval of a chance; NaN ends where it is undefined.
struct ChanceRange
{
    double low = std::numeric_limits<double>::quiet_NaN();
    double high = std::numeric_limits<double>::quiet_NaN();
};
// The exact (Clopper-Pearson) interval of a chance seen `successes` times in
// `trials`, with `tail` left out on either side (95 % by default); NaN ends
// for no trials.
ChanceRange ChanceInterval(qint64 trials, qint64 successes, double tail = 0.025);
// The tail on either side of the hottest number's interval: 95 % for all 37
// numbers at once, so the number picked as the hottest is covered too.
constexpr double HottestIntervalTail = 0.025 / WheelSize;

// Every figure of the analysis window; NaN where a figure is undefined. With
// no spins that is every figure but the count of spins: the numbers read -1,
// the runs 0 and the texts "—".
struct AnalysisFigures
{
    qint32 spins = 0;
    // The bias test, from BiasTestMinimumSpins on.
    double chiSquare = 0;
    QString chiSquareText;      // "—" where chiSquare is NaN
    double chiSquareP = 0;      // P(chi-square >= statistic)
    double chiSquareLowerP = 0; // P(chi-square <= statistic)
    BiasVerdict verdict = BiasVerdict::TooFewSpins;
    double detectableChance = 0;
    int hottest = -1; // -1 without spins
    qint32 hottestCount = 0;
    double expectedCount = 0; // n / 37
    double hottestP = 0;
    double hottestFamilyP = 0; // P(the largest of the 37 counts >= hottestCount)
    ChanceRange hottestRange;  // of the hottest number's chance, at HottestIntervalTail
    int drought = -1;          // -1 without spins
    qint32 droughtSpins = 0;
    double droughtP = 0;
    double droughtFamilyP = 0;
    double alarmRate = 0;
    std::array<qint32, GroupRowCount> runs{};
    std::array<double, GroupRowCount> chances{};
    FamilyFigures combinations;
    FamilyFigures sectors;
    // All 37 counts between these with 95 %, both counts inside the band
    // (InsideLowest and InsideHighest of AllCountsBand).
    double allCountsLow = 0;
    double allCountsHigh = 0;
};

// From one statistics pass and the alarm threshold text; no pass of its own.
AnalysisFigures ComputeAnalysis(const HistoryStatistics &statistics, QStringView thresholdText);

// "—", the mark of an undefined figure.
QString NoFigure();
// The value with a decimal comma and that many decimals; NaN gives "—".
QString FormatDecimal(double value, int decimals);
// numerator / denominator with a decimal comma and that many decimals,
// rounded half up exactly: 1279 / 40 gives "31,98". "—" unless numerator >= 0
// and denominator > 0.
QString FormatFraction(qint64 numerator, qint64 denominator, int decimals);
// A chance as a percentage with two significant digits: "30 %", "4,6 %",
// "0,0013 %", below 0,0001 % "< 0,0001 %", from 99,5 % on "> 99 %"; NaN
// gives "—".
QString FormatChance(double chance);
// From this chance on FormatChance reads "> 99 %".
constexpr double ChanceShownAsCertain = 0.995;
// Both ends with two significant digits and one percent sign: "4,4–9,7 %";
// "—" when either end is NaN.
QString FormatChanceRange(const ChanceRange &range);

} // namespace trevolo
