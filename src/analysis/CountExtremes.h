#pragma once

// The largest and the smallest of the 37 counts of a fair wheel: how often
// the hottest number comes up, how rarely the coldest, and the range that
// holds all 37 counts at once.
#include <QtGlobal>

namespace trevolo {

// P(the largest of the 37 counts of `spins` fair spins >= count): 1 for
// count <= 0, 0 for count > spins.
double LargestCountAtLeastChance(qint64 spins, qint64 count);
// P(the smallest of the 37 counts <= count): 0 for count < 0.
double SmallestCountAtMostChance(qint64 spins, qint64 count);

// Where all 37 counts stay at once with 95 %: lower is the largest l with
// P(smallest count <= l) <= 2.5 % (-1 while even a count of 0 is more likely
// than that), upper the smallest u with P(largest count >= u) <= 2.5 %.
struct CountBand
{
    qint64 lower = -1;
    qint64 upper = 0;
};
CountBand AllCountsBand(qint64 spins);
// The lowest and the highest count inside the band: a count at either end
// is already outside.
qint64 InsideLowest(const CountBand &band);
qint64 InsideHighest(const CountBand &band);

} // namespace trevolo
