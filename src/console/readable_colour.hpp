// Text that stays readable: the chosen text colour is drawn on the window's own background
// (the desktop's theme, light or dark) when the two differ enough in luminance, and on
// black or white, whichever differs more, when they do not (yellow on white, navy on a dark
// theme).
#pragma once

#include "console/text_window_view.hpp"

namespace corvane::console {

// Relative luminance of a colour, 0 (black) to 1 (white), by the sRGB formula.
double relative_luminance(Colour colour);

// The ratio of the lighter colour's luminance to the darker's, each plus 0.05: 1 for equal
// colours, 21 for black against white.
double contrast_ratio(Colour a, Colour b);

// The least ratio at which text counts as readable.
inline constexpr double readable_contrast = 4.5;

// `theme_background` when `text` is readable on it, else black or white.
Colour readable_background(Colour text, Colour theme_background);

}  // namespace corvane::console
