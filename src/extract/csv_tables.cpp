#include "extract/csv_tables.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "extract/place_and_name.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int values_unit = 20;
constexpr int stations_unit = 21;

// A built row, written as one record.
void write_row(int unit_number, std::string_view row) { write(unit(unit_number), fmt<"(a)">, row); }

// A coordinate as the log and the series headers write it, without the field's blanks.
std::string coordinate_text(float value) {
    Text<16> field;
    write(internal_unit(field), fmt<"(f16.2)">, value);
    const std::string_view text = field.trimmed();
    return std::string(text.substr(text.find_first_not_of(' ')));
}

std::string station_row(const app::RunData& run, std::int32_t r, int series) {
    const app::SelectedStations& s = run.stations;
    float lon = s.station_lon[r];
    if (run.criteria.transform_longitude) lon = ghcn::longitude_360(lon);  // as the extraction shifts it
    std::string_view name = s.station_name[r].trimmed();
    name.remove_prefix(std::min(name.size(), name.find_first_not_of(' ')));
    std::string row = station_id_text(s.station_country[r], s.station_id[r]) + ',' +
                      std::to_string(s.station_country[r]) + ',' + csv_field(name) + ',' +
                      coordinate_text(s.station_lat[r]) + ',' + coordinate_text(lon) + ',';
    if (s.station_elevation[r] != ghcn::missing_elevation) row += std::to_string(s.station_elevation[r]);
    return row + ',' + std::to_string(series);
}

// Version 2's values are tenths of the unit.
std::string value_text(std::int32_t tenths, bool precipitation) {
    if (tenths == ghcn::missing_value) return {};
    if (precipitation && tenths == ghcn::trace_value) return std::string(trace_marker);
    return decimal_text(tenths, 1);
}

void write_value_rows(const ghcn::DataRecord& rec, bool precipitation) {
    const std::string start = station_id_text(rec.rec_country, rec.rec_station_id) + ',' +
                              std::to_string(rec.rec_duplicate) + ',' + std::to_string(rec.rec_year) + ',';
    std::string row;
    for (int month = 0; month < 12; ++month) {
        row = start + std::to_string(month + 1) + ',';
        row += value_text(rec.rec_values[month], precipitation);
        write_row(values_unit, row);
    }
}

std::string distance_text(double km) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", km);
    return text;
}

}  // namespace

std::string station_id_text(std::int32_t country, std::int32_t station) {
    char text[24];
    std::snprintf(text, sizeof text, "%03d%08d", country, station);
    return text;
}

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string_view version2_unit(std::int32_t variable_choice) {
    if (variable_choice == 7 || variable_choice == 8) return "mm";
    if (variable_choice == 9) return "hPa";
    return "degC";
}

CsvTables::CsvTables(const app::SelectedStations& stations, std::int32_t variable_choice)
    : precipitation_(version2_unit(variable_choice) == "mm") {
    for (std::int32_t r = 0; r < stations.selected_count; ++r) series_.emplace(stations.station_id[r], 0);
    units::open_unit({.unit = values_unit, .file = values_csv, .status = "UNKNOWN"});
    write_row(values_unit, "station,duplicate,year,month,value_" + std::string(version2_unit(variable_choice)));
}

void CsvTables::record(const ghcn::DataRecord& rec) {
    const bool series_starts = rec.rec_station_id != last_station_ || rec.rec_duplicate != last_duplicate_;
    last_station_ = rec.rec_station_id;
    last_duplicate_ = rec.rec_duplicate;
    const auto row = series_.find(rec.rec_station_id);
    if (row == series_.end()) return;
    if (series_starts) ++row->second;
    if (years_ && (rec.rec_year < years_->first || rec.rec_year > years_->second)) return;
    write_value_rows(rec, precipitation_);
}

void CsvTables::unreadable(std::int32_t last_station) { unreadable_after_ = last_station; }

void CsvTables::list_nearest_first(double latitude, double longitude) { place_ = {latitude, longitude}; }

// The rows of stations.csv in the order to write them, with their distances when a place is given.
std::vector<std::pair<std::int32_t, double>> CsvTables::station_order(const app::SelectedStations& s) const {
    std::vector<std::pair<std::int32_t, double>> order;
    for (std::int32_t r = 0; r < s.selected_count; ++r) {
        order.emplace_back(r, place_ ? geodesic_km(place_->first, place_->second, s.station_lat[r], s.station_lon[r]) : 0);
    }
    if (!place_) return order;
    std::sort(order.begin(), order.end(), [&s](const auto& a, const auto& b) {
        if (a.second != b.second) return a.second < b.second;
        return station_id_text(s.station_country[a.first], s.station_id[a.first]) <
               station_id_text(s.station_country[b.first], s.station_id[b.first]);
    });
    return order;
}

CsvResult CsvTables::finish(const app::RunData& run) {
    units::close_unit(values_unit);
    units::open_unit({.unit = stations_unit, .file = stations_csv, .status = "UNKNOWN"});
    write_row(stations_unit, std::string("id,country,name,latitude,longitude,elevation,series") +
                                 (place_ ? ",distance_km" : ""));
    for (const auto& [r, km] : station_order(run.stations)) {
        const auto found = series_.find(run.stations.station_id[r]);
        std::string row = station_row(run, r, found == series_.end() ? 0 : found->second);
        if (place_) row += ',' + distance_text(km);
        write_row(stations_unit, row);
    }
    units::close_unit(stations_unit);
    return {.complete = !unreadable_after_, .unreadable_after = unreadable_after_};
}

}  // namespace corvane::extract
