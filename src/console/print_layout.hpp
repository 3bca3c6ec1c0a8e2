// The page arithmetic of printing a text window. Printing scales the page so that 100
// logical units are one inch; the line height comes in those units, and so must the page
// height, or a page would be given more lines than fit on the paper.
#pragma once

#include <optional>

namespace corvane::console {

// Lines per page: the printable height (in printer pixels, at `pixels_per_inch`) in
// hundredths of an inch, divided by the line height in hundredths of an inch. At least 1.
int lines_per_page(int page_height_pixels, int pixels_per_inch, int line_height);

// Pages a user asked for in the print dialog, 1-based and inclusive.
struct PageRange {
    int first = 1;
    int last = 1;
};

// 1-based and inclusive; empty when last < first.
struct LineRange {
    int first = 1;
    int last = 0;
    int count() const { return last >= first ? last - first + 1 : 0; }
};

// The lines to print: those of the chosen pages, or all of them without a page range.
LineRange lines_to_print(int lines_per_page, int last_line, std::optional<PageRange> pages);

// Pages one copy of `lines` lines takes: a page is started only for a line to go on it,
// and an empty print still gives one (empty) page.
int pages_for(int lines, int lines_per_page);

}  // namespace corvane::console
