#pragma once

#include <QList>
#include <QtGlobal>
#include <optional>

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

// The picture of the last ball a row shows for a run of `run` misses (the
// level min(run, 10)); nothing for a run of 0 or less, which shows no ball.
std::optional<IndicatorPicture> PictureForRun(qint64 run, int lower, int upper) noexcept;

// The four risk boundaries as the sliders hold them: lower1/upper1 for the
// 18/37 combinations (1-6), lower2/upper2 for the 12/37 ones (7-12).
struct RiskBoundaries
{
    int lower1 = 2;
    int upper1 = 8;
    int lower2 = 2;
    int upper2 = 8;

    int Lower(int group) const noexcept;
    int Upper(int group) const noexcept;
    friend bool operator==(const RiskBoundaries &, const RiskBoundaries &) = default;
};

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
