// The extraction without a dialogue: every check first, then the criteria, the inventory
// search and its log, getit, the optional tables, and the output files moved into place.
#pragma once

#include "extract/extract_options.hpp"

namespace corvane::extract {

// Returns (or, once the run-time has started, ends the program with) the exit status.
int run_extraction(const ExtractOptions& options, char* program_path);

}  // namespace corvane::extract
