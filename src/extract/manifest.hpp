// manifest.json: what a run read and wrote, so that a result can be traced to the exact
// files it came from and the run repeated on them. The run fills a ManifestRun as it goes;
// write_manifest records every file's size, time and checksum and writes the JSON beside
// the outputs, under a temporary name renamed into place.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::extract {

constexpr std::string_view manifest_json = "manifest.json";

struct RunCounts {
    std::int64_t selected = 0, found = 0;
    // Versions 3 and 4: the values of values.csv and those the QC policy dropped; version 2:
    // those of the time-series file but the missing ones, and those of the failed-values
    // file. Empty (null in the manifest) where a run does not count them.
    std::optional<std::int64_t> values_written, values_dropped;
};

struct ManifestRun {
    std::string program, version;
    std::vector<std::string> command;      // the whole argument vector
    std::filesystem::path working_directory;  // where the command ran: its relative paths start there
    std::vector<std::pair<std::string, std::string>> criteria;  // option -> value, as given
    // Relative paths start at the working directory. Inputs are recorded by absolute path,
    // outputs relative to the manifest.
    std::vector<std::filesystem::path> inputs;
    std::vector<std::filesystem::path> outputs;
    RunCounts counts;
    std::chrono::system_clock::time_point started, ended;
    int exit_status = 0;
};

// The criteria of a command line: each option with its value ("true" for a flag; the values
// of a repeated option joined by commas), leaving out where files are read and written.
std::vector<std::pair<std::string, std::string>> manifest_criteria(const std::vector<std::string>& command);

// 0, or status_failed after saying so when, without `force`, a manifest stands in `out_dir`.
int check_manifest_free(const std::filesystem::path& out_dir, bool force);

// Writes the manifest at `path`; an error text, empty on success. A file that cannot be
// read is named in the error and the manifest is not written.
std::string write_manifest(const ManifestRun& run, const std::filesystem::path& path);

}  // namespace corvane::extract
