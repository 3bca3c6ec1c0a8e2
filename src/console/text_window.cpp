// Typing, the keys and the console's requests: everything that edits the transcript.
#include "console/text_window.hpp"

#include <algorithm>

namespace corvane::console {

namespace {
constexpr unsigned char backspace = 8;
constexpr unsigned char tab = 9;
constexpr unsigned char line_feed = 10;
constexpr unsigned char carriage_return = 13;
constexpr int tab_stop = 8;
}  // namespace

TextWindow::TextWindow(TextWindowView& view, Clipboard& clipboard, int char_width, int char_height)
    : view_(view), clipboard_(clipboard) {
    s_.char_width = std::max(1, char_width);
    s_.char_height = std::max(1, char_height);
}

void TextWindow::resized(int width, int height) {
    s_.client_width = std::max(0, width);
    s_.client_height = std::max(0, height);
    s_.visible_rows = s_.client_height / s_.char_height;
    s_.visible_columns = s_.client_width / s_.char_width;
    update_scroll_bars();
}

void TextWindow::focus_changed(bool gained) {
    view_.show_caret(gained, s_.char_width, s_.char_height);
    if (gained) place_caret();
}

void TextWindow::set_font_metrics(int char_width, int char_height) {
    s_.char_width = std::max(1, char_width);
    s_.char_height = std::max(1, char_height);
    view_.show_caret(true, s_.char_width, s_.char_height);
    resized(s_.client_width, s_.client_height);
    view_.invalidate_all();
    place_caret();
}

void TextWindow::set_text_colour(Colour colour) {
    s_.text_colour = colour;
    view_.invalidate_all();
}

void TextWindow::character(unsigned char c) {
    drop_selection();
    switch (c) {
        case backspace:
            if (s_.caret_column > answer_start()) {
                --s_.caret_column;
                delete_at_caret();
            }
            break;
        case tab:
            // At least one blank; a full line stops the tab short.
            do {
                if (!type_printable(' ')) break;
            } while (s_.caret_column % tab_stop != 0);
            break;
        case carriage_return:
            enter();
            break;
        default:
            type_printable(c == line_feed ? ' ' : static_cast<char>(c));
            break;
    }
    s_.modified = true;
    place_caret();
}

bool TextWindow::type_printable(char c) {
    vertical_scroll(ScrollRequest::bottom);
    if (s_.new_line_pending) {
        start_new_line();
        s_.new_line_pending = false;
    }
    if (!insert_blank_at_caret()) return false;
    s_.lines.put(s_.caret_column, c);
    ++s_.caret_column;
    s_.widest_line = std::max(s_.widest_line, s_.caret_column);
    if (s_.caret_column + 1 > s_.visible_columns) {
        horizontal_scroll(ScrollRequest::line_down);
        update_scroll_bars();
    }
    return true;
}

void TextWindow::enter() {
    // The answer is taken now: a paste may type more lines before the read looks at it.
    if (s_.reading_line) s_.answer.assign(typed_answer());
    if (s_.new_line_pending) {  // an empty line ends
        if (s_.vertical_offset + s_.visible_rows + 2 < s_.last_line()) vertical_scroll(ScrollRequest::bottom);
        start_new_line();
    }
    if (s_.vertical_offset < s_.visible_rows) update_scroll_bars();
    s_.caret_column = 0;
    ++s_.caret_row;
    s_.new_line_pending = true;
    if (s_.horizontal_offset != 0) horizontal_scroll(ScrollRequest::top);
    if (s_.last_line() + 2 > s_.visible_rows) {
        const int wanted = ++s_.vertical_offset;
        view_.scroll_contents(0, -s_.char_height);
        update_scroll_bars();
        // The range held the offset back: what was scrolled no longer matches it.
        if (s_.vertical_offset != wanted) view_.invalidate_all();
    }
    s_.reading_line = false;
}

std::string_view TextWindow::typed_answer() const {
    if (s_.new_line_pending) return {};  // nothing typed since the last line ended
    const std::string_view last = s_.last_line() > 0 ? line(s_.last_line() - 1) : std::string_view{};
    const auto start = static_cast<std::size_t>(std::max(0, s_.input_start_column));
    return last.size() > start ? last.substr(start) : std::string_view{};
}

void TextWindow::start_new_line() {
    if (const int discarded = s_.lines.start_line()) lines_discarded(discarded);
}

// The oldest lines left the store: every row moves up by their number.
void TextWindow::lines_discarded(int count) {
    s_.caret_row -= count;
    s_.vertical_offset = std::max(0, s_.vertical_offset - count);
    if (s_.selection_count > 0) {
        s_.selection.row -= count;
        if (s_.selection.row < 0) {
            s_.selection_count = 0;
            set_edit_commands(false);
        }
    }
    update_scroll_bars();
    view_.invalidate_all();
}

bool TextWindow::insert_blank_at_caret() {
    if (s_.new_line_pending) return false;
    const int discarded = s_.lines.insert(s_.caret_column, ' ');
    if (discarded < 0) return false;  // the line being typed fills the whole store
    if (discarded > 0) lines_discarded(discarded);
    invalidate_row_from(s_.caret_row, s_.caret_column);
    s_.modified = true;
    return true;
}

void TextWindow::delete_at_caret() {
    if (s_.new_line_pending) return;
    const int last = s_.last_line() - 1;
    if (s_.caret_column >= s_.lines.length(last)) return;  // nothing right of the caret
    s_.lines.erase(last, s_.caret_column, 1);
    invalidate_row_from(s_.caret_row, s_.caret_column);
    s_.modified = true;
}

bool TextWindow::key_down(int key) {
    switch (key) {
        case keys::page_up: vertical_scroll(ScrollRequest::page_up); return true;
        case keys::page_down: vertical_scroll(ScrollRequest::page_down); return true;
        case keys::end: vertical_scroll(ScrollRequest::bottom); return true;
        case keys::home: move_caret_home(); return true;
        case keys::up: vertical_scroll(ScrollRequest::line_up); return true;
        case keys::down: vertical_scroll(ScrollRequest::line_down); return true;
        case keys::left: move_caret_left(); return true;
        case keys::right:
            if (!s_.new_line_pending) {
                s_.caret_column = std::min(s_.caret_column + 1, s_.lines.length(s_.last_line() - 1));
                place_caret();
            }
            return true;
        case keys::insert: insert_blank_at_caret(); return true;
        case keys::del:
            if (s_.caret_column >= answer_start()) delete_at_caret();
            return true;
        default: return false;
    }
}

void TextWindow::write_text(const char* bytes, std::size_t count) {
    if (count > 0 && bytes[count - 1] == static_cast<char>(line_feed)) --count;
    for (std::size_t i = 0; i < count; ++i) character(static_cast<unsigned char>(bytes[i]));
    s_.input_start_column = s_.caret_column;
    s_.modified = true;
}

void TextWindow::clear() {
    s_.lines.clear();
    s_.widest_line = 0;
    s_.horizontal_offset = 0;
    s_.vertical_offset = 0;
    s_.caret_column = 0;
    s_.caret_row = 0;
    s_.new_line_pending = true;
    s_.input_start_column = 0;
    s_.selection_count = 0;
    s_.selecting = false;
    set_edit_commands(false);
    update_scroll_bars();
    view_.invalidate_all();
    place_caret();
}

}  // namespace corvane::console
