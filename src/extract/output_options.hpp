// The options of the outputs beside the tables: the netCDF and GeoJSON files and the
// derived series, with the checks they need before anything is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extract/argument_values.hpp"
#include "extract/monthly_normals.hpp"

namespace corvane::extract {

struct OutputOptions {
    std::optional<std::filesystem::path> netcdf;   // absolute: relative to where the command ran
    std::optional<std::filesystem::path> geojson;
    bool annual = false;
    int min_months = 12;
    std::optional<BasePeriod> anomalies;  // min_years from --base-min-years
};

// "FIRST:LAST", four-digit years, FIRST not after LAST.
Parsed<BasePeriod> parse_base_period(std::string_view text);

// --min-months: 1 to 12.
Parsed<int> parse_min_months(std::string_view text);

// --base-min-years: 1 or more.
Parsed<int> parse_base_min_years(std::string_view text);

// 0, or status_failed after naming each --netcdf or --geojson file that cannot be written
// (its directory missing or closed to the run, or, without `force`, the file there already).
int check_output_files(const OutputOptions& outputs, bool force);

// 0, or status_failed after naming each --netcdf or --geojson file that is another output of
// the run: the other one of the two, or one of `out_names` in `out_dir`. Placed one after
// the other, the later would take the earlier's place, and the run report success.
int check_output_clashes(const OutputOptions& outputs, const std::filesystem::path& out_dir,
                         const std::vector<std::string_view>& out_names);

// A base period that leaves the --years window (when both are given); one line, or empty.
std::string base_period_outside_years(const BasePeriod& base, std::optional<std::pair<std::int32_t, std::int32_t>> years);

}  // namespace corvane::extract
