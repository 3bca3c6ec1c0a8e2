// stations.csv and values.csv: the selected stations and the monthly values of their
// series, as comma-separated tables with a header row that spreadsheet and data-frame
// readers take without options.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/run_data.hpp"

namespace corvane::extract {

constexpr std::string_view stations_csv = "stations.csv";
constexpr std::string_view values_csv = "values.csv";

struct CsvResult {
    bool written = false;
    std::string error;                          // why not, when not written
    std::optional<std::int32_t> unreadable_after;  // a data record that could not be read
};

// Reads the data file `run.data_file_name` from the working directory again and writes
// both tables into `into`: one row per selected station (longitudes shifted into 0..360
// when the run asks for it; a missing elevation empty), one row per month of every record
// of a selected station number (a missing value, -9999, empty).
CsvResult write_csv_tables(const app::RunData& run, const std::filesystem::path& into);

// The eleven-digit station id: the country code and the station number.
std::string station_id_text(std::int32_t country, std::int32_t station);

// A field quoted as RFC 4180 asks when it holds a comma, a quote or a line end.
std::string csv_field(std::string_view text);

}  // namespace corvane::extract
