// Version 2 values are tenths of the unit; a trace of precipitation (-8888) has no value.
#include "extract/version2_series_feed.hpp"

#include <algorithm>
#include <cmath>

#include "extract/csv_tables.hpp"
#include "extract/place_and_name.hpp"
#include "ghcn/selection_rules.hpp"

namespace corvane::extract {

namespace {

std::int64_t station_key(std::int32_t country, std::int32_t station) {
    return static_cast<std::int64_t>(country) * 100000000 + station;
}

Quantity quantity_of(std::int32_t choice) {
    if (choice == 3 || choice == 4) return Quantity::minimum_temperature;
    if (choice == 5 || choice == 6) return Quantity::maximum_temperature;
    if (choice == 7 || choice == 8) return Quantity::precipitation;
    if (choice == 9) return Quantity::sea_level_pressure;
    return Quantity::mean_temperature;
}

}  // namespace

Version2SeriesFeed::Version2SeriesFeed(const app::RunData& run, std::vector<SeriesSink*> sinks,
                                       app::DataRecordSink* tables)
    : run_(run), sinks_(std::move(sinks)), tables_(tables) {
    const app::SelectedStations& s = run.stations;
    for (std::int32_t r = 0; r < s.selected_count; ++r)
        totals_.emplace(station_key(s.station_country[r], s.station_id[r]), Totals{});
}

void Version2SeriesFeed::begin(const std::string& name) {
    const VariableInfo v{2,
                         name,
                         std::string(run_.variable_label.trimmed()),
                         quantity_of(run_.variable_choice),
                         std::string(version2_unit(run_.variable_choice)),
                         1,
                         false,
                         std::string(run_.data_file_name.trimmed())};
    for (SeriesSink* sink : sinks_) sink->begin(v);
}

void Version2SeriesFeed::record(const ghcn::DataRecord& rec) {
    if (tables_) tables_->record(rec);
    const auto station = totals_.find(station_key(rec.rec_country, rec.rec_station_id));
    if (station == totals_.end()) return;
    if (years_ && (rec.rec_year < years_->first || rec.rec_year > years_->second)) return;
    const std::string id = station_id_text(rec.rec_country, rec.rec_station_id);
    Totals& t = station->second;
    if (t.first_year == 0 || rec.rec_year < t.first_year) t.first_year = rec.rec_year;
    t.last_year = std::max(t.last_year, rec.rec_year);
    for (int m = 0; m < 12; ++m) {
        ValueRow row{id + std::to_string(rec.rec_duplicate), id, rec.rec_year, m + 1};
        const std::int32_t v = rec.rec_values[static_cast<std::size_t>(m)];
        row.trace = quantity_of(run_.variable_choice) == Quantity::precipitation && v == ghcn::trace_value;
        if (v != ghcn::missing_value && !row.trace) row.value = row.file_value = v;
        if (row.value) ++t.values;
        for (SeriesSink* sink : sinks_) sink->value(row);
    }
}

void Version2SeriesFeed::unreadable(std::int32_t last_station) {
    if (tables_) tables_->unreadable(last_station);
}

StationRow Version2SeriesFeed::station_row(std::int32_t r,
                                           const std::optional<std::pair<double, double>>& place) const {
    const app::SelectedStations& s = run_.stations;
    StationRow row;
    row.id = station_id_text(s.station_country[r], s.station_id[r]);
    row.country_code = std::to_string(s.station_country[r]);
    if (run_.criteria.use_country != 0) row.country_name = std::string(run_.criteria.country_name.trimmed());
    std::string_view name = s.station_name[r].trimmed();
    row.name = std::string(name.substr(std::min(name.size(), name.find_first_not_of(' '))));
    // The inventory holds hundredths; the single-precision table would add binary noise.
    row.latitude = std::round(static_cast<double>(s.station_lat[r]) * 100) / 100;
    row.longitude = std::round(static_cast<double>(s.station_lon[r]) * 100) / 100;
    if (!ghcn::elevation_unknown(s.station_elevation[r])) row.elevation = s.station_elevation[r];
    if (place) row.distance_km = geodesic_km(place->first, place->second, row.latitude, row.longitude);
    const Totals& t = totals_.at(station_key(s.station_country[r], s.station_id[r]));
    row.first_year = t.first_year;
    row.last_year = t.last_year;
    row.values = t.values;
    return row;
}

bool Version2SeriesFeed::finish(const std::optional<std::pair<double, double>>& place,
                                std::vector<std::string>& errors) {
    std::vector<StationRow> rows;
    for (std::int32_t r = 0; r < run_.stations.selected_count; ++r) rows.push_back(station_row(r, place));
    if (place) {
        std::stable_sort(rows.begin(), rows.end(), [](const StationRow& a, const StationRow& b) {
            return *a.distance_km != *b.distance_km ? *a.distance_km < *b.distance_km : a.id < b.id;
        });
    }
    for (const StationRow& row : rows) {
        for (SeriesSink* sink : sinks_) sink->station(row);
    }
    for (SeriesSink* sink : sinks_) {
        std::string error;
        if (!sink->finish(error)) errors.push_back(error);
    }
    return errors.empty();
}

}  // namespace corvane::extract
