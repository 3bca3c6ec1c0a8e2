// The frame's console hooks over the text-window model: reading an answer while the pump
// plays the user, writing records, polling, the end of the program, and a console whose
// window has gone.
#include <gtest/gtest.h>

#include <string>

#include "fmtio/statement_api.hpp"
#include "frame_fixture.hpp"
#include "units/file_layer.hpp"

namespace corvane::testing {
namespace {

units::ConnectionRecord console_input_record() {
    units::ConnectionRecord record;
    record.unit_number = units::unit_console_in;
    return record;
}

TEST(FrameConsole, ReadReturnsWhatStandsRightOfThePromptCutToTheBuffer) {
    struct Case {
        const char* name;
        std::string keys;
        std::size_t buffer_size;
        std::string bytes;
    };
    const Case cases[] = {
        {"a digit and Enter", "5\r", 256, "5\r\n"},
        {"Enter alone", "\r", 256, "\r\n"},
        {"an answer longer than the buffer", "abcdefgh\r", 6, "abcd\r\n"},
        {"a buffer with room for the line end only", "xy\r", 2, "\r\n"},
        {"backspace edits the answer", "12\b3\r", 256, "13\r\n"},
        {"a tab is blanks up to the next stop", "\tx\r", 256, "       x\r\n"},  // the prompt ends at column 9
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameFixture f;
        f.console_window->write_text("Enter :> ", 9);
        f.answer_with(c.keys);
        units::ConnectionRecord record = console_input_record();
        std::string buffer(c.buffer_size, '\0');
        const std::size_t n = f.frame.read_line(buffer.data(), buffer.size(), record);
        EXPECT_EQ(buffer.substr(0, n), c.bytes);
        EXPECT_FALSE(f.console_window->state().reading_line);
        EXPECT_EQ(f.console_window->state().input_start_column, 0);
    }
}

TEST(FrameConsole, StatementsWriteAndReadThroughTheConsoleWindow) {
    FrameFixture f;
    EXPECT_EQ(fmtio::write(units::default_unit, fmtio::fmt<"(1x,a)">, "Welcome"), units::outcome_ok);
    EXPECT_EQ(fmtio::write(units::default_unit, fmtio::fmt<"(a,$)">, "Enter data type desired [0-9] :> "),
              units::outcome_ok);
    f.answer_with("7\r");
    std::int32_t choice = 0;
    EXPECT_EQ(fmtio::read(units::default_unit, fmtio::fmt<"(i1)">, choice), units::outcome_ok);
    EXPECT_EQ(choice, 7);
    // Run-time messages go to the error output, which is the console window too.
    units::write_error_message("? message\r\n");
    EXPECT_EQ(lines_of(*f.console_window),
              (std::vector<std::string>{" Welcome", "Enter data type desired [0-9] :> 7", "? message"}));
}

TEST(FrameConsole, APasteEndingInCarriageReturnCompletesAWaitingRead) {
    FrameFixture f;
    f.console_window->write_text("Answer :> ", 10);
    console::TextWindow* w = f.console_window;
    f.pump.on_idle = [w](ScriptedPump& p) {
        p.post([w] { w->command(console::command_paste); });
    };
    f.host.clipboard_of(*w).content = "pasted answer\r";
    units::ConnectionRecord record = console_input_record();
    char buffer[256];
    const std::size_t n = f.frame.read_line(buffer, sizeof buffer, record);
    EXPECT_EQ(std::string(buffer, n), "pasted answer\r\n");
    EXPECT_EQ(lines_of(*w), (std::vector<std::string>{"Answer :> pasted answer"}));
    EXPECT_TRUE(w->state().new_line_pending);
}

TEST(FrameConsole, APasteWithTextAfterItsCarriageReturnAnswersWithTheTextBefore) {
    // The answer is what stood right of the prompt when Enter was pressed: the text the
    // paste types after its CR goes into the window, not into this answer.
    FrameFixture f;
    f.console_window->write_text("Answer :> ", 10);
    console::TextWindow* w = f.console_window;
    f.pump.on_idle = [w](ScriptedPump& p) {
        p.post([w] { w->command(console::command_paste); });
    };
    f.host.clipboard_of(*w).content = "pasted answer\rmore text after it";
    units::ConnectionRecord record = console_input_record();
    char buffer[256];
    const std::size_t n = f.frame.read_line(buffer, sizeof buffer, record);
    EXPECT_EQ(std::string(buffer, n), "pasted answer\r\n");
    EXPECT_EQ(lines_of(*w), (std::vector<std::string>{"Answer :> pasted answer", "more text after it"}));

    // A read whose prompt ended its line, answered by Enter alone, gets an empty answer.
    w->write_text("Next:\r\n", 7);
    f.pump.on_idle = [w](ScriptedPump& p) {
        p.post([w] { w->character('\r'); });
    };
    EXPECT_EQ(std::string(buffer, f.frame.read_line(buffer, sizeof buffer, record)), "\r\n");
}

TEST(FrameConsole, PollDrainsPendingEventsAndProgramEndPumpsUntilQuit) {
    FrameFixture f;
    int handled = 0;
    f.pump.post([&] { ++handled; });
    f.pump.post([&] { ++handled; });
    units::console_hooks().poll();
    EXPECT_EQ(handled, 2);
    EXPECT_FALSE(f.pump.events_pending());
    // Any statement polls, even one on an internal unit; a posted event raises the flag
    // that lets the poll through.
    f.pump.post([&] { ++handled; });
    EXPECT_TRUE(f.pump.events_pending());
    fmtio::Text<4> field;
    fmtio::write(fmtio::internal_unit(field), fmtio::fmt<"(i4)">, 42);
    EXPECT_EQ(handled, 3);
    EXPECT_EQ(f.pump.pending(), 0u);

    // After the end the windows stay alive until the user quits.
    f.pump.on_idle = [&](ScriptedPump& p) {
        if (p.idle_calls < 3) p.post([&] { ++handled; });
        else p.request_quit(0);
    };
    EXPECT_FALSE(f.frame.program_ended());
    f.frame.program_end(0);
    EXPECT_TRUE(f.frame.program_ended());
    EXPECT_EQ(handled, 5);
    const int idles = f.pump.idle_calls;
    f.frame.program_end(0);  // a second end returns at once
    EXPECT_EQ(f.pump.idle_calls, idles);
}

TEST(FrameConsole, AWriteToAClosedWindowFailsAndQuitsTheLoop) {
    FrameFixture f;
    f.frame.window_closed(*f.console_window);
    EXPECT_EQ(f.frame.write_bytes("lost\r\n", 6, units::handle_stdout, nullptr), 0u);
    EXPECT_TRUE(f.pump.quit_requested());
    EXPECT_EQ(f.pump.quit_code(), -1);
}

TEST(FrameConsoleDeathTest, AReadWhoseWindowIsClosedEndsTheRunAsAFailure) {
    FrameFixture f;
    console::FrameConsole& frame = f.frame;
    console::TextWindow* w = f.console_window;
    // The user closes the console while the read waits.
    f.pump.on_idle = [&frame, w](ScriptedPump& p) { p.post([&frame, w] { frame.window_closed(*w); }); };
    EXPECT_EXIT(
        {
            std::int32_t n = 0;
            fmtio::read(units::default_unit, fmtio::fmt<"(i4)">, n);
        },
        ::testing::ExitedWithCode(255), "\\[Window Handler Error\\] Not a valid window, program exited\\.");
    // A read with no console window at all ends the same way.
    f.frame.window_closed(*w);
    units::ConnectionRecord record = console_input_record();
    char buffer[16];
    EXPECT_EXIT(f.frame.read_line(buffer, sizeof buffer, record), ::testing::ExitedWithCode(255),
                "Not a valid window");
}

}  // namespace
}  // namespace corvane::testing
