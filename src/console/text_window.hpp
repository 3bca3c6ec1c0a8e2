// The model of a text window: an append-only transcript whose last line is edited in
// insert mode, a caret, one selection segment, and the scroll state. It is driven by the
// events of the window (typing, keys, scrolling, the mouse, menu commands, the console's
// write-text and clear requests) and tells its TextWindowView what to redraw, scroll,
// enable or gray. Font metrics arrive as two numbers, the cell width and height.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

#include "console/line_store.hpp"
#include "console/text_window_view.hpp"

namespace corvane::console {

// Virtual-key codes of the keys a text window handles.
namespace keys {
constexpr int page_up = 33;
constexpr int page_down = 34;
constexpr int end = 35;
constexpr int home = 36;
constexpr int left = 37;
constexpr int up = 38;
constexpr int right = 39;
constexpr int down = 40;
constexpr int insert = 45;
constexpr int del = 46;
}  // namespace keys

// Scroll-bar requests; a vertical bar honours the dragged thumb, a horizontal one the
// released thumb.
enum class ScrollRequest { line_up, line_down, page_up, page_down, thumb_track, thumb_position, top, bottom, other };

// Selected cells of one row, end exclusive.
struct SelectionSegment {
    int row = 0;
    int start_column = 0;
    int end_column = 0;
};

struct TextWindowState {
    int char_height = 16;
    int char_width = 8;
    Colour text_colour = colour_black;
    int client_width = 0;    // pixels
    int client_height = 0;
    int visible_columns = 0;
    int visible_rows = 0;
    int caret_column = 0;
    int caret_row = 0;       // row r shows line r+1
    int horizontal_range = 0;
    int horizontal_offset = 0;
    int vertical_range = 0;
    int vertical_offset = 0;
    bool new_line_pending = true;  // the caret waits below the last line
    int selection_count = 0;       // 0 or 1
    SelectionSegment selection;
    bool selecting = false;        // the left button is held after a button-down here
    int widest_line = 0;           // greatest caret column reached by typing
    LineStore lines;               // last_line is lines.line_count()
    bool reading_line = false;     // a console read waits for Enter here
    bool holds_type_ahead = false; // a running program may read here: input waits for its read
    int input_start_column = 0;    // where the answer to the last prompt begins
    std::string answer;            // right of the prompt on the last line when Enter ended the read
    bool modified = true;
    bool has_file_name = false;
    std::string file_name;
    bool edit_commands_enabled = false;  // Cut, Copy and Delete

    int last_line() const { return lines.line_count(); }
};

class TextWindow {
public:
    // The most characters one Paste types.
    static constexpr int paste_limit = 1024;

    TextWindow(TextWindowView& view, Clipboard& clipboard, int char_width, int char_height);
    TextWindow(const TextWindow&) = delete;
    TextWindow& operator=(const TextWindow&) = delete;

    const TextWindowState& state() const { return s_; }
    std::string_view line(int row) const { return s_.lines.line(row); }

    // Window events, as an adapter receives them from its toolkit. Pixel positions are in
    // the client area; `resized` takes the client area's new size.
    void resized(int width, int height);
    void focus_changed(bool gained);                 // shows or hides the caret
    void set_font_metrics(int char_width, int char_height);  // after the font dialog
    void set_text_colour(Colour colour);             // after the colour dialog
    void paint(const PixelRect& invalid, TextPainter& painter);
    void character(unsigned char c);                 // a typed character: Backspace 8, Tab 9, Enter 13
    bool key_down(int key);                          // keys::...; false: not a key of the window
    // What the user types or presses, as a terminal takes it: while the window holds
    // type-ahead and no read waits, characters and the keys that edit the answer are kept in
    // order and given to the next read; otherwise they act at once. (A paste is typed at
    // once: it is the transcript's own Edit command.)
    void user_character(unsigned char c);
    bool user_key(int key);
    std::size_t held_input() const { return held_.size(); }
    void vertical_scroll(ScrollRequest request, int thumb = 0);
    void horizontal_scroll(ScrollRequest request, int thumb = 0);
    void button_down();                              // left button; the adapter gives the focus
    void pointer_moved(int x, int y, bool left_button_held);
    void button_up();
    void double_click(int x, int y);
    bool command(int id);  // Undo, Cut, Copy, Paste, Delete; false: not the model's (Save, Font, ...)

    // The console's requests: the bytes of one write (a final LF is dropped, CR ends the
    // line, every other byte is typed), and emptying the window.
    void write_text(const char* bytes, std::size_t count);
    void clear();

    // A console read starts waiting here (the input held for it is typed now, up to the
    // Enter that answers it), or is done with the answer.
    void set_reading_line(bool reading);
    // A program that may read here runs (input is held between its reads), or has ended
    // (what was held is typed now).
    void set_holds_type_ahead(bool holds);
    // What stands right of the prompt on the last line now.
    std::string_view typed_answer() const;
    void set_input_start_column(int column) { s_.input_start_column = column; }
    // Saving wrote the text out: Save is grayed until the next change.
    void mark_saved() {
        s_.modified = false;
        view_.enable_command(command_save, false);
    }
    // The file Save writes to from now on.
    void set_file_name(std::string path) {
        s_.file_name = std::move(path);
        s_.has_file_name = true;
    }

private:
    struct HeldInput {
        bool is_key;  // a key of keys::..., else a character
        int code;
    };
    bool holding() const { return s_.holds_type_ahead && !s_.reading_line; }
    void release_held_input();
    int answer_start() const;  // the leftmost column the caret may edit
    void move_caret_left();
    void move_caret_home();

    bool type_printable(char c);
    void enter();
    void start_new_line();
    void lines_discarded(int count);
    bool insert_blank_at_caret();
    void delete_at_caret();

    void update_scroll_bars();
    void scroll_by(ScrollBar bar, int delta);
    void place_caret();
    void invalidate_row_from(int row, int column);

    void invalidate_selection();
    void drop_selection();
    void set_edit_commands(bool enabled);
    SelectionSegment clamped_selection() const;
    bool copy_selection();
    void delete_selection();
    void paste();
    int column_at(int x) const;
    int row_at(int y) const;

    TextWindowState s_;
    std::deque<HeldInput> held_;
    TextWindowView& view_;
    Clipboard& clipboard_;
};

}  // namespace corvane::console
