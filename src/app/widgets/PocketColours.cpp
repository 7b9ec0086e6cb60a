#include "app/widgets/PocketColours.h"

#include "analysis/NumberClasses.h"

namespace trevolo {

QColor PocketColour(int number)
{
    if (number == 0)
        return QColor(0x0b, 0x8a, 0x3e);
    return IsRed(number) ? QColor(0xc6, 0x1e, 0x1e) : QColor(0x20, 0x20, 0x20);
}

} // namespace trevolo
