// The user's input as a terminal takes it. While a read waits, the answer line cannot be
// lost: Backspace, Delete, Left and Home stop where the answer begins, so an answer is never
// edited into the prompt. While the program works between reads, what the user types is
// held in order and typed at the next read, so type-ahead never lands inside the output.
#include <algorithm>

#include "console/text_window.hpp"

namespace corvane::console {

namespace {

// The keys that edit the answer line; the others only move the view and act at once.
bool edits_answer(int key) {
    return key == keys::left || key == keys::right || key == keys::home || key == keys::insert || key == keys::del;
}

}  // namespace

int TextWindow::answer_start() const {
    if (!s_.reading_line || s_.new_line_pending) return 0;
    return std::clamp(s_.input_start_column, 0, s_.lines.length(s_.last_line() - 1));
}

void TextWindow::move_caret_left() {
    s_.caret_column = std::max(answer_start(), s_.caret_column - 1);
    place_caret();
}

// Home scrolls to the top of the transcript; while a read waits it takes the caret to the
// start of the answer instead, where the user is typing.
void TextWindow::move_caret_home() {
    if (!s_.reading_line) {
        vertical_scroll(ScrollRequest::top);
        return;
    }
    s_.caret_column = answer_start();
    place_caret();
}

void TextWindow::user_character(unsigned char c) {
    if (holding()) held_.push_back({false, c});
    else character(c);
}

bool TextWindow::user_key(int key) {
    if (holding() && edits_answer(key)) {
        held_.push_back({true, key});
        return true;
    }
    return key_down(key);
}

void TextWindow::set_reading_line(bool reading) {
    s_.reading_line = reading;
    if (!reading) return;
    s_.answer.clear();
    release_held_input();
}

void TextWindow::set_holds_type_ahead(bool holds) {
    s_.holds_type_ahead = holds;
    release_held_input();
}

// Types what was held until the window holds again: an Enter among it answers the read,
// and the rest waits for the next one.
void TextWindow::release_held_input() {
    while (!held_.empty() && !holding()) {
        const HeldInput input = held_.front();
        held_.pop_front();
        if (input.is_key) key_down(input.code);
        else character(static_cast<unsigned char>(input.code));
    }
}

}  // namespace corvane::console
