#pragma once

#include <QString>
#include <QStringView>

namespace trevolo {

struct Table;

// What the overview of the tables shows of one table.
struct TableSummary
{
    QString name;
    qint32 spins = 0;
    // The newest spin and when it was entered (0: not known), -1 without one.
    qint32 lastSpin = -1;
    qint64 lastEntered = 0;
    // The numbers at or over the alarm threshold, as the status bar lists
    // them ("n (absence), ..."), and how many numbers are over it.
    QString overThreshold;
    int overCount = 0;
    // The number absent longest and for how many spins (-1 without spins).
    qint32 longestAbsent = -1;
    qint32 longestAbsence = 0;
    bool unsaved = false;
};

// The summary of the table for this alarm threshold text (one that does not
// convert leaves the threshold columns empty).
TableSummary Summarise(const Table &table, QStringView thresholdText);

// The "Над порогом" mark of a table: the numbers over the threshold, or 0.
int NumbersOverThreshold(const Table &table, QStringView thresholdText);

} // namespace trevolo
