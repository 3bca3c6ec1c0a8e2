// The store's limits: 32,767 lines and 262,144 characters. A full store discards its oldest
// lines; line numbers, the caret, the selection and the view stay consistent, and the line
// being typed is never lost.
#include <gtest/gtest.h>

#include <string>

#include "console/line_store.hpp"
#include "console_fakes.hpp"

namespace corvane::testing {
namespace {

using console::LineStore;

// Short lines, so that 40,000 of them reach the line limit before the character limit.
std::string numbered(int n) { return std::to_string(n); }

// Every line holds its number and the numbers run on without a gap up to `last`.
void expect_contiguous_tail(const console::TextWindow& w, int last) {
    const int count = w.state().last_line();
    ASSERT_GT(count, 0);
    for (int row = 0; row < count; ++row) {
        ASSERT_EQ(w.line(row), numbered(last - count + 1 + row)) << "row " << row;
    }
}

void expect_consistent(const console::TextWindow& w) {
    const auto& s = w.state();
    EXPECT_LE(s.last_line(), LineStore::max_lines);
    EXPECT_LE(s.lines.character_count(), LineStore::max_characters);
    EXPECT_EQ(s.caret_row, s.last_line() - (s.new_line_pending ? 0 : 1));
    EXPECT_LE(s.vertical_offset, s.vertical_range);
    EXPECT_EQ(s.vertical_range, std::max(0, s.last_line() - s.visible_rows + 2));
    if (s.selection_count > 0) {
        EXPECT_LT(s.selection.row, s.last_line());
    }
}

TEST(StoreLimits, LineStoreKeepsBoundariesThroughEditsAndDiscards) {
    LineStore store;
    EXPECT_EQ(store.line_count(), 0);
    store.start_line();
    for (char c : std::string("hello")) store.insert(store.length(0), c);
    store.start_line();
    store.insert(0, 'b');
    store.insert(0, 'a');
    EXPECT_EQ(store.line(0), "hello");
    EXPECT_EQ(store.line(1), "ab");
    store.erase(0, 1, 3);  // an earlier line: later boundaries move
    EXPECT_EQ(store.line(0), "ho");
    EXPECT_EQ(store.line(1), "ab");
    EXPECT_EQ(store.character_count(), 4);

    // Filling every line: the next new line discards the oldest eighth at once.
    LineStore full;
    int discarded = 0;
    for (int n = 0; n < LineStore::max_lines + 1; ++n) {
        discarded += full.start_line();
        full.insert(0, static_cast<char>('a' + n % 26));
    }
    EXPECT_EQ(discarded, LineStore::max_lines / 8);
    EXPECT_EQ(full.line_count(), LineStore::max_lines + 1 - discarded);
    EXPECT_EQ(full.line(full.line_count() - 1), std::string(1, static_cast<char>('a' + LineStore::max_lines % 26)));
    EXPECT_EQ(full.line(0), std::string(1, static_cast<char>('a' + discarded % 26)));

    // One line that fills the store cannot make room for itself: it stops growing.
    LineStore one;
    one.start_line();
    for (int n = 0; n < LineStore::max_characters; ++n) ASSERT_GE(one.insert(n, 'x'), 0);
    EXPECT_EQ(one.insert(0, 'y'), -1);
    EXPECT_EQ(one.character_count(), LineStore::max_characters);
}

TEST(StoreLimits, ATranscriptOfFortyThousandLinesKeepsTheNewest) {
    ModelWindow m(80, 25);
    for (int n = 1; n <= 40000; ++n) m.write(numbered(n) + "\r\n");
    expect_consistent(m.window);
    expect_contiguous_tail(m.window, 40000);
    EXPECT_GT(m.window.state().last_line(), LineStore::max_lines - LineStore::max_lines / 8);
    EXPECT_EQ(m.window.state().vertical_offset, m.window.state().vertical_range);  // still at the end
}

TEST(StoreLimits, ATranscriptOfThreeHundredThousandCharactersKeepsTheNewest) {
    ModelWindow m(80, 25);
    // 100-character lines: the character limit comes long before the line limit.
    int n = 0;
    int written = 0;
    while (written < 300000) {
        std::string line = numbered(++n);
        line.resize(100, '.');
        m.write(line + "\r\n");
        written += 102;
    }
    const auto& s = m.window.state();
    expect_consistent(m.window);
    EXPECT_GT(s.lines.character_count(), LineStore::max_characters - LineStore::max_characters / 8 - 100);
    for (int row = 0; row < s.last_line(); ++row) {
        std::string expected = numbered(n - s.last_line() + 1 + row);
        expected.resize(100, '.');
        ASSERT_EQ(m.window.line(row), expected) << "row " << row;
    }
}

TEST(StoreLimits, TheLineBeingTypedSurvivesAFullStore) {
    ModelWindow m(80, 25);
    for (int n = 1; n <= LineStore::max_lines - 1; ++n) m.write(numbered(n) + "\r\n");
    m.write("Answer :> ");  // the last line the store can hold
    m.window.set_reading_line(true);
    m.type("yes\r");
    EXPECT_FALSE(m.window.state().reading_line);
    m.write(numbered(99999) + "\r\n");  // needs a new line: the oldest eighth goes
    const auto& s = m.window.state();
    expect_consistent(m.window);
    const int discarded = LineStore::max_lines / 8;
    EXPECT_EQ(s.last_line(), LineStore::max_lines + 1 - discarded);
    EXPECT_EQ(m.window.line(s.last_line() - 2), "Answer :> yes");
    EXPECT_EQ(m.window.line(s.last_line() - 1), numbered(99999));
    EXPECT_EQ(m.window.line(0), numbered(discarded + 1));

    // A single line longer than the whole store keeps what fits and stays the last line.
    ModelWindow wide(80, 25);
    wide.write("earlier\r\n");
    wide.write(std::string(LineStore::max_characters + 1000, 'w'));
    expect_consistent(wide.window);
    EXPECT_EQ(wide.window.state().last_line(), 1);
    EXPECT_EQ(wide.window.line(0).size(), static_cast<std::size_t>(LineStore::max_characters));
}

TEST(StoreLimits, ASelectionMovesUpWithItsLineOrGoesWithIt) {
    // 256 lines of 1,024 characters fill the store exactly; the last is being typed.
    constexpr int width = 1024;
    auto padded = [](int n) {
        std::string line = numbered(n);
        line.resize(width, ' ');
        return line;
    };
    for (const int selected_row : {200, 10}) {
        SCOPED_TRACE("selection on row " + std::to_string(selected_row));
        ModelWindow m(80, 25);
        for (int n = 1; n < 256; ++n) m.write(padded(n) + "\r\n");
        m.write(padded(256));
        const auto& s = m.window.state();
        ASSERT_EQ(s.lines.character_count(), LineStore::max_characters);
        m.window.double_click(-s.horizontal_offset * 8, (selected_row - s.vertical_offset) * 16);
        m.window.button_up();
        ASSERT_EQ(s.selection_count, 1);
        ASSERT_TRUE(m.view.enabled[console::command_copy]);

        // The Insert key needs one more character: an eighth of the store goes, 32 lines.
        m.window.key_down(console::keys::insert);
        expect_consistent(m.window);
        EXPECT_EQ(s.last_line(), 256 - 32);
        EXPECT_EQ(m.window.line(s.last_line() - 1).size(), static_cast<std::size_t>(width + 1));
        if (selected_row >= 32) {
            EXPECT_EQ(s.selection_count, 1);
            EXPECT_EQ(s.selection.row, selected_row - 32);
            EXPECT_EQ(m.window.line(s.selection.row), padded(selected_row + 1));
        } else {
            EXPECT_EQ(s.selection_count, 0);
            EXPECT_FALSE(m.view.enabled[console::command_copy]);
        }
    }
}

}  // namespace
}  // namespace corvane::testing
