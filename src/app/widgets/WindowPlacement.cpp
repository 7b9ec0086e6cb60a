#include "app/widgets/WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace trevolo {

QRect PlaceBeside(const QRect &owner, const QRect &available, QSize preferred, QSize minimum,
                  const QMargins &frame)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QSize largest(std::max(1, available.width() - frameWidth),
                        std::max(1, available.height() - frameHeight));
    minimum = minimum.boundedTo(largest);
    const QSize size = preferred.boundedTo(largest).expandedTo(minimum);
    int outerWidth = size.width() + frameWidth;
    const int outerHeight = size.height() + frameHeight;

    // The top edge and the left edge of the frame.
    const auto inside = [](int at, int low, int high) { return std::max(low, std::min(at, high)); };
    const int lowestTop = available.bottom() + 1 - outerHeight;
    if (owner.isEmpty()) {
        const QPoint corner = available.center() - QPoint(outerWidth / 2, outerHeight / 2);
        return {QPoint(inside(corner.x(), available.left(), available.right() + 1 - outerWidth) +
                           frame.left(),
                       inside(corner.y(), available.top(), lowestTop) + frame.top()),
                size};
    }
    const int top = inside(owner.top(), available.top(), lowestTop);
    const int roomRight = available.right() - owner.right();
    const int roomLeft = owner.left() - available.left();
    const int fewest = minimum.width() + frameWidth;
    int left = 0;
    if (roomRight >= fewest) {
        outerWidth = std::min(outerWidth, roomRight);
        left = owner.right() + 1;
    } else if (roomLeft >= fewest) {
        outerWidth = std::min(outerWidth, roomLeft);
        left = owner.left() - outerWidth;
    } else {
        left = roomRight >= roomLeft ? available.right() + 1 - outerWidth : available.left();
    }
    return {left + frame.left(), top + frame.top(), outerWidth - frameWidth, size.height()};
}

QRect PlaceBeside(const QWidget &owner, QSize preferred, QSize minimum)
{
    const QWidget &window = *owner.window();
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QScreen *screen = window.screen();
    const QRect available =
        screen ? screen->availableGeometry() : QRect(outer.topLeft(), preferred);
    return PlaceBeside(window.isVisible() ? outer : QRect(), available, preferred, minimum, frame);
}

} // namespace trevolo
