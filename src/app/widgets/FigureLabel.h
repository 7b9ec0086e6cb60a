#pragma once

#include <QString>

class QLabel;

namespace trevolo {

// A label for one figure: plain text, selectable with the mouse and reached
// by Tab, so a screen reader can stop at it; of fixed size when `widest` is
// given (a new text then repaints the label alone), else wrapping.
QLabel *NewFigureLabel(const QString &name, const QString &widest = QString());

} // namespace trevolo
