#include "calculator/StakeProgression.h"

#include "common/IntegerText.h"

#include <limits>

namespace trevolo {

namespace {

std::optional<qint32> Narrow(qint64 value) noexcept
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

} // namespace

std::optional<qint32> NextStake(QStringView previousStakeText, QStringView multiplierText)
{
    const auto previous = TryStrToInt(previousStakeText);
    if (!previous)
        return std::nullopt;
    const auto multiplier = TryStrToInt(multiplierText);
    if (!multiplier)
        return std::nullopt;
    // Two 32-bit factors cannot overflow 64 bits.
    return Narrow(qint64(*previous) * qint64(*multiplier));
}

std::optional<qint32> StakeSum(const QStringList &stakeTexts)
{
    // Accumulate exactly in 64 bits (2^32 stakes would be needed to overflow)
    // and judge only the total: a running sum may pass the range and return.
    qint64 sum = 0;
    for (const QString &text : stakeTexts) {
        const auto stake = TryStrToInt(text);
        if (!stake)
            return std::nullopt;
        sum += *stake;
    }
    return Narrow(sum);
}

StakeSeries ComputeStakeSeries(const QString &minimumText, QStringView multiplierText)
{
    StakeSeries series;
    series.stakes.reserve(StakeCount);
    series.stakes.append(minimumText);
    for (int k = 1; k < StakeCount; ++k) {
        const auto stake = NextStake(series.stakes.back(), multiplierText);
        if (!stake)
            return series;
        series.stakes.append(IntToStr(*stake));
    }
    series.sum = StakeSum(series.stakes);
    return series;
}

} // namespace trevolo
