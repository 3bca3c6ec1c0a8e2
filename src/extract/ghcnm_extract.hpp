// The extraction of a version 3 or 4 data set: the inputs found in the data directory,
// the stations selected from the inventory (and, for --min-years, from a first pass over
// the data), the values handed to every output in one pass, and the files published
// together from the working directory, as the version 2 extraction publishes its own.
#pragma once

#include <vector>

#include "extract/extract_options.hpp"
#include "extract/more_outputs.hpp"

namespace corvane::extract {

// Runs the extraction and ends the program with its exit status. The sinks of `more`
// receive everything the tables receive, and its files are published with the tables.
[[noreturn]] void run_ghcnm_extraction(const ExtractOptions& options, int edition, const MoreOutputs& more,
                                       char* program_path);

// The log's name for an edition: GHCNv3_Log_File or GHCNv4_Log_File.
std::string_view ghcnm_log_name(int edition);

}  // namespace corvane::extract
