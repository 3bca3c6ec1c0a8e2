// Printing a text window: the lines (all, or those of the chosen pages) in the window's
// font and colour, 100 logical units to the inch, every character on its cell as on the
// screen. Lines longer than the page is wide go on in the next printed lines, and each page
// opens with a header line: the window's title and "Page n of m".
#pragma once

#include <QSize>
#include <vector>

#include "console/print_layout.hpp"

class QPrinter;

namespace corvane::frame {

class TextWindowWidget;

// Print (the dialog, then the job).
void print_text_window(TextWindowWidget& window);

// The window's text laid out on the printer's pages.
struct PrintedText {
    std::vector<console::PrintedLine> lines;
    int lines_per_page = 1;  // the header's lines included
    int body_lines_per_page = 1;
    int columns = 1;
    int pages = 1;
};
PrintedText lay_out_text(TextWindowWidget& window, QPrinter& printer);

// The job itself on a printer already chosen, printed lines `first_line` to `last_line`
// (1-based, of lay_out_text); false when the printer could not be had.
struct TextPrintResult {
    bool started = false;
    int pages = 0;
    int lines_per_page = 0;
};
TextPrintResult print_text_lines(TextWindowWidget& window, QPrinter& printer, int first_line, int last_line,
                                 bool (*go_on)(void*), void* context);

// A cell of the window's font as printed, in hundredths of an inch: its pixel sizes.
QSize printed_cell(TextWindowWidget& window);
int printed_line_height(TextWindowWidget& window);

}  // namespace corvane::frame
