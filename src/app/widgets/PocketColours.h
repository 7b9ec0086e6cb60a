#pragma once

#include <QColor>

namespace trevolo {

// The colour of a wheel number's pocket, as the wheel and the table show it:
// green for zero, red or black for the others.
QColor PocketColour(int number);

} // namespace trevolo
