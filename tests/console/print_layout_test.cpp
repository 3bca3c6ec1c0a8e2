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

namespace corvane::testing {
namespace {

using console::PrintedLine;

TEST(PrintLayout, LongLinesGoOnInTheNextPrintedLines) {
    // 8.5 inches at 300 dpi with cells of 0.07 inch: 121 columns.
    EXPECT_EQ(console::columns_per_page(2550, 300, 7), 121);
    struct Row {
        std::vector<int> lengths;
        int columns;
        std::vector<PrintedLine> expected;
    };
    const Row rows[] = {
        {{3, 0, 10}, 4, {{1, 0, 3}, {2, 0, 0}, {3, 0, 4}, {3, 4, 4}, {3, 8, 2}}},
        {{8}, 4, {{1, 0, 4}, {1, 4, 4}}},  // no empty piece after a full one
        {{5}, 0, {{1, 0, 1}, {1, 1, 1}, {1, 2, 1}, {1, 3, 1}, {1, 4, 1}}},
        {{}, 4, {}},
    };
    for (const Row& r : rows) EXPECT_EQ(console::wrap_lines(r.lengths, r.columns), r.expected) << r.columns;
}

TEST(PrintLayout, EveryPageOpensWithTitleAndPageNumber) {
    EXPECT_EQ(console::body_lines_per_page(60), 58);
    EXPECT_EQ(console::body_lines_per_page(2), 1);
    EXPECT_EQ(console::page_header("Input/Output", 2, 11, 30), "Input/Output      Page 2 of 11");
    EXPECT_EQ(console::page_header("A very long window title indeed", 1, 3, 20), "A very l Page 1 of 3");
    EXPECT_EQ(console::page_header("Input/Output", 12, 12, 10), "Page 12 of 12");  // the number is kept whole
}

}  // namespace
}  // namespace corvane::testing
