// The texts of --help and --version that the programs share: the files of the data set,
// the output files, the environment and where the data come from.
#pragma once

#include <string>
#include <string_view>

namespace corvane::app {

// "NAME (Corvane) VERSION" and the copyright line.
std::string version_text(std::string_view program);

// The input files, grouped as inventories, country-code lists, data files and failed-QC
// files, one group a line, indented by two blanks.
std::string input_files_text();

// The three output files, one a line with what each holds.
std::string output_files_text();

// VORNEX_RT_FLAGS and TABSIZE.
std::string environment_text();

// Where the GHCN version 2 files come from.
std::string data_source_text();

}  // namespace corvane::app
