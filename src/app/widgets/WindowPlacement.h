#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace trevolo {

// Where a child window opens: the rectangle of its client area (inside the
// frame, which adds `frame` on each side), as close to `preferred` in size
// as the screen area `available` allows but never smaller than `minimum`
// where the area holds that, beside the owner's frame rectangle `owner`: to
// its right when the window fits there at least at its minimum width, else
// to its left, else over the owner on the side with more room. Level with
// the owner's top, moved up as far as the area needs. Without an owner (an
// empty rectangle) it is centred on the area. The frame never leaves the
// area when the area can hold the window at all.
QRect PlaceBeside(const QRect &owner, const QRect &available, QSize preferred, QSize minimum,
                  const QMargins &frame);

// The same beside `owner`'s window, on the available area of its screen,
// taking the owner's frame for the window's own (a window not yet shown has
// no frame of its own to measure).
QRect PlaceBeside(const QWidget &owner, QSize preferred, QSize minimum);

} // namespace trevolo
