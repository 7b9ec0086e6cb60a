#pragma once

#include <QString>

namespace trevolo {

// The transparency slider gives the window's opacity in percent (20..100).

// The window's alpha value for an opacity in percent: percent * 2.55 brought
// to the nearest integer, an exact half going to the even neighbour
// (50 -> 128, 70 -> 178, 100 -> 255). Computed exactly in integers.
int AlphaFromPercent(int position) noexcept;

// The caption beside the slider: the position in decimal followed by "%".
QString OpacityCaption(int position);

} // namespace trevolo
