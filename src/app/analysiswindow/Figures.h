#pragma once

// What the pages of the analysis window share: their figure labels, the
// tables' look and the count axes of their charts.
#include <QString>
#include <QStringView>

class QLabel;
class QTableView;
class QValueAxis;

namespace trevolo {

// A label for one figure: plain text, selectable with the mouse and reached
// by Tab, so a screen reader can stop at it; of fixed size when `widest` is
// given (a new text then repaints the label alone), else wrapping.
QLabel *NewFigureLabel(const QString &name, const QString &widest = QString());

// Shows a figure and names its label for screen readers "<caption> <value>"
// ("Шанс для этого числа: 2,5 %"); nothing is written while the text stays
// the same. True when the text changed.
bool ShowFigure(QLabel &label, QStringView caption, const QString &text);

// A read-only table of figures: rows one line of text high, no row header,
// reached by Tab.
void SetUpFigureTable(QTableView &table);

// Sets a count axis from 0 to a little above `top`, rounded up to its ticks:
// at whole counts of 1, 2 or 5 times a power of ten, at most eight. The axis
// is written only when that changes, so it rarely moves from pass to pass.
void SetCountAxis(QValueAxis &axis, double top);

} // namespace trevolo
