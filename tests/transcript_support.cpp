#include "transcript_support.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

extern char** environ;

namespace corvane::testing {

namespace fs = std::filesystem;

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

void write_answers(const fs::path& path, const std::vector<TypedAnswer>& answers) {
    std::ofstream places(path, std::ios::binary);
    for (const TypedAnswer& a : answers) places << a.row << ' ' << a.column << ' ' << a.own_line << ' ' << a.text << '\n';
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

void copy_data_set(const fs::path& from, const fs::path& to) {
    fs::create_directories(to);
    for (const fs::directory_entry& e : fs::directory_iterator(from)) {
        if (e.is_regular_file() && e.path().filename().string().starts_with("v2."))
            fs::copy_file(e.path(), to / e.path().filename());
    }
}

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

}  // namespace corvane::testing
