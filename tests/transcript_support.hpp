// Comparing a window's transcript with the console program's: where each answer was typed,
// and the window's lines with the answers taken out again. Also the data set copied into a
// run directory and the console program run there.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::testing {

// Where one answer went in the window.
struct TypedAnswer {
    int row = 0;
    int column = 0;
    bool own_line = false;  // the prompt had ended its line: the answer starts a new one
    std::string text;
};

std::vector<std::string> split_lines(std::string_view text, std::string_view separator);

// The window's lines without the typed answers: a line that held only an answer goes, and
// a prompt line joins the line that followed it, as on a console that does not echo.
// Answers must stand where they were recorded (checked with gtest).
std::vector<std::string> without_answers(std::vector<std::string> lines, const std::vector<TypedAnswer>& answers);

void write_answers(const std::filesystem::path& path, const std::vector<TypedAnswer>& answers);
std::vector<TypedAnswer> read_answers(const std::filesystem::path& path);

// The v2.* files of a data set.
void copy_data_set(const std::filesystem::path& from, const std::filesystem::path& to);

// corvane-console in `dir` with `input` on its standard input, its output in dir/stdout and
// dir/stderr; its exit status, -1 when it could not run.
int run_console_program(const std::filesystem::path& dir, const std::filesystem::path& input);

}  // namespace corvane::testing
