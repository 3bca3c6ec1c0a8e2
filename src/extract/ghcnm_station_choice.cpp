// The box and elevation rules are version 2's, so that the same options select the same
// way in every version; distances and ties come from the data set's selection functions.
#include "extract/ghcnm_station_choice.hpp"

#include <algorithm>
#include <bit>
#include <cctype>
#include <limits>

#include "ghcn/ghcnm_selection.hpp"
#include "ghcn/selection_rules.hpp"

namespace corvane::extract {

namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool in_box(const ghcn::GhcnmStation& s, const Box& b) {
    const double north = b.north / 100.0, south = b.south / 100.0;
    const auto east = static_cast<float>(b.east / 100.0), west = static_cast<float>(b.west / 100.0);
    if (s.latitude > north || s.latitude < south) return false;
    return ghcn::longitude_in_box(static_cast<float>(s.longitude), west, east, ghcn::crosses_dateline(east, west));
}

bool elevation_fits(const ghcn::GhcnmStation& s, const ElevationRange& r, bool reject_missing) {
    if (!s.elevation) return !reject_missing;
    return *s.elevation >= r.min && *s.elevation <= r.max;
}

bool matches(const ghcn::GhcnmStation& s, const InventoryCriteria& c) {
    if (c.country_code && s.country_code != *c.country_code) return false;
    if (c.box && !in_box(s, *c.box)) return false;
    if (c.elevation && !elevation_fits(s, *c.elevation, c.reject_missing_elevation)) return false;
    if (c.name && !ghcn::name_contains(s.name, *c.name)) return false;
    return !c.ids || c.ids->contains(s.id);
}

}  // namespace

std::vector<std::size_t> inventory_matches(const std::vector<ghcn::GhcnmStation>& stations,
                                           const InventoryCriteria& criteria) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        if (matches(stations[i], criteria)) found.push_back(i);
    }
    return found;
}

bool enough_years(const YearMonths& months, const std::string& id, std::int32_t min_years, std::int32_t min_months) {
    const auto station = months.find(id);
    if (station == months.end()) return false;
    std::int32_t years = 0;
    for (const auto& [year, mask] : station->second) {
        if (std::popcount(mask) >= min_months) ++years;
    }
    return years >= min_years;
}

std::vector<ChosenStation> choose_by_place(const std::vector<ghcn::GhcnmStation>& stations,
                                           const std::vector<std::size_t>& candidates,
                                           const std::optional<PlaceCriteria>& place) {
    std::vector<ChosenStation> chosen;
    if (!place) {
        for (std::size_t i : candidates) chosen.push_back({i, std::nullopt});
        return chosen;
    }
    std::vector<ghcn::GhcnmStation> subset;
    subset.reserve(candidates.size());
    for (std::size_t i : candidates) subset.push_back(stations[i]);
    const ghcn::Place from{place->near.latitude, place->near.longitude};
    std::vector<ghcn::StationDistance> d =
        ghcn::within_radius(subset, from, place->radius_km.value_or(std::numeric_limits<double>::infinity()));
    if (place->nearest && d.size() > static_cast<std::size_t>(*place->nearest))
        d.resize(static_cast<std::size_t>(*place->nearest));
    for (const ghcn::StationDistance& s : d) chosen.push_back({candidates[s.index], s.km});
    return chosen;
}

std::optional<CountryEntry> find_country(const std::vector<CountryEntry>& list, const std::string& text) {
    const std::string wanted = lowered(text);
    for (const CountryEntry& c : list) {
        if (lowered(c.code) == wanted || lowered(c.name) == wanted) return c;
    }
    return std::nullopt;
}

}  // namespace corvane::extract
