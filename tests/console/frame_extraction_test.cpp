// A whole extraction through the frame's console hooks: a scripted pump types every
// answer into the console window while the program waits, exactly as a user would. The
// three output files must equal those corvane-console writes for the same answers, and the
// window must hold the console transcript: its records as lines, with the answers typed
// where the program read them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialogue.hpp"
#include "frame_fixture.hpp"
#include "transcript_support.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view output_files[] = {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"};

// Runs the dialogue in this process with the frame's hooks; the pump answers from the
// script and, once the program has ended, saves the window's lines and the answers'
// places, then quits. Does not return: the program stops.
[[noreturn]] void run_dialogue_in_frame(const std::vector<std::string>& answers) {
    units::reset_runtime_options();
    char name[] = "corvane";
    char* argv[] = {name, nullptr};
    units::start_runtime(1, argv);

    FrameFixture f;
    console::TextWindow* w = f.console_window;
    std::vector<TypedAnswer> typed;
    std::size_t next = 0;
    f.pump.on_idle = [&](ScriptedPump& p) {
        const console::TextWindowState& s = w->state();
        if (s.reading_line && next < answers.size()) {
            const std::string& answer = answers[next++];
            const int row = s.new_line_pending ? s.last_line() : s.last_line() - 1;
            typed.push_back({row, s.new_line_pending ? 0 : s.caret_column, s.new_line_pending, answer});
            p.post([w, answer] {
                for (char c : answer) w->character(static_cast<unsigned char>(c));
                w->character('\r');
            });
            return;
        }
        // The program has ended (or wants more answers than the script has): record and quit.
        std::ofstream lines("window_lines", std::ios::binary);
        for (const std::string& line : lines_of(*w)) lines << line << '\n';
        write_answers("answers", typed);
        p.request_quit(0);
    };
    app::run_dialogue();
}

struct Dialogue {
    const char* scenario;  // fixture holding the answers
    fs::path data;
};

TEST(FrameExtractionDeathTest, TheWholeDialogueThroughTheFrameMatchesTheConsoleProgram) {
    const fs::path fixtures = CORVANE_FIXTURES_DIR;
    const Dialogue dialogues[] = {
        {"sample_samoa", fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample"},
        {"start_over", fixtures / "data" / "ghcn-v2"},
    };
    ::unsetenv("VORNEX_RT_FLAGS");
    ::unsetenv("TABSIZE");
    for (const Dialogue& d : dialogues) {
        SCOPED_TRACE(d.scenario);
        ScratchDirectory scratch;
        const fs::path console_dir = fs::path(scratch.path()) / "console";
        const fs::path frame_dir = fs::path(scratch.path()) / "frame";
        copy_data_set(d.data, console_dir);
        copy_data_set(d.data, frame_dir);
        const fs::path input = fixtures / d.scenario / "input";
        ASSERT_EQ(run_console_program(console_dir, input), 0);

        const std::vector<std::string> answers = split_lines(read_file(input.string()), "\n");
        fs::current_path(frame_dir);
        EXPECT_EXIT(run_dialogue_in_frame(answers), ::testing::ExitedWithCode(0), "");

        for (std::string_view file : output_files) {
            const fs::path expected = console_dir / file;
            ASSERT_TRUE(fs::exists(expected)) << file;
            EXPECT_TRUE(read_file(expected.string()) == read_file((frame_dir / file).string())) << file;
        }
        EXPECT_EQ(read_file((console_dir / "stderr").string()), "");
        const std::vector<TypedAnswer> typed = read_answers(frame_dir / "answers");
        EXPECT_EQ(typed.size(), answers.size());
        const std::vector<std::string> window = split_lines(read_file((frame_dir / "window_lines").string()), "\n");
        const std::vector<std::string> transcript = split_lines(read_file((console_dir / "stdout").string()), "\r\n");
        EXPECT_EQ(without_answers(window, typed), transcript);
    }
}

}  // namespace
}  // namespace corvane::testing
