// The folder a run works in: it reads the data set's files there and writes its three
// output files there. A program started elsewhere (from a desktop menu, in the home folder)
// finds out whether the folder holds the data set, and whether the output files can be
// made there, before the dialogue asks its first question.
#pragma once

#include <filesystem>
#include <functional>

namespace corvane::app {

// True when `folder` holds any of the data set's input files: an inventory, a country
// list, a data file or a failed-QC file.
bool holds_data_files(const std::filesystem::path& folder);

// True when the output files can be made in `folder`: it is a folder that can be written,
// and those of the output files that are there already can be written too.
bool output_files_writable(const std::filesystem::path& folder);

}  // namespace corvane::app
