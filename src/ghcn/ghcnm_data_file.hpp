// A version 3 or 4 `.dat` file (plain or `.gz`), record by record, in file order.
#pragma once

#include <string>

#include "ghcn/ghcnm_data_record.hpp"
#include "ghcn/ghcnm_line_source.hpp"

namespace corvane::ghcn {

class DataFileReader {
public:
    bool open(const std::string& path, ReadProblem& problem) { return lines_.open(path, problem); }
    // The next record; a malformed one is a problem naming its line and field.
    ReadStatus next(GhcnmRecord& record, ReadProblem& problem);

private:
    LineSource lines_;
};

}  // namespace corvane::ghcn
