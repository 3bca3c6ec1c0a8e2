#include "extract/table_series.hpp"

#include <charconv>
#include <cmath>
#include <map>

#include "ghcn/v2_records.hpp"

namespace corvane::extract {

namespace {

const std::string& field(const CsvTable& table, const std::vector<std::string>& row, const char* name) {
    static const std::string none;
    const int c = table.column(name);
    return c >= 0 && static_cast<std::size_t>(c) < row.size() ? row[static_cast<std::size_t>(c)] : none;
}

int whole(const std::string& text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// An exact decimal of the tables in hundredths; empty is missing.
std::int32_t hundredths(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc()) return ghcn::missing_value;
    return static_cast<std::int32_t>(std::lround(value * 100));
}

void add_value(app::StationSeries& series, std::map<int, int>& seen, int year, int month, std::int32_t value) {
    if (month < 1 || month > app::months_in_year) return;
    if (month == 1 || seen.find(year) == seen.end()) ++seen[year];  // a year begins
    const auto part = static_cast<std::size_t>(seen[year] - 1);
    while (series.parts.size() <= part) series.parts.push_back({.duplicate = !series.parts.empty(), .years = {}});
    std::vector<app::SeriesYear>& years = series.parts[part].years;
    if (years.empty() || years.back().year != year) {
        app::SeriesYear y{.year = year, .values = {}};
        y.values.fill(ghcn::missing_value);
        years.push_back(y);
    }
    years.back().values[static_cast<std::size_t>(month - 1)] = value;
}

}  // namespace

app::StationSeries table_series(const CsvTable& stations, int row, const CsvTable& values, const CsvTable& failed) {
    app::StationSeries series;
    series.per_unit = 100;
    if (row < 0 || static_cast<std::size_t>(row) >= stations.rows.size()) return series;
    const std::vector<std::string>& station = stations.rows[static_cast<std::size_t>(row)];
    series.identifier = field(stations, station, "id");
    series.name = field(stations, station, "name");
    series.lat = hundredths(field(stations, station, "latitude")) / 100.0;
    series.lon = hundredths(field(stations, station, "longitude")) / 100.0;
    const std::string& elevation = field(stations, station, "elevation");
    series.elevation = elevation.empty() ? -999 : static_cast<int>(std::lround(hundredths(elevation) / 100.0));
    std::map<int, int> seen;  // times each year has begun
    for (const std::vector<std::string>& r : values.rows) {
        if (field(values, r, "station") != series.identifier) continue;
        add_value(series, seen, whole(field(values, r, "year")), whole(field(values, r, "month")),
                  hundredths(field(values, r, "value_degC")));
    }
    for (const std::vector<std::string>& r : failed.rows) {
        if (field(failed, r, "station") != series.identifier) continue;
        series.failed.push_back({whole(field(failed, r, "year")), whole(field(failed, r, "month")),
                                 hundredths(field(failed, r, "value_degC"))});
    }
    return series;
}

}  // namespace corvane::extract
