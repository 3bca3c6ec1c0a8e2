// The series of one station as the extraction wrote them: its header and yearly lines in the
// time-series file, and its values in the failed-values file, read back through the record
// run-time with the layouts the extraction writes, each line as an internal record. The
// lines are read with a statement of their own, so that a plot opened while the dialogue
// waits inside a READ leaves that READ as it was. Plain C++: the desktop frame plots the
// result, and its tests need no toolkit.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/station_map_data.hpp"

namespace corvane::app {

inline constexpr int months_in_year = 12;

struct SeriesYear {
    int year = 0;
    std::array<std::int32_t, months_in_year> values{};  // tenths of the unit; -9999 missing
};

// One series of a station: the first, or a further one marked as a duplicate record.
struct StationSeriesPart {
    bool duplicate = false;
    std::vector<SeriesYear> years;
};

struct FailedValue {
    int year = 0;
    int month = 0;  // 1..12
    std::int32_t value = 0;
};

struct StationSeries {
    int country = 0;
    int station_id = 0;
    std::string name;  // trailing blanks removed
    double lat = 0, lon = 0;
    int elevation = 0;
    std::vector<StationSeriesPart> parts;
    std::vector<FailedValue> failed;
    std::string identifier;  // versions 3 and 4: the identifier (station_id is then 0)
    int per_unit = 10;       // values per unit: tenths in version 2, hundredths in 3 and 4
};

enum class SeriesFault { none, no_series_file, station_not_in_file, unreadable_line };

struct SeriesReading {
    SeriesFault fault = SeriesFault::none;
    StationSeries station;
};

// The series of `station_id` in the time-series file and, if the failed-values file exists,
// its failed values. A line of the station that does not hold what its layout says gives
// `unreadable_line`.
SeriesReading read_station_series(const std::string& series_path, const std::string& failed_path, int station_id);

// Years of data of every station in a time-series file, all its series counted once.
std::map<int, int> years_of_data(const std::string& series_path);

// What the map says of a station under the pointer: identifier, name, elevation, years of
// data (from the time-series file) and whether the extraction found it, one item a line.
std::string station_summary(const MapStation& station, int years);

// What a plot shows, in the variable's physical unit: a value in tenths as a number, or
// nothing for a missing one; -8888, a trace of precipitation, is 0.
std::optional<double> physical_value(std::int32_t tenths, int per_unit = 10);
// The mean of a year whose twelve months all hold values; nothing otherwise.
std::optional<double> annual_mean(const SeriesYear& year, int per_unit = 10);

// The physical unit of variable 1..9 ("degC", "mm", "hPa") and its name for an axis.
struct VariableUnit {
    std::string quantity;  // "Mean temperature", ...
    std::string unit;
};
VariableUnit variable_unit(int variable_choice);

// The series as comma-separated values: one line per series, year and month, with the
// monthly value, the annual mean on each year's first line, and whether the month failed QC.
std::string series_csv(const StationSeries& station);

}  // namespace corvane::app
