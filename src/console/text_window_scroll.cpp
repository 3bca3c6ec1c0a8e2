// Scrolling, painting and the caret: how the transcript maps onto the window's pixels.
#include <algorithm>

#include "console/text_window.hpp"

namespace corvane::console {

namespace {

struct Deltas {
    int vertical;
    int horizontal;
};

// How far one request moves each bar, from its offset.
Deltas request_delta(ScrollRequest request, int thumb, const TextWindowState& s) {
    switch (request) {
        case ScrollRequest::line_up: return {-1, -1};
        case ScrollRequest::line_down: return {1, 1};
        case ScrollRequest::page_up: return {std::min(-1, -s.visible_rows), -8};
        case ScrollRequest::page_down: return {std::max(1, s.visible_rows), 8};
        case ScrollRequest::thumb_track: return {thumb - s.vertical_offset, 0};
        case ScrollRequest::thumb_position: return {0, thumb - s.horizontal_offset};
        case ScrollRequest::top: return {-s.vertical_offset, -s.horizontal_offset};
        case ScrollRequest::bottom: return {s.vertical_range - s.vertical_offset, 0};
        case ScrollRequest::other: break;
    }
    return {0, 0};
}

}  // namespace

void TextWindow::update_scroll_bars() {
    // Two rows of slack below the last line, for the row the caret waits on.
    s_.vertical_range = std::max(0, s_.last_line() - s_.visible_rows + 2);
    s_.vertical_offset = std::min(s_.vertical_offset, s_.vertical_range);
    view_.set_scroll_bar(ScrollBar::vertical, s_.vertical_range, s_.vertical_offset);
    s_.horizontal_range = std::max(0, s_.widest_line - s_.visible_columns);
    s_.horizontal_offset = std::min(s_.horizontal_offset, s_.horizontal_range);
    view_.set_scroll_bar(ScrollBar::horizontal, s_.horizontal_range, s_.horizontal_offset);
}

void TextWindow::vertical_scroll(ScrollRequest request, int thumb) {
    scroll_by(ScrollBar::vertical, request_delta(request, thumb, s_).vertical);
}

void TextWindow::horizontal_scroll(ScrollRequest request, int thumb) {
    scroll_by(ScrollBar::horizontal, request_delta(request, thumb, s_).horizontal);
}

void TextWindow::scroll_by(ScrollBar bar, int delta) {
    const bool vertical = bar == ScrollBar::vertical;
    int& offset = vertical ? s_.vertical_offset : s_.horizontal_offset;
    const int range = vertical ? s_.vertical_range : s_.horizontal_range;
    delta = std::clamp(delta, -offset, range - offset);
    if (delta == 0) return;
    offset += delta;
    if (vertical) view_.scroll_contents(0, -delta * s_.char_height);
    else view_.scroll_contents(-delta * s_.char_width, 0);
    view_.set_scroll_bar(bar, range, offset);
}

void TextWindow::place_caret() {
    view_.place_caret((s_.caret_column - s_.horizontal_offset) * s_.char_width,
                      (s_.caret_row - s_.vertical_offset) * s_.char_height);
}

void TextWindow::invalidate_row_from(int row, int column) {
    const int x = (column - s_.horizontal_offset) * s_.char_width;
    const int width = s_.client_width - x;
    if (width <= 0) return;
    view_.invalidate({x, (row - s_.vertical_offset) * s_.char_height, width, s_.char_height});
}

void TextWindow::paint(const PixelRect& invalid, TextPainter& painter) {
    const int first = std::max(0, s_.vertical_offset + invalid.y / s_.char_height - 1);
    const int last = std::min(s_.last_line() - 1, s_.vertical_offset + (invalid.y + invalid.height) / s_.char_height);
    const int x = -s_.horizontal_offset * s_.char_width;
    for (int row = first; row <= last; ++row) {
        painter.draw_text(x, (row - s_.vertical_offset) * s_.char_height, s_.lines.line(row), s_.text_colour,
                          std::nullopt);
    }
    if (s_.selection_count > 0 && s_.selection.row >= s_.vertical_offset &&
        s_.selection.row <= s_.vertical_offset + s_.visible_rows) {
        const SelectionSegment seg = clamped_selection();
        const std::string_view text = s_.lines.line(seg.row);
        painter.draw_text((seg.start_column - s_.horizontal_offset) * s_.char_width,
                          (seg.row - s_.vertical_offset) * s_.char_height,
                          text.substr(static_cast<std::size_t>(seg.start_column),
                                      static_cast<std::size_t>(seg.end_column - seg.start_column)),
                          colour_white, colour_blue);
    }
    place_caret();
    view_.enable_command(command_save, s_.modified);
}

}  // namespace corvane::console
