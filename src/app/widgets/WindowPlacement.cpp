#include "app/widgets/WindowPlacement.h"

#include <algorithm>

namespace trevolo {

QRect PlaceBeside(const QRect &owner, const QRect &menuBar, const QRect &available,
                  const QMargins &frame, const Placement &placement)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize largest(std::max(1, available.width() - frameWidth),
                        std::max(1, available.height() - frameHeight));
    const QSize smallest = placement.smallest.boundedTo(largest);
    const QSize size = placement.preferred.boundedTo(largest).expandedTo(smallest);
    int outerWidth = size.width() + frameWidth;
    int outerHeight = size.height() + frameHeight;
    const int gap = placement.gap;

    // The top edge and the left edge of the frame, within the area along
    // one axis where the window fits on it.
    const auto inside = [](int at, int low, int high) { return std::max(low, std::min(at, high)); };
    const int areaRight = available.right() + 1;
    const int areaBottom = available.bottom() + 1;
    int left = 0;
    int top = 0;
    const int roomRight = available.right() - owner.right() - gap;
    const int roomLeft = owner.left() - available.left() - gap;
    const int roomBelow = available.bottom() - owner.bottom() - gap;
    const int level = inside(owner.top(), available.top(), areaBottom - outerHeight);
    if (owner.isEmpty()) {
        const QPoint corner = available.center() - QPoint(outerWidth / 2, outerHeight / 2);
        left = inside(corner.x(), available.left(), areaRight - outerWidth);
        top = inside(corner.y(), available.top(), areaBottom - outerHeight);
    } else if (roomRight >= smallest.width() + frameWidth) {
        outerWidth = std::min(outerWidth, roomRight);
        left = owner.right() + 1 + gap;
        top = level;
    } else if (roomLeft >= smallest.width() + frameWidth) {
        outerWidth = std::min(outerWidth, roomLeft);
        left = owner.left() - gap - outerWidth;
        top = level;
    } else if (roomBelow >= smallest.height() + frameHeight) {
        outerHeight = std::min(outerHeight, roomBelow);
        left = inside(owner.left(), available.left(), areaRight - outerWidth);
        top = owner.bottom() + 1 + gap;
    } else {
        const int highest = placement.clearOfMenuBar && !menuBar.isEmpty() ? menuBar.bottom() + 1
                                                                           : available.top();
        left = inside(owner.right() + 1 - outerWidth, available.left(), areaRight - outerWidth);
        top = std::max(highest, areaBottom - outerHeight);
    }
    return {left + frame.left(), top + frame.top(), outerWidth - frameWidth,
            outerHeight - frameHeight};
}

} // namespace trevolo
