#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

namespace trevolo {

// How a child window wants to stand beside its owner.
struct Placement
{
    // The size of its client area where the screen has room for it; never
    // smaller than `smallest` where the screen holds that.
    QSize preferred;
    QSize smallest;
    // Pixels left free between the owner's frame and the window's.
    int gap = 0;
    // Over the owner for want of room, the window stays below the owner's
    // menu bar (a tool window kept on top would hide it for good), even
    // where its foot then leaves the screen.
    bool clearOfMenuBar = false;
};

// Where a child window opens: the rectangle of its client area (inside the
// frame, which adds `frame` on each side) beside the owner's frame rectangle
// `owner` on the screen area `available`: to its right when the window fits
// there at least at its smallest width, else to its left, level with the
// owner's top (moved up as far as the area needs); else below it when it
// fits there at its smallest height; else over the owner's lower right (its
// right edge at the owner's), at the foot of the area, never higher than
// the foot of `menuBar` with clearOfMenuBar. Without an owner (an empty
// rectangle) it is centred on the area. The frame never leaves the area
// when the area can hold the window at all, but for the menu bar's sake.
QRect PlaceBeside(const QRect &owner, const QRect &menuBar, const QRect &available,
                  const QMargins &frame, const Placement &placement);

} // namespace trevolo
