#include "console/print_layout.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

namespace corvane::console {

int lines_per_page(int page_height_pixels, int pixels_per_inch, int line_height) {
    if (pixels_per_inch <= 0 || line_height <= 0) return 1;
    const std::int64_t height = std::int64_t{page_height_pixels} * 100 / pixels_per_inch;
    return static_cast<int>(std::max<std::int64_t>(1, height / line_height));
}

LineRange lines_to_print(int lines_per_page, int last_line, std::optional<PageRange> pages) {
    if (!pages) return {1, last_line};
    const std::int64_t first = std::int64_t{lines_per_page} * (pages->first - 1) + 1;
    const std::int64_t last = std::min<std::int64_t>(std::int64_t{lines_per_page} * pages->last, last_line);
    return {static_cast<int>(std::min<std::int64_t>(first, last_line + 1)), static_cast<int>(last)};
}

int pages_for(int lines, int lines_per_page) {
    if (lines <= 0) return 1;
    return (lines + lines_per_page - 1) / std::max(1, lines_per_page);
}

int columns_per_page(int page_width_pixels, int pixels_per_inch, int cell_width) {
    return lines_per_page(page_width_pixels, pixels_per_inch, cell_width);  // the same division, across
}

std::vector<PrintedLine> wrap_lines(const std::vector<int>& lengths, int columns) {
    columns = std::max(1, columns);
    std::vector<PrintedLine> printed;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        int column = 0;
        do {
            printed.push_back({line, column, std::min(columns, lengths[i] - column)});
            column += columns;
        } while (column < lengths[i]);
    }
    return printed;
}

int body_lines_per_page(int lines_per_page) { return std::max(1, lines_per_page - header_lines); }

std::string page_header(std::string_view title, int page, int pages, int columns) {
    const std::string number = "Page " + std::to_string(page) + " of " + std::to_string(pages);
    const std::size_t width = static_cast<std::size_t>(std::max(0, columns));
    if (number.size() + 1 >= width) return number;
    std::string header(title.substr(0, width - number.size() - 1));
    header.resize(width - number.size(), ' ');
    return header + number;
}

}  // namespace corvane::console
