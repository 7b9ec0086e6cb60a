#pragma once

// What the pages of the analysis window share: their figure labels, the
// tables' look and the count axes of their charts.
#include "app/widgets/FigureLabel.h"

#include <QString>
#include <QStringView>

class QLabel;
class QTableView;
class QValueAxis;

namespace trevolo {

// Shows a figure and names its label for screen readers "<caption> <value>"
// ("Шанс для этого числа: 2,5 %"); nothing is written while the text stays
// the same. True when the text changed.
bool ShowFigure(QLabel &label, QStringView caption, const QString &text);

// A read-only table of figures: rows one line of text high, no row header,
// reached by Tab.
void SetUpFigureTable(QTableView &table);

// Narrows the columns of a table of figures (from `firstColumn` on) to their
// header's longest word or `widest` figure, whichever is wider, the header
// text wrapping onto two lines, so a table of several figures fits a small
// window.
void NarrowColumns(QTableView &table, int firstColumn, const QString &widest);

// Sets an upright count axis from 0 to a little above `top`, rounded up to
// its ticks: at whole counts of 1, 2 or 5 times a power of ten, at most nine
// and no more than leave every label its height over `pixels` (the height of
// the plot area; 0 while it is not laid out), so none is cut short. The axis
// is written only when that changes, so it rarely moves from pass to pass.
// With `top` below 0 the top it was last given stands, for a new height.
void SetCountAxis(QValueAxis &axis, double top, double pixels);

// Sets the tick interval of an axis of whole numbers that spans `units` over
// `pixels` (its plot area) to the smallest of 1, 2, 5, 10, 20, ... that
// leaves every label room beside the next, so none is cut short.
void FitTicks(QValueAxis &axis, double pixels, double units, const QString &widestLabel);

} // namespace trevolo
