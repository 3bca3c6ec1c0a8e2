// Selection with the mouse, and the edit commands (Copy, Cut, Paste, Delete) over it. A
// selection never spans rows.
#include <algorithm>
#include <cstdlib>

#include "console/text_window.hpp"

namespace corvane::console {

int TextWindow::column_at(int x) const { return std::max(0, x / s_.char_width + s_.horizontal_offset); }
int TextWindow::row_at(int y) const { return std::max(0, y / s_.char_height + s_.vertical_offset); }

void TextWindow::set_edit_commands(bool enabled) {
    if (s_.edit_commands_enabled == enabled) return;
    s_.edit_commands_enabled = enabled;
    for (Command c : {command_cut, command_copy, command_delete}) view_.enable_command(c, enabled);
}

// The segment within its line as the line stands now (Delete and Insert keys change the
// last line under a selection).
SelectionSegment TextWindow::clamped_selection() const {
    SelectionSegment seg = s_.selection;
    const int length = s_.lines.length(seg.row);
    seg.start_column = std::clamp(seg.start_column, 0, length);
    seg.end_column = std::clamp(seg.end_column, seg.start_column, length);
    return seg;
}

void TextWindow::invalidate_selection() {
    if (s_.selection_count == 0) return;
    const SelectionSegment& seg = s_.selection;
    view_.invalidate({(seg.start_column - s_.horizontal_offset) * s_.char_width,
                      (seg.row - s_.vertical_offset) * s_.char_height,
                      (seg.end_column - seg.start_column) * s_.char_width, s_.char_height});
}

void TextWindow::drop_selection() {
    invalidate_selection();
    s_.selection_count = 0;
    set_edit_commands(false);
}

void TextWindow::button_down() {
    drop_selection();
    s_.selecting = true;
}

void TextWindow::pointer_moved(int x, int y, bool left_button_held) {
    if (!left_button_held || !s_.selecting) return;
    const int row = row_at(y);
    if (row >= s_.last_line()) return;  // below the transcript there is nothing to select
    invalidate_selection();
    const int c = column_at(x);
    const int n = s_.lines.length(row);
    SelectionSegment& seg = s_.selection;
    if (s_.selection_count == 0) {
        if (n >= c) {
            s_.selection_count = 1;
            seg = {row, c, c};
        }
    } else if (seg.row == row) {
        if (c < seg.start_column) seg.start_column = c;
        else if (c > seg.end_column) seg.end_column = std::min(c, n);
        else if (std::abs(c - seg.start_column) < std::abs(c - seg.end_column)) seg.start_column = c;
        else seg.end_column = c;
    }
    invalidate_selection();
}

void TextWindow::double_click(int x, int y) {
    invalidate_selection();
    s_.selection_count = 0;
    const int row = row_at(y);
    const int c = column_at(x);
    if (row < s_.last_line()) {
        const std::string_view text = s_.lines.line(row);
        if (c < static_cast<int>(text.size()) && text[static_cast<std::size_t>(c)] != ' ') {
            const std::size_t blank_before = text.rfind(' ', static_cast<std::size_t>(c));
            const std::size_t blank_after = text.find(' ', static_cast<std::size_t>(c));
            const int start = blank_before == std::string_view::npos ? 0 : static_cast<int>(blank_before) + 1;
            const int end = blank_after == std::string_view::npos ? static_cast<int>(text.size())
                                                                  : static_cast<int>(blank_after);
            s_.selection_count = 1;
            s_.selection = {row, start, end};
        }
    }
    invalidate_selection();
    s_.selecting = false;
}

void TextWindow::button_up() {
    s_.selecting = false;
    if (s_.selection_count == 0 || s_.selection.start_column == s_.selection.end_column) {
        s_.selection_count = 0;
    } else {
        set_edit_commands(true);
    }
    view_.invalidate_all();
}

bool TextWindow::copy_selection() {
    if (s_.selection_count == 0) return false;
    const SelectionSegment seg = clamped_selection();
    return clipboard_.put_text(s_.lines.line(seg.row).substr(
        static_cast<std::size_t>(seg.start_column), static_cast<std::size_t>(seg.end_column - seg.start_column)));
}

void TextWindow::delete_selection() {
    if (s_.selection_count == 0) return;
    const SelectionSegment seg = clamped_selection();
    const int count = seg.end_column - seg.start_column;
    s_.lines.erase(seg.row, seg.start_column, count);
    const bool caret_on_row = !s_.new_line_pending && s_.caret_row == seg.row;
    // The prompt lost characters left of the answer: the answer still begins where it did.
    if (caret_on_row && s_.reading_line)
        s_.input_start_column -= std::clamp(s_.input_start_column, seg.start_column, seg.end_column) - seg.start_column;
    if (caret_on_row && s_.caret_column > seg.start_column) {
        s_.caret_column = s_.caret_column > seg.end_column ? s_.caret_column - count : seg.start_column;
        place_caret();
    }
    invalidate_row_from(seg.row, seg.start_column);
    drop_selection();
    s_.modified = true;
}

void TextWindow::paste() {
    std::optional<std::string> text = clipboard_.text();
    if (!text) return;
    std::string_view typed = *text;
    typed = typed.substr(0, std::min(typed.find('\0'), static_cast<std::size_t>(paste_limit)));
    for (char c : typed) character(static_cast<unsigned char>(c));
}

bool TextWindow::command(int id) {
    switch (id) {
        case command_undo: return true;
        case command_copy:
            if (copy_selection()) view_.enable_command(command_paste, true);
            return true;
        case command_cut:
            if (copy_selection()) {
                delete_selection();
                view_.enable_command(command_paste, true);
            }
            return true;
        case command_paste: paste(); return true;
        case command_delete: delete_selection(); return true;
        default: return false;
    }
}

}  // namespace corvane::console
