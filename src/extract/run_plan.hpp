// What one run of corvane-extract reads and writes, and the checks made before anything is
// written: every input a readable file, and no output file in the way unless --force.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "extract/extract_options.hpp"

namespace corvane::extract {

// What one run reads and writes.
struct Plan {
    std::filesystem::path data_dir;
    std::filesystem::path out_dir;
    std::vector<std::string_view> inputs;   // names in data_dir
    std::vector<std::string_view> outputs;  // names in out_dir
};

Plan make_plan(const ExtractOptions& options);

// 0, or status_failed after naming, each on its line, every input that is not a readable file.
int check_inputs(const Plan& plan);

// 0, or status_failed when the output directory is not a directory or, without `force`,
// an output file exists in it (each named).
int check_outputs(const Plan& plan, bool force);

}  // namespace corvane::extract
