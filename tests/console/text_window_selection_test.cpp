// Selection by dragging and by double click, and the edit commands over it: Copy, Cut,
// Delete and Paste, with the clipboard reached through its interface.
#include <gtest/gtest.h>

#include <string>

#include "console_fakes.hpp"

namespace corvane::testing {
namespace {

constexpr int cw = ModelWindow::cell_width;
constexpr int ch = ModelWindow::cell_height;

struct Selected {
    int count;
    int row;
    int start;
    int end;
    friend bool operator==(const Selected&, const Selected&) = default;
};

Selected selection_of(const console::TextWindow& w) {
    const auto& s = w.state();
    if (s.selection_count == 0) return {0, 0, 0, 0};
    return {1, s.selection.row, s.selection.start_column, s.selection.end_column};
}

bool edit_commands_enabled(RecordingView& view) {
    return view.enabled[console::command_cut] && view.enabled[console::command_copy] &&
           view.enabled[console::command_delete];
}

TEST(TextWindowSelection, DoubleClickSelectsTheWordUnderThePointer) {
    struct Case {
        const char* name;
        int column;
        int row;
        Selected expected;
    };
    const Case cases[] = {
        {"inside the first word", 2, 0, {1, 0, 0, 5}},
        {"on the first word's first letter", 0, 0, {1, 0, 0, 5}},
        {"inside the second word", 7, 0, {1, 0, 6, 10}},
        {"on the last letter", 9, 0, {1, 0, 6, 10}},
        {"on the blank between them", 5, 0, {0, 0, 0, 0}},
        {"beyond the end of the line", 12, 0, {0, 0, 0, 0}},
        {"below the last line", 1, 3, {0, 0, 0, 0}},
        {"a word of an earlier line", 1, 1, {1, 1, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelWindow m;
        m.write("alpha beta\r\n");
        m.write("xyz\r\n");
        m.window.double_click(c.column * cw + 3, c.row * ch + 5);
        EXPECT_EQ(selection_of(m.window), c.expected);
        EXPECT_FALSE(m.window.state().selecting);
    }
}

TEST(TextWindowSelection, DraggingGrowsAndShrinksOneRowsSegment) {
    ModelWindow m;
    m.write("0123456789\r\n");
    m.write("second row\r\n");
    auto drag_to = [&](int column, int row = 0) { m.window.pointer_moved(column * cw, row * ch, true); };

    m.window.pointer_moved(2 * cw, 0, true);  // no button-down here yet: nothing
    EXPECT_EQ(selection_of(m.window).count, 0);

    m.window.button_down();
    struct Step {
        int column;
        int row;
        Selected expected;
    };
    const Step steps[] = {
        {2, 0, {1, 0, 2, 2}},   // starts empty at the pointer
        {6, 0, {1, 0, 2, 6}},   // right of the end: the end follows
        {3, 0, {1, 0, 3, 6}},   // inside, nearer the start: the start follows
        {5, 0, {1, 0, 3, 5}},   // inside, nearer the end: the end follows
        {1, 0, {1, 0, 1, 5}},   // left of the start
        {40, 0, {1, 0, 1, 10}}, // beyond the line: the end stops at its length
        {4, 1, {1, 0, 1, 10}},  // another row changes nothing
        {4, 9, {1, 0, 1, 10}},  // nor does the space below the transcript
    };
    for (const Step& step : steps) {
        drag_to(step.column, step.row);
        EXPECT_EQ(selection_of(m.window), step.expected) << "to column " << step.column << " row " << step.row;
    }
    EXPECT_FALSE(edit_commands_enabled(m.view));
    m.window.button_up();
    EXPECT_TRUE(edit_commands_enabled(m.view));
    drag_to(7);  // the button is up: no more dragging
    EXPECT_EQ(selection_of(m.window), (Selected{1, 0, 1, 10}));

    // A click without a drag, or a drag beyond the end of a line, selects nothing.
    m.window.button_down();
    EXPECT_FALSE(edit_commands_enabled(m.view));
    drag_to(4);
    m.window.button_up();
    EXPECT_EQ(selection_of(m.window).count, 0);
    m.window.button_down();
    drag_to(30, 1);
    m.window.button_up();
    EXPECT_EQ(selection_of(m.window).count, 0);
    EXPECT_FALSE(edit_commands_enabled(m.view));
}

TEST(TextWindowSelection, CopyAndCutPutTheSelectionOnTheClipboard) {
    ModelWindow m;
    m.write("alpha beta\r\n");
    m.write("prompt> hello world");
    m.window.double_click(7 * cw, 0);
    m.window.button_up();
    EXPECT_TRUE(m.window.command(console::command_copy));
    EXPECT_EQ(m.clipboard.content, "beta");
    EXPECT_TRUE(m.view.enabled[console::command_paste]);
    EXPECT_EQ(m.window.line(0), "alpha beta");

    // Cut on the last line, the caret right of the segment: the caret keeps its text.
    m.window.double_click(9 * cw, ch);  // "hello", columns 8 to 13
    m.window.button_up();
    EXPECT_TRUE(m.window.command(console::command_cut));
    EXPECT_EQ(m.clipboard.content, "hello");
    EXPECT_EQ(m.window.line(1), "prompt>  world");
    EXPECT_EQ(m.window.state().caret_column, 19 - 5);
    EXPECT_EQ(selection_of(m.window).count, 0);
    EXPECT_FALSE(edit_commands_enabled(m.view));

    // Without a clipboard nothing is copied, so Cut deletes nothing either.
    m.clipboard.available = false;
    m.view.enabled[console::command_paste] = false;
    m.window.double_click(1 * cw, 0);
    m.window.button_up();
    m.window.command(console::command_cut);
    EXPECT_EQ(m.window.line(0), "alpha beta");
    EXPECT_FALSE(m.view.enabled[console::command_paste]);
}

TEST(TextWindowSelection, DeleteClosesTheGapAndMovesTheCaretAndLaterLines) {
    ModelWindow m;
    m.write("first line\r\n");
    m.write("second\r\n");
    m.write("prompt> hello world");
    // The caret inside the segment goes to its start.
    for (int i = 0; i < 8; ++i) m.window.key_down(console::keys::left);  // column 11
    m.window.double_click(9 * cw, 2 * ch);
    m.window.button_up();
    m.window.command(console::command_delete);
    EXPECT_EQ(m.window.line(2), "prompt>  world");
    EXPECT_EQ(m.window.state().caret_column, 8);

    // A selection in an earlier line: later lines keep their text.
    m.window.double_click(0, 0);
    m.window.button_up();
    m.window.command(console::command_delete);
    EXPECT_EQ(lines_of(m.window), (std::vector<std::string>{" line", "second", "prompt>  world"}));
    EXPECT_EQ(m.window.state().caret_column, 8);
    m.type("X");
    EXPECT_EQ(m.window.line(2), "prompt> X world");

    // A selection the Delete key shortened is cut to its line.
    m.window.double_click(10 * cw, 2 * ch);  // "world", 10 to 15
    m.window.button_up();
    for (int i = 0; i < 4; ++i) m.window.key_down(console::keys::del);  // "prompt> Xld"
    EXPECT_TRUE(m.window.command(console::command_copy));
    EXPECT_EQ(m.clipboard.content, "d");
}

// The Delete key shortens the last line under a selection, down to its start column and
// below: Copy and Cut take only what is left of the segment, Delete removes only that,
// and neither reaches into another line or past the end of this one.
TEST(TextWindowSelection, ASelectionTheDeleteKeyCutShortCopiesAndDeletesOnlyWhatIsLeft) {
    struct Case {
        const char* name;
        int caret;    // where the Delete key is pressed, left of "world" (columns 14 to 19)
        int deletes;
        std::string copied;
        std::string after_delete;
    };
    const Case cases[] = {
        {"the line ends inside the segment", 10, 3, "ld", "prompt> he wor"},
        {"the line ends at the segment's start", 10, 5, "", "prompt> heorld"},
        {"the line ends before the segment's start", 10, 9, "", "prompt> he"},
        {"the line is empty", 0, 19, "", ""},
    };
    for (const int command : {console::command_copy, console::command_cut, console::command_delete}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + ", command " + std::to_string(command));
            ModelWindow m;
            m.write("first line\r\n");
            m.write("prompt> hello world");
            m.window.double_click(15 * cw, ch);
            m.window.button_up();
            for (int i = 19; i > c.caret; --i) m.window.key_down(console::keys::left);
            for (int i = 0; i < c.deletes; ++i) m.window.key_down(console::keys::del);
            const std::string shortened(m.window.line(1));
            m.clipboard.content = "earlier";

            EXPECT_TRUE(m.window.command(command));
            const bool copies = command != console::command_delete;
            const bool deletes = command != console::command_copy;
            std::string last = deletes ? c.after_delete : shortened;
            EXPECT_EQ(m.clipboard.content, copies ? c.copied : "earlier");
            EXPECT_EQ(lines_of(m.window), (std::vector<std::string>{"first line", last}));
            EXPECT_EQ(m.window.state().caret_column, c.caret);
            EXPECT_EQ(selection_of(m.window).count, deletes ? 0 : 1);
            m.type("X");  // the caret still types where it stood
            EXPECT_EQ(m.window.line(1), last.insert(static_cast<std::size_t>(c.caret), "X"));
        }
    }
}

TEST(TextWindowSelection, TypingDropsTheSelection) {
    ModelWindow m;
    m.write("alpha beta\r\n");
    m.window.double_click(0, 0);
    m.window.button_up();
    m.view.forget();
    m.type("x");
    EXPECT_EQ(selection_of(m.window).count, 0);
    EXPECT_FALSE(edit_commands_enabled(m.view));
    EXPECT_EQ(m.view.invalidated.front(), (PixelRect{0, 0, 5 * cw, ch}));  // the old selection
}

TEST(TextWindowSelection, PasteTypesAtMostTheLimitUpToTheFirstZero) {
    struct Case {
        const char* name;
        std::string clipboard;
        std::vector<std::string> lines;
    };
    const std::string long_text(1500, 'p');
    const Case cases[] = {
        {"plain text", "abc", {"abc"}},
        {"a CR ends the line", "one\rtwo", {"one", "two"}},
        {"a zero byte ends the text", std::string("ab\0cd", 5), {"ab"}},
        {"more than the limit", long_text, {std::string(console::TextWindow::paste_limit, 'p')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelWindow m;
        m.clipboard.content = c.clipboard;
        EXPECT_TRUE(m.window.command(console::command_paste));
        EXPECT_EQ(lines_of(m.window), c.lines);
    }
    ModelWindow empty;
    empty.window.command(console::command_paste);
    EXPECT_EQ(empty.window.state().last_line(), 0);
    EXPECT_TRUE(empty.window.command(console::command_undo));
    EXPECT_FALSE(empty.window.command(console::command_save));  // the frame's, not the model's
}

}  // namespace
}  // namespace corvane::testing
