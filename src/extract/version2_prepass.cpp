// The dialogue would ask about a station without an elevation; corvane-extract keeps each
// one when --missing-elevation keep is given, so the pass takes those stations without
// asking, and the search's question is answered the same way later.
#include "extract/version2_prepass.hpp"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <vector>

#include "app/search_report.hpp"
#include "extract/csv_tables.hpp"
#include "extract/place_and_name.hpp"
#include "extract/report.hpp"
#include "fmtio/statement_api.hpp"
#include "ghcn/selection_rules.hpp"
#include "ghcn/variables.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int inventory_pass_unit = 40;
constexpr int data_pass_unit = 41;

struct Candidate {
    std::int64_t key = 0;
    std::string id;
    double km = 0;
};

// Hands every station of the variable's inventory to `take`, in file order.
template <class Take>
void for_each_inventory_station(std::int32_t variable_choice, Take take) {
    units::open_unit({.unit = inventory_pass_unit,
                      .file = ghcn::variable_files(variable_choice).inventory_file,
                      .status = "OLD",
                      .action = "READ"});
    ghcn::InventoryLine line;
    ghcn::InventoryStation st;
    while (read(unit(inventory_pass_unit), on_end, fmt<"(a)">, line) != units::outcome_end) {
        ghcn::read_inventory_line(line, st);
        take(st);
    }
    units::close_unit(inventory_pass_unit);
}

bool dialogue_selects(const app::SelectionCriteria& c, const ghcn::InventoryStation& s) {
    app::SelectionCriteria strict = c;
    strict.reject_missing_elevation = true;  // never asks
    if (app::station_selected(strict, s.country, s.lat, s.lon, s.elevation, s.name)) return true;
    if (static_cast<bool>(c.reject_missing_elevation) || c.use_elevation == 0 || !ghcn::elevation_unknown(s.elevation))
        return false;
    strict.use_elevation = 0;
    strict.selection_score -= 1;
    return app::station_selected(strict, s.country, s.lat, s.lon, s.elevation, s.name);
}

std::vector<Candidate> inventory_candidates(const ExtractOptions& o, const app::RunData& run,
                                            const std::function<bool(const ghcn::InventoryStation&)>& filter) {
    std::vector<Candidate> found;
    for_each_inventory_station(run.variable_choice, [&](const ghcn::InventoryStation& st) {
        if (!dialogue_selects(run.criteria, st) || (filter && !filter(st))) return;
        const double km = o.near ? geodesic_km(o.near->latitude, o.near->longitude, st.lat, st.lon) : 0;
        found.push_back({version2_station_key(st.country, st.id), station_id_text(st.country, st.id), km});
    });
    return found;
}

// Drops the candidates without enough years; false when the data file cannot be read.
bool keep_enough_years(const ExtractOptions& o, const app::RunData& run, std::vector<Candidate>& candidates) {
    std::unordered_map<std::int64_t, std::unordered_map<std::int32_t, std::uint16_t>> months;
    for (const Candidate& c : candidates) months[c.key];
    ghcn::open_records_file(data_pass_unit, ghcn::variable_files(run.variable_choice).data_file);
    ghcn::DataRecord rec;
    ghcn::ReadOutcome outcome;
    while ((outcome = ghcn::read_data_record(data_pass_unit, rec)) == units::outcome_ok) {
        if (o.years && (rec.rec_year < o.years->first || rec.rec_year > o.years->last)) continue;
        const auto station = months.find(version2_station_key(rec.rec_country, rec.rec_station_id));
        if (station == months.end()) continue;
        std::uint16_t& mask = station->second[rec.rec_year];
        for (int m = 0; m < 12; ++m) {
            if (rec.rec_values[static_cast<std::size_t>(m)] != ghcn::missing_value)
                mask |= static_cast<std::uint16_t>(1u << m);
        }
    }
    units::close_unit(data_pass_unit);
    if (outcome != units::outcome_end) return false;
    std::erase_if(candidates, [&](const Candidate& c) {
        const auto& years = months[c.key];
        return std::count_if(years.begin(), years.end(),
                             [&](const auto& y) { return std::popcount(y.second) >= o.min_months; }) < *o.min_years;
    });
    return true;
}

}  // namespace

void name_ids_not_in_inventory(const std::set<std::string>& ids, std::int32_t variable_choice) {
    std::set<std::string> missing = ids;
    for_each_inventory_station(variable_choice, [&](const ghcn::InventoryStation& st) {
        missing.erase(station_id_text(st.country, st.id));
    });
    for (const std::string& id : missing)
        complain(id + ": no station of the inventory has this id; the run goes on without it");
}

std::int64_t version2_station_key(std::int32_t country, std::int32_t station) {
    return static_cast<std::int64_t>(country) * 100000000 + station;
}

std::optional<std::set<std::int64_t>> version2_prepass(const ExtractOptions& o, const app::RunData& run,
                                                       const std::function<bool(const ghcn::InventoryStation&)>& filter,
                                                       int& status) {
    status = 0;
    if (!o.nearest && !o.min_years) return std::nullopt;
    std::vector<Candidate> candidates = inventory_candidates(o, run, filter);
    if (o.min_years && !keep_enough_years(o, run, candidates)) {
        complain(std::string(ghcn::variable_files(run.variable_choice).data_file) +
                 ": a record cannot be read; the stations with --min-years cannot be counted");
        status = status_failed;
        return std::nullopt;
    }
    if (o.nearest) {
        std::sort(candidates.begin(), candidates.end(),
                  [](const Candidate& a, const Candidate& b) { return a.km != b.km ? a.km < b.km : a.id < b.id; });
        if (candidates.size() > static_cast<std::size_t>(*o.nearest))
            candidates.resize(static_cast<std::size_t>(*o.nearest));
    }
    std::set<std::int64_t> allowed;
    for (const Candidate& c : candidates) allowed.insert(c.key);
    return allowed;
}

}  // namespace corvane::extract
