#pragma once

// What the figures of the main window mean, in words: the texts of their
// tooltips and of the indicator rows' accessible names. Pure functions of
// the figures a statistics pass showed and of the risk boundaries.
#include "analysis/RiskColours.h"
#include "analysis/Statistics.h"

#include <QString>
#include <optional>

namespace trevolo {

// The colour of a ball as the rows show it: "серый", "жёлтый", "зелёный".
QString PictureColourName(IndicatorPicture picture);

// An indicator row as a screen reader reads it: "Красное: не выпадает
// 3 спина, уровень жёлтый"; a row that shows no ball ends "шаров нет".
QString RowSpoken(const QString &caption, qint64 run, std::optional<IndicatorPicture> level);
// A row's ball as a screen reader reads it, like the ball's tooltip:
// "Красное, 3 спина подряд, уровень жёлтый" for the third ball.
QString BallSpoken(const QString &caption, int level, IndicatorPicture picture);
// A count label as a screen reader says it, so an absence and an occurrence
// sound different: "1: не выпадает 30 спинов", "1: выпало 30 раз". A text
// that is no count stands as it is.
QString CountSpoken(const QString &number, const QString &count, bool occurrence);

// One combination row of "Комбинации" as its tooltip tells it.
struct RowFacts
{
    int group = 1;    // 1..12
    qint64 run = 0;   // spins missed in a row
    qint64 spins = 0; // valid spins of the history
    int lower = 2;    // the boundaries of the group's set
    int upper = 8;
    QString preset; // the risk level's name ("Средний"), or empty
    int ball = 0;   // 1..10 for a ball's tooltip, 0 for the caption's
};
// The group and its numbers, the run (also beyond ten), the chance of such
// a pause on a fair wheel, what the three colours mean at these boundaries
// in runs and chances, and, for a ball, its own colour.
QString RowToolTip(const RowFacts &facts);

// A number's count label on "Не выпадения" or "Выпадения": its colour, how
// long it has been absent (and whether that reaches the alarm threshold),
// how often it came up out of the valid spins, and the expected count.
// `statistics` is the last pass whose counts the labels show.
QString CountToolTip(int number, const HistoryStatistics &statistics);

// Edit13: the lines of the history and how many of them are spins.
QString LinesToolTip(const HistoryStatistics &statistics);

// The status bar: what "Ближайшее число" lists; with the threshold of the
// last pass when it converted.
QString NearestToolTip(const HistoryStatistics &statistics);

} // namespace trevolo
