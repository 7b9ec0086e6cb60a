#include "app/widgets/PocketColours.h"

#include "analysis/NumberClasses.h"

#include <algorithm>
#include <cmath>

namespace trevolo {

QColor PocketColour(int number)
{
    if (number == 0)
        return QColor(0x0b, 0x8a, 0x3e);
    return IsRed(number) ? QColor(0xc6, 0x1e, 0x1e) : QColor(0x20, 0x20, 0x20);
}

namespace {

double luminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor &first, const QColor &second)
{
    const double a = luminance(first), b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableOn(const QColor &colour, const QColor &background, double ratio)
{
    if (ContrastRatio(colour, background) >= ratio)
        return colour;
    // Black reaches 4.5 against anything lighter than a middle grey.
    const bool darker =
        ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background);
    const QColor hsl = colour.toHsl();
    for (int step = 1; step <= 50; ++step) {
        const float lightness =
            std::clamp(hsl.lightnessF() + (darker ? -0.02f : 0.02f) * float(step), 0.0f, 1.0f);
        // In whole steps of 8 bits a channel, as it is drawn.
        const QColor shade(QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), lightness).rgb());
        if (ContrastRatio(shade, background) >= ratio)
            return shade;
    }
    return darker ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace trevolo
