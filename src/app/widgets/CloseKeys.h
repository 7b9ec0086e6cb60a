#pragma once

#include <QKeySequence>
#include <QList>

class QWidget;

namespace trevolo {

// Closes a window of its own (a child window: the pad, the help) and makes
// the window it belongs to, its parent's window, the active one again, so the
// keyboard goes back where it was.
void CloseToParent(QWidget &window);

// Keys that run CloseToParent while the window is the active one: Ctrl+W,
// Esc where the window has no other use for it, and the shortcut that opened
// it, so one key opens and closes it.
void AddCloseKeys(QWidget &window, const QList<QKeySequence> &keys);

} // namespace trevolo
