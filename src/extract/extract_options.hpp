// The command line of corvane-extract, parsed and checked with CLI11.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "extract/argument_values.hpp"
#include "extract/output_options.hpp"
#include "extract/selection_arguments.hpp"

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

    // Versions 3 and 4, and the selections of every version.
    int dataset = 0;                    // 2, 3 or 4; 0: the data directory decides
    std::string variable_name;          // as given; variable_choice holds version 2's number
    std::string country_text;           // as given: a v2 code, or a v3/v4 code or name
    bool qc_keep = false;               // --qc keep: failed values stay in the series
    std::optional<LatLon> near;
    std::optional<double> radius_km;
    std::optional<std::int32_t> nearest;
    std::optional<YearWindow> years;
    std::optional<std::int32_t> min_years;
    std::int32_t min_months = 12;
    std::optional<std::string> name;
    std::vector<std::string> ids;
    std::optional<std::filesystem::path> ids_from;
    OutputOptions outputs;
    std::vector<std::string> command;  // the whole argument vector, for the manifest
};

// Why the command line refuses `value` for `option` ("--near: 95,0: expected ..."), or
// empty when it takes it (or the option takes any value).
std::string option_refusal(std::string_view option, std::string_view value);

// The whole --help text.
std::string help_text();

// Parses argv. Returns the options, or the exit status to end with at once: 0 after --help
// or --version (written to `out`), 2 after a bad argument (one line on `err`).
std::variant<ExtractOptions, int> parse_command_line(int argc, const char* const* argv, std::ostream& out,
                                                     std::ostream& err);

}  // namespace corvane::extract
