#include "settings/WindowOptions.h"

#include "common/IntegerText.h"

namespace trevolo {

int AlphaFromPercent(int position) noexcept
{
    // position * 2.55 = position * 255 / 100; a double would put 50 * 2.55
    // just below 127.5, so stay with exact integers. Halves are symmetric
    // about zero, so round the magnitude and restore the sign.
    const qint64 scaled = qint64(position) * 255;
    const qint64 magnitude = scaled < 0 ? -scaled : scaled;
    qint64 quotient = magnitude / 100;
    const qint64 remainder = magnitude % 100;
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0))
        ++quotient;
    return int(scaled < 0 ? -quotient : quotient);
}

QString OpacityCaption(int position)
{
    return IntToStr(position) + u'%';
}

} // namespace trevolo
