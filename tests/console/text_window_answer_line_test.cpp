// The answer line cannot be lost: while a read waits, the keys that move left or delete stop
// where the answer begins; while the program works between reads, what the user types waits
// in order for the next read, as a terminal keeps it.
#include <gtest/gtest.h>

#include "console_fakes.hpp"

namespace corvane::testing {
namespace {

namespace keys = console::keys;

// The user's input as a string: '<' Left, '>' Right, '^' Home, '~' Delete, '#' Backspace,
// '|' Enter; every other character is typed.
void play(console::TextWindow& w, std::string_view input) {
    for (char c : input) {
        switch (c) {
            case '<': w.user_key(keys::left); break;
            case '>': w.user_key(keys::right); break;
            case '^': w.user_key(keys::home); break;
            case '~': w.user_key(keys::del); break;
            case '#': w.user_character('\b'); break;
            case '|': w.user_character('\r'); break;
            default: w.user_character(static_cast<unsigned char>(c)); break;
        }
    }
}

TEST(TextWindowAnswerLine, EditingKeysStopWhereTheAnswerBegins) {
    struct Case {
        const char* input;
        const char* answer;
    };
    const Case cases[] = {
        {"12#####1|", "1"},    // the Backspaces do not reach the prompt
        {"5<<<1|", "15"},      // nor does Left
        {"abc^x|", "xabc"},    // Home goes to the start of the answer
        {"ab<<<<<~|", "b"},    // Delete at the start takes the answer's first character
        {"~#|", ""},           // nothing typed: nothing to delete
        {"ab<<>>>c|", "abc"},  // Right stops at the end of the line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        ModelWindow m;
        m.write("Enter data type desired [0-9] :> ");
        m.window.set_reading_line(true);
        play(m.window, c.input);
        EXPECT_FALSE(m.window.state().reading_line);
        EXPECT_EQ(m.window.state().answer, c.answer);
        EXPECT_EQ(m.window.line(0), std::string("Enter data type desired [0-9] :> ") + c.answer);
    }
}

TEST(TextWindowAnswerLine, DeletingPartOfThePromptKeepsTheAnswerWhole) {
    ModelWindow m;
    m.write("Enter code :> ");
    m.window.set_reading_line(true);
    play(m.window, "507");
    m.window.double_click(8, 8);  // "Enter"
    m.window.command(console::command_delete);
    EXPECT_EQ(m.window.typed_answer(), "507");
    m.window.double_click(6 * 8, 8);  // ":>" and then "507" itself
    m.window.command(console::command_delete);
    m.window.double_click(8 * 8, 8);
    m.window.command(console::command_delete);
    EXPECT_EQ(m.window.line(0), " code  ");
    play(m.window, "1|");
    EXPECT_EQ(m.window.state().answer, "1");
}

TEST(TextWindowAnswerLine, WithoutAReadTheKeysKeepTheirWholeLine) {
    ModelWindow m;
    m.write("prompt> ");
    play(m.window, "ab#####<<^");  // no read waits and nothing holds type-ahead
    EXPECT_EQ(m.window.line(0), "promp");
    EXPECT_EQ(m.window.state().caret_column, 3);  // Home scrolled, it did not move the caret
}

TEST(TextWindowAnswerLine, TypeAheadWaitsForTheReadsInOrder) {
    ModelWindow m;
    m.window.set_holds_type_ahead(true);
    m.write("Select a variable\r\n");
    play(m.window, "1|F<<<T|507|");  // typed while the program still writes
    EXPECT_EQ(m.window.held_input(), 12u);
    m.write("Enter data type desired [0-9] :> ");
    EXPECT_EQ(lines_of(m.window), (std::vector<std::string>{"Select a variable", "Enter data type desired [0-9] :> "}));

    std::vector<std::string> answers;
    for (const char* prompt : {"Enter [T]rue or [F]alse :> ", "Enter country code :> "}) {
        m.window.set_reading_line(true);  // the held line up to its Enter answers at once
        EXPECT_FALSE(m.window.state().reading_line);
        answers.push_back(m.window.state().answer);
        m.write("\r\n");
        m.write(prompt);
    }
    m.window.set_reading_line(true);
    answers.push_back(m.window.state().answer);
    EXPECT_EQ(answers, (std::vector<std::string>{"1", "TF", "507"}));
    EXPECT_EQ(m.window.held_input(), 0u);
    EXPECT_EQ(m.window.line(m.window.state().last_line() - 1), "Enter country code :> 507");

    // A read with nothing held waits; what is typed during it is not held.
    m.write("\r\nNext :> ");
    m.window.set_reading_line(true);
    play(m.window, "9");
    EXPECT_TRUE(m.window.state().reading_line);
    EXPECT_EQ(m.window.typed_answer(), "9");
}

TEST(TextWindowAnswerLine, WhatIsHeldWhenTheProgramEndsIsTyped) {
    ModelWindow m;
    m.window.set_holds_type_ahead(true);
    m.write("Program Terminating Normally\r\n");
    play(m.window, "xy<z");
    EXPECT_EQ(m.window.state().last_line(), 1);
    m.window.set_holds_type_ahead(false);
    EXPECT_EQ(m.window.line(1), "xzy");
    play(m.window, "w");  // from now on at once
    EXPECT_EQ(m.window.line(1), "xzwy");
}

}  // namespace
}  // namespace corvane::testing
