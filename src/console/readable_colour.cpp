#include "console/readable_colour.hpp"

#include <algorithm>
#include <cmath>

namespace corvane::console {

namespace {

double linear_channel(unsigned value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double relative_luminance(Colour colour) {  // 0x00BBGGRR
    return 0.2126 * linear_channel(colour & 0xFF) + 0.7152 * linear_channel((colour >> 8) & 0xFF) +
           0.0722 * linear_channel((colour >> 16) & 0xFF);
}

double contrast_ratio(Colour a, Colour b) {
    const double la = relative_luminance(a);
    const double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour readable_background(Colour text, Colour theme_background) {
    if (contrast_ratio(text, theme_background) >= readable_contrast) return theme_background;
    return contrast_ratio(text, colour_black) >= contrast_ratio(text, colour_white) ? colour_black : colour_white;
}

}  // namespace corvane::console
