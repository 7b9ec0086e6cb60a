#pragma once

#include <QList>

namespace trevolo {

// Each combination's indicator row has ten levels; the two risk boundaries of
// its set of combinations decide which template picture each level carries.
constexpr int IndicatorLevels = 10;

enum class IndicatorPicture
{
    Grey,
    Yellow,
    Green
};

// The picture of indicator level `level` (1..10) for the boundaries lower and
// upper: grey for 1 <= level <= lower, yellow for lower < level <= upper,
// green above upper. Should lower exceed upper, the levels between them are
// green, as the colouring leaves them (green is copied last).
IndicatorPicture PictureForLevel(int level, int lower, int upper) noexcept;

// One copy of a template picture into the indicator image of combination
// `group` (1..12) at `level` (1..10).
struct IndicatorCopy
{
    int group = 0;
    int level = 0;
    IndicatorPicture picture = IndicatorPicture::Grey;

    friend bool operator==(const IndicatorCopy &, const IndicatorCopy &) = default;
};

// The copies that colour the whole indicator grid, in the order they are
// made, for the boundaries lo1 <= hi1 of the 18/37 combinations (1-6) and
// lo2 <= hi2 of the 12/37 combinations (7-12). Six runs, each over the levels
// outside and the combinations inside:
//   grey   levels 1..lo1         for 1-6,   then levels 1..lo2       for 7-12;
//   yellow levels lo1+1..hi1     for 1-6,   then levels lo2+1..hi2   for 7-12;
//   green  levels hi1+1..10      for 1-6,   then levels hi2+1..10    for 7-12.
// An empty range adds nothing, and levels outside 1..10 are never visited.
// With the boundaries in order every one of the 120 images is copied once.
QList<IndicatorCopy> RiskColourPlan(int lo1, int hi1, int lo2, int hi2);

} // namespace trevolo
