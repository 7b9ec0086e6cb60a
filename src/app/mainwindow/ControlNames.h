#pragma once

// The names of the numbered controls of the main window, built at run time
// by the pages that make them and by the statistics pass that writes them.
#include "analysis/Statistics.h"

#include <QString>
#include <QStringView>
#include <array>

namespace trevolo {

// prefix + n ("Label" + 81).
QString Numbered(QStringView prefix, int n);
// "Label" + n, the one spelling of a numbered label's name.
QString LabelName(int n);
// The indicator image of combination group 1..12 at level 1..10 ("Im_3_10").
QString ImageName(int group, int level);

// The caption of combination group 1..12 as its row on "Комбинации" shows
// it ("Красное:"), and without the closing colon ("Красное").
QString CombinationRowCaption(int group);
QString CombinationCaption(int group);

// The hidden, empty label beside each combination row, by group 1..12:
// "Label" + this number. The statistics pass empties them.
constexpr std::array<int, CombinationCount> HiddenRowLabels = {8,  6,  2,  4,  10, 12,
                                                               14, 16, 18, 20, 22, 24};

// The count labels of number n: "Label" + first + n.
constexpr int FirstAbsenceCountLabel = 80;     // on "Не выпадения"
constexpr int FirstOccurrenceCountLabel = 147; // on "Выпадения"

} // namespace trevolo
