// The variables of the netCDF file, each defined with its CF attributes; for the netCDF
// writer alone. Observation variables are chunked a block at a time and keep a chunk cache
// of two chunks, so that the library holds no more than the writer does.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "extract/monthly_normals.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract::netcdf_file {

constexpr float fill_float = -9999.0F;
constexpr std::size_t block_rows = 65536;  // observations a block, and a chunk

void text_attribute(int file, int var, const char* name, const std::string& text);

void define_globals(int f, const std::string& title, const std::string& history, const VariableInfo& variable);
// `time` and `time_bnds`.
std::pair<int, int> define_time(int f, int obs, int nv);
int define_value(int f, int obs, const std::string& name, const VariableInfo& v);
// A byte flag variable: the letter's character code, 0 for a blank.
int define_flag(int file, int obs, const std::string& name, const std::string& long_name,
                const std::vector<FlagMeaning>& letters);
int define_trace(int f, int obs, const std::string& name);
int define_anomaly(int f, int obs, const std::string& name, const VariableInfo& v, const BasePeriod& b);

struct StationIds {
    int id = -1, name = -1, country = -1, lat = -1, lon = -1, alt = -1, distance = -1, rows = -1;
};
// The longest of each text, for the lengths of their character arrays.
struct StationTextWidths {
    std::size_t id = 0, name = 0, country = 0;
};
StationIds define_stations(int f, int dim, const StationTextWidths& widths, bool with_distance);

struct AnnualIds {
    int year = -1, value = -1, months = -1;
};
// The `year` coordinate, and the annual values and their numbers of months over
// (timeseries, year).
AnnualIds define_annual(int f, int timeseries, int year, const std::string& name, const VariableInfo& v,
                        int min_months);

}  // namespace corvane::extract::netcdf_file
