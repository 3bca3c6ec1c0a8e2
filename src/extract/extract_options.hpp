// The command line of corvane-extract, parsed and checked with CLI11.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "extract/argument_values.hpp"
#include "extract/output_options.hpp"

namespace corvane::extract {

struct ExtractOptions {
    std::int32_t variable_choice = 0;
    std::optional<std::int32_t> country;
    std::optional<Box> box;
    std::optional<ElevationRange> elevation;
    bool reject_missing_elevation = true;
    bool lon360 = false;
    std::filesystem::path data_dir = ".";
    std::filesystem::path out_dir = ".";
    bool force = false;
    bool csv = false;
    OutputOptions outputs;
    std::vector<std::string> command;  // the whole argument vector, for the manifest
};

// The whole --help text.
std::string help_text();

// Parses argv. Returns the options, or the exit status to end with at once: 0 after --help
// or --version (written to `out`), 2 after a bad argument (one line on `err`).
std::variant<ExtractOptions, int> parse_command_line(int argc, const char* const* argv, std::ostream& out,
                                                     std::ostream& err);

}  // namespace corvane::extract
