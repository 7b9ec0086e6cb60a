#pragma once

#include <QStringList>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace trevolo {

// The stake progression calculator: from a minimum stake m and a multiplier r
// the eight stakes m * r^(k-1), k = 1..8, and their sum. The window keeps
// every value as field text and reads each result back for the next step, so
// the work is split into the steps the handler chains; a step that fails ends
// the recalculation with InvalidInputMessage.

constexpr int StakeCount = 8;

inline constexpr QStringView InvalidInputMessage = u"Введены неверные данные. Проверьте ввод.";

// The stake after `previousStakeText`: that stake times the multiplier, both
// read by the integer rule. Empty when either text is refused or when the
// product leaves the signed 32-bit range (a series that outgrows the range is
// reported like a bad input rather than wrapping round to a wrong stake).
std::optional<qint32> NextStake(QStringView previousStakeText, QStringView multiplierText);

// The money the series needs: the sum of the stakes, each read by the integer
// rule. Empty when a text is refused or the sum leaves the signed 32-bit range.
std::optional<qint32> StakeSum(const QStringList &stakeTexts);

// One recalculation, the steps chained: the first stake is the minimum
// stake's text as typed, each further stake the one before (its text) times
// the multiplier, then the sum of the eight. A failed step ends it: `stakes`
// holds the texts worked out before that step (fewer than StakeCount when a
// stake failed), and `sum` is empty.
struct StakeSeries
{
    QStringList stakes;
    std::optional<qint32> sum;
};
StakeSeries ComputeStakeSeries(const QString &minimumText, QStringView multiplierText);

} // namespace trevolo
