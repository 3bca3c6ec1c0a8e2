// Which stations of a version 3 or 4 inventory an extraction selects. The criteria that
// need only the inventory (country, box, elevation, name, identifiers) come first; then
// those that need the data (at least N years of M values); then the place, whose N
// nearest are taken among the stations that meet every other criterion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "extract/argument_values.hpp"
#include "extract/selection_arguments.hpp"
#include "ghcn/ghcnm_inventory.hpp"

namespace corvane::extract {

struct InventoryCriteria {
    std::optional<std::string> country_code;  // as the identifiers begin
    std::optional<Box> box;
    std::optional<ElevationRange> elevation;
    bool reject_missing_elevation = true;
    std::optional<std::string> name;
    std::optional<std::set<std::string>> ids;  // --id and --ids-from together
};

// The indexes of the stations that meet every criterion given, in inventory order.
std::vector<std::size_t> inventory_matches(const std::vector<ghcn::GhcnmStation>& stations,
                                           const InventoryCriteria& criteria);

// Per station, per year, the months whose value survives the QC policy (a bit a month).
using YearMonths = std::unordered_map<std::string, std::unordered_map<std::int32_t, std::uint16_t>>;

// Whether a station holds at least `min_years` years of at least `min_months` values.
bool enough_years(const YearMonths& months, const std::string& id, std::int32_t min_years, std::int32_t min_months);

struct PlaceCriteria {
    LatLon near;
    std::optional<double> radius_km;
    std::optional<std::int32_t> nearest;
};

struct ChosenStation {
    std::size_t index = 0;
    std::optional<double> distance_km;
};

// The candidates within the radius and/or the N nearest of them, nearest first (equal
// distances by identifier); without a place, every candidate in inventory order.
std::vector<ChosenStation> choose_by_place(const std::vector<ghcn::GhcnmStation>& stations,
                                           const std::vector<std::size_t>& candidates,
                                           const std::optional<PlaceCriteria>& place);

// The country code of `text`, which names a country of the list by its code or by its
// full name, letters in any case; nothing when no entry has it.
struct CountryEntry {
    std::string code, name;
};
std::optional<CountryEntry> find_country(const std::vector<CountryEntry>& list, const std::string& text);

}  // namespace corvane::extract
