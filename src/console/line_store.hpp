// The transcript of a text window: its lines, one after the other in one text buffer with no
// separators, and where each line begins. Only the last line grows, but a selection may be
// cut out of any line.
//
// The store holds at most `max_lines` lines and `max_characters` characters. When a new line
// or character would exceed either limit, the oldest lines are discarded, an eighth of the
// store at a time so that the cost spreads over many lines; the last line (the one being
// typed) is never discarded. The caller learns how many lines went, to move its rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::console {

class LineStore {
public:
    static constexpr int max_lines = 32767;
    static constexpr int max_characters = 262144;

    LineStore();

    // `last_line` of the window: lines are numbered 1..line_count(); index 0 is line 1.
    int line_count() const { return static_cast<int>(line_start_.size()) - 1; }
    int character_count() const { return static_cast<int>(text_.size()); }
    std::string_view line(int index) const;
    int length(int index) const { return line_start_[index + 1] - line_start_[index]; }

    // Empties the store, as in a new window.
    void clear();

    // Appends an empty line. Returns the number of old lines discarded to make room.
    int start_line();

    // Inserts `c` at `column` of the last line (0 <= column <= its length). Returns the
    // number of old lines discarded to make room, or -1 when the last line alone fills the
    // store and nothing was inserted.
    int insert(int column, char c);

    // Replaces the character at `column` of the last line.
    void put(int column, char c);

    // Removes `count` characters of line `index` from `column` on; later lines move up in
    // the buffer. Column and count must lie within the line.
    void erase(int index, int column, int count);

private:
    // Discards the oldest lines (never the last) until at least `characters` characters are
    // free, or only the last line is left. Returns the number of lines discarded.
    int make_room(int characters);
    int discard_oldest(int count);

    std::string text_;
    std::vector<std::int32_t> line_start_;  // line i occupies [line_start_[i], line_start_[i+1])
};

}  // namespace corvane::console
