// The background a chosen text colour is drawn on: the theme's own while the text is
// readable there, else black or white, whichever the text stands out from more.
#include <gtest/gtest.h>

#include "console/readable_colour.hpp"

namespace corvane::testing {
namespace {

using console::Colour;

TEST(ReadableColour, ContrastRatiosOfKnownPairs) {
    EXPECT_NEAR(console::contrast_ratio(0x000000, 0xFFFFFF), 21.0, 1e-9);
    EXPECT_NEAR(console::contrast_ratio(0x808080, 0x808080), 1.0, 1e-9);
    EXPECT_NEAR(console::contrast_ratio(0xFFFFFF, 0x000000), 21.0, 1e-9);  // order does not matter
    EXPECT_NEAR(console::relative_luminance(0x0000FF), 0.2126, 1e-9);      // pure red (0x00BBGGRR)
}

TEST(ReadableColour, TheThemeBackgroundIsKeptWhileTheTextIsReadableOnIt) {
    struct Case {
        const char* name;
        Colour text;
        Colour theme;
        Colour expected;
    };
    constexpr Colour white = 0xFFFFFF, black = 0x000000, dark_theme = 0x2A2A2A, yellow = 0x00FFFF, navy = 0x800000;
    const Case cases[] = {
        {"black on a light theme", black, white, white},
        {"yellow on a light theme goes on black", yellow, white, black},
        {"yellow on a dark theme", yellow, dark_theme, dark_theme},
        {"black on a dark theme goes on white", black, dark_theme, white},
        {"navy on a dark theme goes on white", navy, dark_theme, white},
        {"white on a dark theme", white, dark_theme, dark_theme},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Colour background = console::readable_background(c.text, c.theme);
        EXPECT_EQ(background, c.expected);
        EXPECT_GE(console::contrast_ratio(c.text, background), console::readable_contrast);
    }
}

}  // namespace
}  // namespace corvane::testing
