// stations.csv and values.csv: the selected stations and the monthly values of their
// series, as comma-separated tables with a header row that spreadsheet and data-frame
// readers take without options. The rows come from the extraction's own pass over the data
// file, and are written through the record run-time's units: a row is a record, so an
// interruption, a full disk or an error exit leaves each table ending on a whole row, as
// it leaves the GHCN files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/getit.hpp"
#include "app/run_data.hpp"
#include "extract/table_names.hpp"

namespace corvane::extract {


struct CsvResult {
    bool complete = false;
    std::optional<std::int32_t> unreadable_after;  // a data record that could not be read
};

// The tables of one run, in the working directory. values.csv takes one row per month of
// every record of a selected station number as the record is read: the value as the exact
// decimal of the file's tenths under a header that names the unit (value_degC, value_mm,
// value_hPa), a missing value (-9999) empty, a precipitation trace (-8888) as the trace
// marker; stations.csv, written at the end, one row per selected station with its number
// of series (longitudes shifted into 0..360 when the run asks for it; a missing elevation
// empty).
class CsvTables : public app::DataRecordSink {
public:
    // Opens values.csv and writes its header row; `variable_choice` is the variable's number.
    CsvTables(const app::SelectedStations& stations, std::int32_t variable_choice);

    // stations.csv gains distance_km from this place and lists the stations nearest first
    // (equal distances by id).
    void list_nearest_first(double latitude, double longitude);

    // values.csv takes only the records of these years.
    void limit_years(std::int32_t first, std::int32_t last) { years_ = {first, last}; }

    void record(const ghcn::DataRecord& record) override;
    void unreadable(std::int32_t last_station) override;

    // Closes values.csv and writes stations.csv.
    CsvResult finish(const app::RunData& run);

private:
    std::vector<std::pair<std::int32_t, double>> station_order(const app::SelectedStations& stations) const;

    std::unordered_map<std::int32_t, int> series_;  // per selected station number
    std::int32_t last_station_ = 0;
    std::int32_t last_duplicate_ = -1;
    std::optional<std::int32_t> unreadable_after_;
    bool precipitation_ = false;
    std::optional<std::pair<double, double>> place_;
    std::optional<std::pair<std::int32_t, std::int32_t>> years_;
};

// The unit of a version 2 variable's values: "degC", "mm" or "hPa".
std::string_view version2_unit(std::int32_t variable_choice);

// The eleven-digit station id: the country code and the station number.
std::string station_id_text(std::int32_t country, std::int32_t station);


}  // namespace corvane::extract
