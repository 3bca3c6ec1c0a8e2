// Printing a text window: the lines (all, or those of the chosen pages) in the window's
// font and colour, 100 logical units to the inch, as many lines to a page as fit.
#pragma once

class QPrinter;

namespace corvane::frame {

class TextWindowWidget;

// Print (the dialog, then the job).
void print_text_window(TextWindowWidget& window);

// The job itself on a printer already chosen; false when the printer could not be had.
struct TextPrintResult {
    bool started = false;
    int pages = 0;
    int lines_per_page = 0;
};
TextPrintResult print_text_lines(TextWindowWidget& window, QPrinter& printer, int first_line, int last_line,
                                 bool (*go_on)(void*), void* context);

// The window's font as printed: its pixel height taken as hundredths of an inch.
int printed_line_height(TextWindowWidget& window);

}  // namespace corvane::frame
