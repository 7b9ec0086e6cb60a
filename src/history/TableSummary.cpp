#include "history/TableSummary.h"

#include "analysis/SpinHistoryModel.h"
#include "history/TableSet.h"

#include <algorithm>

namespace trevolo {

namespace {

int OverCount(const HistoryStatistics &statistics)
{
    return statistics.thresholdValid
               ? int(std::count(statistics.alarm.begin(), statistics.alarm.end(), true))
               : 0;
}

} // namespace

TableSummary Summarise(const Table &table, QStringView thresholdText)
{
    TableSummary summary;
    summary.name = table.name;
    summary.unsaved = table.unsaved;
    const HistoryStatistics statistics = table.history.Statistics(thresholdText);
    summary.spins = statistics.spinCount;
    const std::span<const quint8> codes = table.history.Codes();
    for (qsizetype line = qsizetype(codes.size()) - 1; line >= 0; --line) {
        if (codes[size_t(line)] <= 36) {
            summary.lastSpin = codes[size_t(line)];
            if (size_t(line) < table.entryTimes.size())
                summary.lastEntered = table.entryTimes[size_t(line)];
            break;
        }
    }
    if (statistics.spinCount > 0) {
        // Of equal absences the smaller number, as the status bar takes it.
        const auto longest = std::max_element(statistics.absence.begin(), statistics.absence.end());
        summary.longestAbsent = qint32(longest - statistics.absence.begin());
        summary.longestAbsence = *longest;
    }
    if (statistics.thresholdValid) {
        const QString prefix = QStringLiteral("Ближайшее число: ");
        summary.overThreshold = statistics.statusText.startsWith(prefix)
                                    ? statistics.statusText.mid(prefix.size())
                                    : statistics.statusText;
        summary.overCount = OverCount(statistics);
    }
    return summary;
}

int NumbersOverThreshold(const Table &table, QStringView thresholdText)
{
    return OverCount(table.history.Statistics(thresholdText));
}

} // namespace trevolo
