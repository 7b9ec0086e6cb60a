#pragma once

#include <QColor>

namespace trevolo {

// The colour of a wheel number's pocket, as the wheel and the table show it:
// green for zero, red or black for the others.
QColor PocketColour(int number);

// The contrast ratio of two colours as readers of text weigh it: from 1 (the
// same lightness) to 21 (black on white), by their relative luminance.
double ContrastRatio(const QColor &first, const QColor &second);

// The colour itself where it reaches `ratio` against `background`, else the
// nearest darker (on a light background) or lighter shade of it that does.
QColor ReadableOn(const QColor &colour, const QColor &background, double ratio = 4.5);

} // namespace trevolo
