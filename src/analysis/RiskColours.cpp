#include "analysis/RiskColours.h"

#include "analysis/NumberClasses.h"

#include <algorithm>

namespace trevolo {

IndicatorPicture PictureForLevel(int level, int lower, int upper) noexcept
{
    if (level > upper)
        return IndicatorPicture::Green;
    if (level > lower)
        return IndicatorPicture::Yellow;
    return IndicatorPicture::Grey;
}

std::optional<IndicatorPicture> PictureForRun(qint64 run, int lower, int upper) noexcept
{
    if (run <= 0)
        return std::nullopt;
    return PictureForLevel(int(std::min<qint64>(run, IndicatorLevels)), lower, upper);
}

int RiskBoundaries::Lower(int group) const noexcept
{
    return group < FirstTwelveOf37 ? lower1 : lower2;
}

int RiskBoundaries::Upper(int group) const noexcept
{
    return group < FirstTwelveOf37 ? upper1 : upper2;
}

namespace {

void AddRun(QList<IndicatorCopy> &plan, int firstLevel, int lastLevel, int firstGroup,
            int lastGroup, IndicatorPicture picture)
{
    firstLevel = std::max(firstLevel, 1);
    lastLevel = std::min(lastLevel, IndicatorLevels);
    for (int level = firstLevel; level <= lastLevel; ++level) {
        for (int group = firstGroup; group <= lastGroup; ++group)
            plan.append(IndicatorCopy{group, level, picture});
    }
}

} // namespace

QList<IndicatorCopy> RiskColourPlan(int lo1, int hi1, int lo2, int hi2)
{
    constexpr int FirstOf18 = Red;
    constexpr int LastOf18 = FirstTwelveOf37 - 1;
    constexpr int FirstOf12 = FirstTwelveOf37;
    constexpr int LastOf12 = CombinationCount;

    QList<IndicatorCopy> plan;
    plan.reserve(CombinationCount * IndicatorLevels);
    AddRun(plan, 1, lo1, FirstOf18, LastOf18, IndicatorPicture::Grey);
    AddRun(plan, 1, lo2, FirstOf12, LastOf12, IndicatorPicture::Grey);
    AddRun(plan, lo1 + 1, hi1, FirstOf18, LastOf18, IndicatorPicture::Yellow);
    AddRun(plan, lo2 + 1, hi2, FirstOf12, LastOf12, IndicatorPicture::Yellow);
    AddRun(plan, hi1 + 1, IndicatorLevels, FirstOf18, LastOf18, IndicatorPicture::Green);
    AddRun(plan, hi2 + 1, IndicatorLevels, FirstOf12, LastOf12, IndicatorPicture::Green);
    return plan;
}

} // namespace trevolo
