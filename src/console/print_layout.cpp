#include "console/print_layout.hpp"

#include <algorithm>
#include <cstdint>

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

}  // namespace corvane::console
