// What a reader of the version 3 and 4 files answers when a file cannot be read as its
// layout says: the file, the line and the field, so that a user can open the file at the
// place and see what is wrong. Nothing is guessed in its place.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::ghcn {

enum class ReadStatus { record, end_of_file, problem };

struct ReadProblem {
    std::string file;
    std::int64_t line = 0;  // 0: the file as a whole (it cannot be opened or read)
    std::string field;      // the layout's name of the field, e.g. "VALUE7"; empty: the record
    std::string what;       // e.g. "holds letters", "is cut short at column 80"
};

// "FILE, line N, field F: WHAT", or "FILE: WHAT" for the file as a whole.
std::string describe(const ReadProblem& problem);

}  // namespace corvane::ghcn
