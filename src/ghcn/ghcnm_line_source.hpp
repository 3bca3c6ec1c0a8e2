// The lines of a version 3 or 4 file, read through the record run-time on a unit of their
// own, with their line numbers. A `.gz` file is read the same way: the unit's stream
// inflates it. The caller parses each line with a constant format on an internal unit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/text_ops.hpp"
#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

// Longer lines are not of any layout read here.
constexpr std::size_t longest_line = 256;

class LineSource {
public:
    LineSource() = default;
    ~LineSource();
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // Connects the file; false with `problem` naming it when it cannot be opened.
    bool open(const std::string& path, ReadProblem& problem);
    // The next line without its line end, valid until the next call.
    ReadStatus next(std::string_view& line, ReadProblem& problem);

    std::int64_t line_number() const { return line_number_; }
    const std::string& path() const { return path_; }
    // The line's characters, writable for an internal READ.
    char* line_chars() { return buffer_.data(); }

private:
    ReadProblem problem_here(std::string field, std::string what) const;

    std::string path_;
    std::int32_t unit_ = -1;
    std::int64_t line_number_ = 0;
    fmtio::Text<longest_line> buffer_;
};

// Reads the file at `path` line by line: `take(lines, line)` handles each line and returns
// false, with `problem` filled, to refuse it. True at the end of the file; false when the
// file cannot be read or a line was refused.
template <class Take>
bool for_each_line(const std::string& path, ReadProblem& problem, Take take) {
    LineSource lines;
    if (!lines.open(path, problem)) return false;
    std::string_view line;
    for (;;) {
        const ReadStatus status = lines.next(line, problem);
        if (status == ReadStatus::end_of_file) return true;
        if (status == ReadStatus::problem) return false;
        if (!take(lines, line)) return false;
    }
}

}  // namespace corvane::ghcn
