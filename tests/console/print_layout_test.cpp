// The page arithmetic of printing: lines per page from the page height in the units of the
// line height, the lines of a page range, and the pages a print takes.
#include <gtest/gtest.h>

#include "console/print_layout.hpp"

namespace corvane::testing {
namespace {

using console::LineRange;
using console::PageRange;

TEST(PrintLayout, LinesPerPageCountInHundredthsOfAnInch) {
    struct Row {
        int height_pixels;
        int dpi;
        int line_height;
        int expected;
    };
    // 11 inches at 300 dpi with lines of 0.16 inch: 68 lines; the same paper at 1200 dpi
    // holds the same number (pixels alone would give 206 or 825).
    for (const Row& r : {Row{3300, 300, 16, 68}, Row{13200, 1200, 16, 68}, Row{3300, 300, 13, 84},
                         Row{100, 300, 16, 2}, Row{10, 300, 16, 1}, Row{3300, 0, 16, 1}, Row{3300, 300, 0, 1}}) {
        const int p = console::lines_per_page(r.height_pixels, r.dpi, r.line_height);
        EXPECT_EQ(p, r.expected) << r.height_pixels << " at " << r.dpi;
        // A full page never runs past the paper (one line always goes on a page).
        if (r.dpi > 0 && r.line_height > 0 && p > 1) {
            EXPECT_LE(p * r.line_height * r.dpi, r.height_pixels * 100);
        }
    }
}

TEST(PrintLayout, LinesOfAPageRangeAndPagesNeeded) {
    struct Row {
        int per_page;
        int last_line;
        std::optional<PageRange> pages;
        int first;
        int last;
    };
    for (const Row& r : {Row{50, 400, std::nullopt, 1, 400}, Row{50, 400, PageRange{2, 3}, 51, 150},
                         Row{50, 120, PageRange{2, 3}, 51, 120}, Row{50, 40, PageRange{2, 3}, 41, 40},
                         Row{50, 0, std::nullopt, 1, 0}}) {
        const LineRange lines = console::lines_to_print(r.per_page, r.last_line, r.pages);
        EXPECT_EQ(lines.first, r.first);
        EXPECT_EQ(lines.last, r.last);
        EXPECT_EQ(lines.count(), std::max(0, r.last - r.first + 1));
    }
    EXPECT_EQ(console::pages_for(100, 50), 2);  // no empty page after a full one
    EXPECT_EQ(console::pages_for(101, 50), 3);
    EXPECT_EQ(console::pages_for(1, 50), 1);
    EXPECT_EQ(console::pages_for(0, 50), 1);
}

}  // namespace
}  // namespace corvane::testing
