#include "app/station_series.hpp"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "fmtio/constant_format.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/io_statement.hpp"
#include "ghcn/v2_records.hpp"

namespace corvane::app {

namespace {

using fmtio::FormatRef;
using fmtio::fmt;

constexpr std::string_view duplicate_note = "*DUPLICATE RECORD*";
constexpr std::int32_t trace_value = -8888;

// The extraction's layouts, as it writes them. A longitude beyond 99.99 east fills its field
// with asterisks, so the header's longitude is not read: the map has the station's own.
constexpr FormatRef header_fields = fmt<"(6x,f7.2,i5,13x,i3,i8)">;
constexpr FormatRef header_name = fmt<"(45x,a)">;
constexpr FormatRef duplicate_header_name = fmt<"(44x,a)">;
constexpr FormatRef year_line = fmt<"(i4,12i5)">;
constexpr FormatRef failed_station_line = fmt<"(1x,i3,i8)">;
constexpr FormatRef failed_value_line = fmt<"(1x,i4,2x,i2,i6)">;
constexpr std::size_t failed_value_length = 15;

// One line read as an internal record by a statement of its own; false when the READ takes
// its ERR or END branch.
template <class... Items>
bool read_line(std::string line, FormatRef format, Items&... items) {
    fmtio::IoStatement statement;
    const std::array<fmtio::IoItem, sizeof...(Items)> list{fmtio::make_item(items)...};
    const units::Control control{static_cast<std::uint8_t>(units::branch_end | units::branch_err), {}};
    return statement.run(units::StatementKind::read, fmtio::internal_unit(line.data(), line.size()), control,
                         format, list.data(), list.size()) == units::outcome_ok;
}

// The extraction's files end their lines with CR LF.
bool next_line(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

bool is_header(const std::string& line) {
    const std::string_view note = ghcn::series_format_note;
    return line.size() >= ghcn::series_station_last && line.compare(ghcn::series_note_column - 1, note.size(), note) == 0;
}

bool is_duplicate_header(const std::string& line) { return line.find(duplicate_note) != std::string::npos; }

std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

bool read_header(const std::string& line, StationSeries& s) {
    float lat = 0;
    std::int32_t elevation = 0, country = 0, id = 0;
    ghcn::StationName name;
    if (!read_line(line, header_fields, lat, elevation, country, id)) return false;
    if (!read_line(line, is_duplicate_header(line) ? duplicate_header_name : header_name, name)) return false;
    s = {country, id, trimmed(std::string(name.view())), lat, 0, elevation, {}, {}};
    return true;
}

bool read_failed_values(const std::string& path, int station_id, std::vector<FailedValue>& failed) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    bool ours = false;
    while (next_line(in, line)) {
        if (line.size() == failed_value_length) {
            FailedValue f;
            if (ours && !read_line(line, failed_value_line, f.year, f.month, f.value)) return false;
            if (ours) failed.push_back(f);
            continue;
        }
        std::int32_t country = 0, id = 0;
        ours = line.rfind(" GHCNv2", 0) != 0 && read_line(line, failed_station_line, country, id) && id == station_id;
    }
    return true;
}

}  // namespace

SeriesReading read_station_series(const std::string& series_path, const std::string& failed_path, int station_id) {
    std::ifstream in(series_path, std::ios::binary);
    if (!in) return {SeriesFault::no_series_file, {}};
    SeriesReading result{SeriesFault::station_not_in_file, {}};
    StationSeries& s = result.station;
    std::string line;
    bool ours = false;
    while (next_line(in, line)) {
        if (is_header(line)) {
            StationSeries header;
            if (!read_header(line, header)) return {SeriesFault::unreadable_line, {}};
            ours = header.station_id == station_id;
            if (!ours) continue;
            if (s.parts.empty()) s = header;
            s.parts.push_back({is_duplicate_header(line), {}});
        } else if (ours) {
            SeriesYear y;
            if (!read_line(line, year_line, y.year, y.values)) return {SeriesFault::unreadable_line, {}};
            s.parts.back().years.push_back(y);
        }
    }
    if (s.parts.empty()) return result;
    result.fault = read_failed_values(failed_path, station_id, s.failed) ? SeriesFault::none : SeriesFault::unreadable_line;
    return result;
}

std::map<int, int> years_of_data(const std::string& series_path) {
    std::map<int, std::map<int, bool>> years;  // station -> years seen
    std::ifstream in(series_path, std::ios::binary);
    std::string line;
    int station = -1;
    while (next_line(in, line)) {
        StationSeries header;
        std::int32_t year = 0;
        std::array<std::int32_t, months_in_year> values{};
        if (is_header(line)) station = read_header(line, header) ? header.station_id : -1;
        else if (station >= 0 && read_line(line, year_line, year, values)) years[station][year] = true;
    }
    std::map<int, int> counts;
    for (const auto& [id, seen] : years) counts[id] = static_cast<int>(seen.size());
    return counts;
}

std::string station_summary(const MapStation& s, int years) {
    char id[16];
    std::snprintf(id, sizeof id, "%03d%08d", s.country % 1000, s.id);
    std::string text = std::string(id) + "  " + s.name + "\n";
    text += s.elevation <= ghcn::missing_elevation ? std::string("Elevation unknown") : "Elevation " + std::to_string(s.elevation) + " m";
    switch (s.state) {
        case StationState::selected: return text + "\nSelected; the extraction has not run yet";
        case StationState::no_data: return text + "\nNo data: the extraction found no series";
        case StationState::found: break;
    }
    return text + "\n" + std::to_string(years) + (years == 1 ? " year" : " years") +
           " of data\nFound by the extraction: click for its series plot";
}

std::optional<double> physical_value(std::int32_t tenths, int per_unit) {
    if (tenths == ghcn::missing_value) return std::nullopt;
    if (tenths == trace_value && per_unit == 10) return 0.0;
    return tenths / static_cast<double>(per_unit);
}

std::optional<double> annual_mean(const SeriesYear& year, int per_unit) {
    double sum = 0;
    for (std::int32_t v : year.values) {
        const std::optional<double> value = physical_value(v, per_unit);
        if (!value) return std::nullopt;
        sum += *value;
    }
    return sum / months_in_year;
}

VariableUnit variable_unit(int variable_choice) {
    switch (variable_choice) {
        case 1: case 2: return {"Mean temperature", "degC"};
        case 3: case 4: return {"Minimum temperature", "degC"};
        case 5: case 6: return {"Maximum temperature", "degC"};
        case 7: case 8: return {"Precipitation", "mm"};
        case 9: return {"Sea-level pressure", "hPa"};
        default: return {"Value", ""};
    }
}

std::string series_csv(const StationSeries& station) {
    std::ostringstream out;
    out << "series,year,month,value,annual_mean,failed_qc_value\r\n";
    for (std::size_t p = 0; p < station.parts.size(); ++p) {
        for (const SeriesYear& y : station.parts[p].years) {
            const std::optional<double> mean = annual_mean(y, station.per_unit);
            for (int m = 0; m < months_in_year; ++m) {
                out << p + 1 << ',' << y.year << ',' << m + 1 << ',';
                if (const std::optional<double> v = physical_value(y.values[static_cast<std::size_t>(m)], station.per_unit))
                    out << *v;
                out << ',';
                if (m == 0 && mean) out << *mean;
                out << ',';
                for (const FailedValue& f : station.failed)
                    if (f.year == y.year && f.month == m + 1) out << f.value / static_cast<double>(station.per_unit);
                out << "\r\n";
            }
        }
    }
    return out.str();
}

}  // namespace corvane::app
