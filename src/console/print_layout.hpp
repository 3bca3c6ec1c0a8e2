// The page arithmetic of printing a text window. Printing scales the page so that 100
// logical units are one inch; the line height comes in those units, and so must the page
// height, or a page would be given more lines than fit on the paper. Lines longer than the
// page is wide go on in the next printed lines, and every page opens with a header line
// (the window's title, "Page n of m") and a blank line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Columns on a page: the printable width (in printer pixels, at `pixels_per_inch`) in
// hundredths of an inch, divided by the cell width in hundredths of an inch. At least 1.
int columns_per_page(int page_width_pixels, int pixels_per_inch, int cell_width);

// A piece of a window line as printed: the line (1-based), its first column, its length.
struct PrintedLine {
    int line = 1;
    int first_column = 0;
    int length = 0;
    friend bool operator==(const PrintedLine&, const PrintedLine&) = default;
};

// Lines of the given lengths (line 1 first) cut into pieces of at most `columns`
// characters; an empty line is one empty piece.
std::vector<PrintedLine> wrap_lines(const std::vector<int>& lengths, int columns);

// The header line and the blank line after it open every page.
inline constexpr int header_lines = 2;

// Printed lines of text on a page under its header. At least 1.
int body_lines_per_page(int lines_per_page);

// The header of page `page` of `pages`: the title, then "Page n of m" ending at the last of
// `columns` columns; the title is cut to leave one blank before the page number.
std::string page_header(std::string_view title, int page, int pages, int columns);

}  // namespace corvane::console
