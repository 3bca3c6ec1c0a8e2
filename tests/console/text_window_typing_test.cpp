// Typing and the console's write-text request: what the lines, the caret, the pending new
// line and the start of the next answer are after each group of writes and keys.
#include <gtest/gtest.h>

#include "console_fakes.hpp"

namespace corvane::testing {
namespace {

using console::TextWindowState;
namespace keys = console::keys;

struct WriteCase {
    const char* name;
    std::vector<std::string> writes;
    std::vector<std::string> lines;
    bool new_line_pending;
    int caret_row;
    int caret_column;
    int input_start_column;
};

TEST(TextWindowTyping, WritesBecomeLinesCaretAndAnswerStart) {
    const WriteCase cases[] = {
        {"a record with its line end", {"abc\r\n"}, {"abc"}, true, 1, 0, 0},
        {"the next write starts line 2", {"abc\r\n", "d"}, {"abc", "d"}, false, 1, 1, 1},
        {"a prompt keeps the caret after it", {"Enter :> "}, {"Enter :> "}, false, 0, 9, 9},
        {"a write of LF alone changes no line", {"\n"}, {}, true, 0, 0, 0},
        {"an LF inside a write shows as a blank", {"a\nb"}, {"a b"}, false, 0, 3, 3},
        {"two Enters leave an empty line", {"x\r\ry"}, {"x", "", "y"}, false, 2, 1, 1},
        {"a tab at column 0 gives eight blanks", {"\t"}, {"        "}, false, 0, 8, 8},
        {"a tab at column 5 gives three blanks", {"abcde\t"}, {"abcde   "}, false, 0, 8, 8},
        {"a tab at column 8 goes on to 16", {"abcdefgh\tz"}, {"abcdefgh        z"}, false, 0, 17, 17},
        {"backspace at column 0 does nothing", {"\b"}, {}, true, 0, 0, 0},
        {"backspace removes the character left of the caret", {"abd\bc"}, {"abc"}, false, 0, 3, 3},
        {"control characters are stored as they are", {std::string("a\x01z")}, {std::string("a\x01z")}, false, 0, 3, 3},
        {"a lone CR ends the line, a dropped LF too", {"one\r", "two\r\n"}, {"one", "two"}, true, 2, 0, 0},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        ModelWindow m;
        for (const std::string& w : c.writes) m.write(w);
        const TextWindowState& s = m.window.state();
        EXPECT_EQ(lines_of(m.window), c.lines);
        EXPECT_EQ(s.new_line_pending, c.new_line_pending);
        EXPECT_EQ(s.caret_row, c.caret_row);
        EXPECT_EQ(s.caret_column, c.caret_column);
        EXPECT_EQ(s.input_start_column, c.input_start_column);
        EXPECT_TRUE(s.modified);
        // The caret always edits the last line, or waits on the row below it.
        EXPECT_EQ(s.caret_row, s.last_line() - (s.new_line_pending ? 0 : 1));
    }
}

TEST(TextWindowTyping, EnterEndsAWaitingReadAndALoneLineFeedStillModifies) {
    ModelWindow m;
    m.window.mark_saved();
    m.write("\n");
    EXPECT_TRUE(m.window.state().modified);  // a lone LF still counts as a change

    m.window.set_reading_line(true);
    m.type("42");
    EXPECT_TRUE(m.window.state().reading_line);
    m.type("\r");
    EXPECT_FALSE(m.window.state().reading_line);
    EXPECT_EQ(lines_of(m.window), (std::vector<std::string>{"42"}));
}

TEST(TextWindowTyping, KeysMoveTheCaretWithinTheLastLineOnly) {
    ModelWindow m;
    m.write("first\r\n");
    m.write("hello");
    const TextWindowState& s = m.window.state();

    // Left stops at column 0; Right stops at the end of the last line.
    for (int i = 0; i < 7; ++i) m.window.key_down(keys::left);
    EXPECT_EQ(s.caret_column, 0);
    for (int i = 0; i < 9; ++i) m.window.key_down(keys::right);
    EXPECT_EQ(s.caret_column, 5);

    // Typing is insert mode: the rest of the line moves right.
    m.window.key_down(keys::left);
    m.window.key_down(keys::left);
    m.type("XY");
    EXPECT_EQ(m.window.line(1), "helXYlo");
    EXPECT_EQ(s.caret_column, 5);

    // Backspace in the middle closes the gap; Delete takes the character at the caret.
    m.type("\b");
    EXPECT_EQ(m.window.line(1), "helXlo");
    m.window.key_down(keys::del);
    EXPECT_EQ(m.window.line(1), "helXo");
    EXPECT_EQ(s.caret_column, 4);

    // Insert opens a blank at the caret without moving it; Delete at the end does nothing.
    m.window.key_down(keys::insert);
    EXPECT_EQ(m.window.line(1), "helX o");
    m.window.key_down(keys::right);
    m.window.key_down(keys::right);
    m.window.key_down(keys::del);
    EXPECT_EQ(m.window.line(1), "helX o");
    EXPECT_EQ(m.window.line(0), "first");  // earlier lines are never edited by keys

    // While a new line is pending, Right, Insert and Delete do nothing.
    m.type("\r");
    m.window.key_down(keys::right);
    m.window.key_down(keys::insert);
    m.window.key_down(keys::del);
    EXPECT_EQ(s.caret_column, 0);
    EXPECT_EQ(s.last_line(), 2);
    EXPECT_FALSE(m.window.key_down(112));  // F1 is not the window's
}

TEST(TextWindowTyping, InsertedCharactersInvalidateTheRestOfTheirRow) {
    ModelWindow m(40, 10);
    m.write("ab");
    m.view.forget();
    m.window.key_down(keys::left);
    m.type("Z");
    // From the caret's cell (column 1 of row 0) to the right edge of the client area.
    ASSERT_FALSE(m.view.invalidated.empty());
    EXPECT_EQ(m.view.invalidated.back(), (PixelRect{8, 0, 40 * 8 - 8, 16}));
    EXPECT_EQ(m.view.caret_x, 2 * 8);
    EXPECT_EQ(m.view.caret_y, 0);
}

TEST(TextWindowTyping, ClearRequestStartsOverAsANewWindow) {
    ModelWindow m;
    m.write("one\r\n");
    m.write("two\r\n");
    m.write("prompt> ");
    m.window.double_click(0, 0);
    m.window.clear();
    const TextWindowState& s = m.window.state();
    EXPECT_EQ(s.last_line(), 0);
    EXPECT_EQ(s.widest_line, 0);
    EXPECT_TRUE(s.new_line_pending);
    EXPECT_EQ(s.caret_row, 0);
    EXPECT_EQ(s.caret_column, 0);
    EXPECT_EQ(s.input_start_column, 0);
    EXPECT_EQ(s.selection_count, 0);
    EXPECT_EQ(s.vertical_range, 0);
    m.write("again\r\n");
    EXPECT_EQ(lines_of(m.window), (std::vector<std::string>{"again"}));
}

}  // namespace
}  // namespace corvane::testing
