#pragma once

#include "analysis/NumberClasses.h"

#include <QString>
#include <QStringView>
#include <array>

namespace trevolo {

constexpr int WheelSize = 37; // the numbers 0..36

// Everything one statistics pass shows, computed from the history text and
// the alarm threshold text.
struct HistoryStatistics
{
    // Spins in a row each combination has missed, by group number 1..12
    // (entry 0 is unused).
    std::array<qint32, CombinationCount + 1> missRuns{};
    // Valid spins since each number last came up (all valid spins if never).
    std::array<qint32, WheelSize> absence{};
    // How often each number came up.
    std::array<qint32, WheelSize> occurrence{};
    // The five numbers with the largest absences, largest first, of equal
    // absences the smaller number first.
    NearestSlots nearest{-1, -1, -1, -1, -1};
    // Lines of the history, valid spins or not.
    qint32 lineCount = 0;
    // Valid spins: lines that hold a number 0..36.
    qint32 spinCount = 0;

    // The rest depends on the threshold and holds only when it converted.
    bool thresholdValid = false;
    qint32 threshold = 0;
    std::array<bool, WheelSize> alarm{}; // absence >= threshold
    QString statusText;                  // "Ближайшее число: ..." filled in
};

// A valid spin is a line whose whole text reads as an integer 0..36; every
// other line (letters, blanks, numbers outside the wheel) changes nothing and
// breaks no run, but still counts as a line.
// The full pass over the whole text: the reference every faster way of
// reaching the same figures is measured against.
HistoryStatistics ComputeStatistics(QStringView history, QStringView thresholdText);

// What one line contributes: the wheel number 0..36 it holds, the whole line
// read by the integer rule (" 7", "+7" and "$7" all hold 7), or -1.
qint32 SpinOfLine(QStringView line) noexcept;

// The rest of a pass once lineCount, spinCount, occurrence and absence are
// filled in: miss runs, nearest numbers, and what depends on the threshold.
void CompleteStatistics(HistoryStatistics &statistics, QStringView thresholdText);

// "Ближайшее число: %s" with the qualifying nearest numbers, as "n (count)"
// joined by ", ".
QString NearestNumbersText(const HistoryStatistics &statistics, qint32 threshold);

} // namespace trevolo
