#include "app/memo/HistoryTail.h"

#include "analysis/Statistics.h"

#include <algorithm>

namespace trevolo {

QList<int> LastSpins(const QTextDocument &document, int count)
{
    QList<int> spins;
    if (count <= 0)
        return spins;
    ForEachLineBackwards(document, [&](const DocumentLine &line) {
        if (const qint32 spin = SpinOfLine(line.text); spin >= 0)
            spins.append(spin);
        return spins.size() < count;
    });
    return spins;
}

std::optional<int> LastSpinCut(const QTextDocument &document, bool endsWithLineBreak)
{
    std::optional<int> cut;
    ForEachLineBackwards(document, [&](const DocumentLine &line) {
        if (SpinOfLine(line.text) < 0)
            return true;
        cut = endsWithLineBreak ? line.start : std::max(line.breakBefore, 0);
        return false;
    });
    return cut;
}

} // namespace trevolo
