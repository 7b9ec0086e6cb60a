#include "analysis/Statistics.h"

#include "common/IntegerText.h"
#include "common/Lines.h"

#include <algorithm>
#include <bit>

namespace trevolo {

namespace {

// Combination bit sets of every wheel number, built once.
const std::array<quint16, WheelSize> &combinationTable()
{
    static const std::array<quint16, WheelSize> table = [] {
        std::array<quint16, WheelSize> t{};
        for (int n = 0; n < WheelSize; ++n)
            t[n] = CombinationsOf(n);
        return t;
    }();
    return table;
}

} // namespace

qint32 SpinOfLine(QStringView line) noexcept
{
    const auto n = TryStrToInt(line);
    return n && quint32(*n) < quint32(WheelSize) ? *n : -1;
}

HistoryStatistics ComputeStatistics(QStringView history, QStringView thresholdText)
{
    HistoryStatistics s;

    // Remember where each number was last seen, counted in valid spins; the
    // absences follow from these positions and the total at the end.
    std::array<qint32, WheelSize> lastSeen;
    lastSeen.fill(-1);
    qint32 spins = 0;

    ForEachLine(history, [&](QStringView line) {
        ++s.lineCount;
        const qint32 n = SpinOfLine(line);
        if (n < 0)
            return;
        lastSeen[n] = spins++;
        ++s.occurrence[n];
    });

    s.spinCount = spins;
    for (int n = 0; n < WheelSize; ++n)
        s.absence[n] = spins - 1 - lastSeen[n];
    CompleteStatistics(s, thresholdText);
    return s;
}

void CompleteStatistics(HistoryStatistics &s, QStringView thresholdText)
{
    const auto &combinations = combinationTable();

    // A combination was last hit by the latest of its numbers, so its run is
    // the smallest absence among them (every valid spin when none came up).
    for (int g = 1; g <= CombinationCount; ++g)
        s.missRuns[g] = s.spinCount;
    for (int n = 0; n < WheelSize; ++n) {
        for (quint16 bits = combinations[n]; bits != 0; bits &= quint16(bits - 1)) {
            qint32 &run = s.missRuns[std::countr_zero(bits)];
            run = std::min(run, s.absence[n]);
        }
    }

    for (int k = 0; k < int(s.nearest.size()); ++k) {
        qint32 best = -1;
        for (int n = 0; n < WheelSize; ++n) {
            if (IsNotChosen(n, s.nearest) && s.absence[n] > best) {
                best = s.absence[n];
                s.nearest[k] = n;
            }
        }
    }

    if (const auto threshold = TryStrToInt(thresholdText)) {
        s.thresholdValid = true;
        s.threshold = *threshold;
        for (int n = 0; n < WheelSize; ++n)
            s.alarm[n] = s.absence[n] >= *threshold;
        s.statusText = NearestNumbersText(s, *threshold);
    }
}

QString NearestNumbersText(const HistoryStatistics &statistics, qint32 threshold)
{
    QString numbers;
    for (const qint32 n : statistics.nearest) {
        if (n < 0)
            continue;
        const qint32 absence = statistics.absence[n];
        if (absence < threshold)
            continue;
        if (!numbers.isEmpty())
            numbers += QStringLiteral(", ");
        numbers += IntToStr(n) + QStringLiteral(" (") + IntToStr(absence) + QLatin1Char(')');
    }
    return QStringLiteral("Ближайшее число: %1").arg(numbers);
}

} // namespace trevolo
