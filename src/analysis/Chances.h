#pragma once

// How unusual the history is on a fair single-zero wheel: the bias test, the
// hottest number, the longest absence, the alarm's false-alarm rate and the
// miss runs of the combinations and the wheel sectors, each chance also for
// the whole family of things a player watches at once.
#include "analysis/Statistics.h"

#include <QString>
#include <QStringView>
#include <array>
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

// Sum of (count - n/37)^2 / (n/37) over the 37 counts; 0 for no spins.
double ChiSquareStatistic(const std::array<qint32, WheelSize> &counts);
// P(chi-square with `degrees` degrees of freedom >= statistic).
double ChiSquareUpperTail(double statistic, int degrees);
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
// rows: the group rows of the family, runs/chances indexed by group row.
FamilyFigures MostUnusual(std::span<const int> rows, const std::array<qint32, GroupRowCount> &runs,
                          const std::array<double, GroupRowCount> &chances);

constexpr qint32 BiasTestMinimumSpins = 185;
constexpr double BiasTestLevel = 0.01;

// Every figure of the analysis window; NaN where a figure is undefined.
struct AnalysisFigures
{
    qint32 spins = 0;
    double chiSquare = 0;
    double chiSquareP = 0;
    int hottest = -1; // -1 without spins
    qint32 hottestCount = 0;
    double expectedCount = 0; // n / 37
    double hottestP = 0;
    double hottestFamilyP = 0;
    int drought = 0;
    qint32 droughtSpins = 0;
    double droughtP = 0;
    double droughtFamilyP = 0;
    double alarmRate = 0;
    std::array<qint32, GroupRowCount> runs{};
    std::array<double, GroupRowCount> chances{};
    FamilyFigures combinations;
    FamilyFigures sectors;
};

// From one statistics pass and the alarm threshold text; no pass of its own.
AnalysisFigures ComputeAnalysis(const HistoryStatistics &statistics, QStringView thresholdText);

// "—", the mark of an undefined figure.
QString NoFigure();
// The value with a decimal comma and that many decimals; NaN gives "—".
QString FormatDecimal(double value, int decimals);
// A chance as a percentage with two significant digits: "30 %", "4,6 %",
// "0,0013 %", below 0,0001 % "< 0,0001 %"; NaN gives "—".
QString FormatChance(double chance);

} // namespace trevolo
