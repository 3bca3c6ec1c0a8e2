// A whole extraction through the frame's console hooks: a scripted pump types every
// answer into the console window while the program waits, exactly as a user would. The
// three output files must equal those corvane-console writes for the same answers, and the
// window must hold the console transcript: its records as lines, with the answers typed
// where the program read them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/dialogue.hpp"
#include "frame_fixture.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

extern char** environ;

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view output_files[] = {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"};

// Where one answer went in the window.
struct TypedAnswer {
    int row = 0;
    int column = 0;
    bool own_line = false;  // the prompt had ended its line: the answer starts a new one
    std::string text;
};

std::vector<std::string> split_lines(std::string_view text, std::string_view separator) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + separator.size();
    }
    return lines;
}

void copy_data_set(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const fs::directory_entry& e : fs::directory_iterator(from)) {
        if (e.is_regular_file() && e.path().filename().string().starts_with("v2."))
            fs::copy_file(e.path(), to / e.path().filename());
    }
}

// corvane-console in `dir` with `input` on its standard input; its exit status.
int run_console_program(const fs::path& dir, const fs::path& input) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (dir / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    std::string program = CORVANE_CONSOLE_PROGRAM;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    fs::current_path(previous);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
        std::ofstream places("answers", std::ios::binary);
        for (const TypedAnswer& a : typed) places << a.row << ' ' << a.column << ' ' << a.own_line << ' ' << a.text << '\n';
        p.request_quit(0);
    };
    app::run_dialogue();
}

std::vector<TypedAnswer> read_answers(const fs::path& path) {
    std::vector<TypedAnswer> answers;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        TypedAnswer a;
        fields >> a.row >> a.column >> a.own_line;
        fields.get();  // the blank before the text
        std::getline(fields, a.text);
        answers.push_back(a);
    }
    return answers;
}

// The window's lines without the typed answers: a line that held only an answer goes, and
// a prompt line joins the line that followed it, as on a console that does not echo.
std::vector<std::string> without_answers(std::vector<std::string> lines, const std::vector<TypedAnswer>& answers) {
    for (auto a = answers.rbegin(); a != answers.rend(); ++a) {
        const auto row = static_cast<std::size_t>(a->row);
        EXPECT_LT(row, lines.size());
        if (row >= lines.size()) break;
        EXPECT_EQ(lines[row].substr(static_cast<std::size_t>(a->column)), a->text) << "answer in row " << row;
        if (a->own_line) {
            lines.erase(lines.begin() + a->row);
            continue;
        }
        lines[row].resize(static_cast<std::size_t>(a->column));
        if (row + 1 < lines.size()) {
            lines[row] += lines[row + 1];
            lines.erase(lines.begin() + a->row + 1);
        }
    }
    return lines;
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
