#include "extract/csv_tables.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <unordered_map>
#include <vector>

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int data_unit = 14;
constexpr std::int32_t missing_value = -9999;
constexpr std::int32_t missing_elevation = -999;

struct DataRecord {
    std::int32_t country = 0, station = 0, duplicate = 0, year = 0;
    std::array<std::int32_t, 12> values{};
};

// A coordinate as the log and the series headers write it, without the field's blanks.
std::string coordinate_text(float value) {
    Text<16> field;
    write(internal_unit(field), fmt<"(f16.2)">, value);
    const std::string_view text = field.trimmed();
    return std::string(text.substr(text.find_first_not_of(' ')));
}

bool write_stations(const app::RunData& run, const std::unordered_map<std::int32_t, int>& series,
                    const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    out << "id,country,name,latitude,longitude,elevation,series\n";
    const app::SelectedStations& s = run.stations;
    for (std::int32_t r = 0; r < s.selected_count; ++r) {
        float lon = s.station_lon[r];
        if (run.criteria.transform_longitude && lon < 0.0f) lon += 360.0f;  // as the extraction shifts it
        std::string_view name = s.station_name[r].trimmed();
        name.remove_prefix(std::min(name.size(), name.find_first_not_of(' ')));
        const auto found = series.find(s.station_id[r]);
        out << station_id_text(s.station_country[r], s.station_id[r]) << ',' << s.station_country[r] << ','
            << csv_field(name) << ',' << coordinate_text(s.station_lat[r]) << ',' << coordinate_text(lon) << ',';
        if (s.station_elevation[r] != missing_elevation) out << s.station_elevation[r];
        out << ',' << (found == series.end() ? 0 : found->second) << '\n';
    }
    out.flush();
    return static_cast<bool>(out);
}

void write_value_rows(std::ostream& out, const DataRecord& rec) {
    const std::string id = station_id_text(rec.country, rec.station);
    for (int month = 0; month < 12; ++month) {
        out << id << ',' << rec.duplicate << ',' << rec.year << ',' << month + 1 << ',';
        if (rec.values[month] != missing_value) out << rec.values[month];
        out << '\n';
    }
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

CsvResult write_csv_tables(const app::RunData& run, const std::filesystem::path& into) {
    CsvResult result;
    std::unordered_map<std::int32_t, int> series;  // per selected station number
    for (std::int32_t r = 0; r < run.stations.selected_count; ++r) series.emplace(run.stations.station_id[r], 0);

    std::ofstream values(into / values_csv, std::ios::binary);
    values << "station,duplicate,year,month,value\n";
    units::open_unit({.unit = data_unit, .file = run.data_file_name.view(), .status = "OLD", .action = "READ"});
    DataRecord rec;
    std::int32_t last_station = 0, last_duplicate = -1;
    for (;;) {
        const auto outcome = read(unit(data_unit), on_end | on_err, fmt<"15(I3,I8,i1,i4,12I5)">, rec.country,
                                 rec.station, rec.duplicate, rec.year, rec.values);
        if (outcome == units::outcome_end) break;
        if (outcome == units::outcome_error) {
            result.unreadable_after = rec.station;
            break;
        }
        const bool series_starts = rec.station != last_station || rec.duplicate != last_duplicate;
        last_station = rec.station;
        last_duplicate = rec.duplicate;
        const auto row = series.find(rec.station);
        if (row == series.end()) continue;
        if (series_starts) ++row->second;
        write_value_rows(values, rec);
    }
    units::close_unit(data_unit);
    values.flush();
    if (!values) {
        result.error = (into / values_csv).string() + ": cannot be written";
        return result;
    }
    if (!write_stations(run, series, into / stations_csv)) {
        result.error = (into / stations_csv).string() + ": cannot be written";
        return result;
    }
    result.written = !result.unreadable_after;
    return result;
}

}  // namespace corvane::extract
