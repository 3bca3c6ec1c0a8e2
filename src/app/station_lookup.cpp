#include "app/station_lookup.hpp"

#include <algorithm>

namespace corvane::app {

StationLookup::StationLookup(const SelectedStations& stations) {
    rows_.reserve(static_cast<std::size_t>(stations.selected_count));
    for (std::int32_t r = 0; r < stations.selected_count; ++r) rows_.emplace_back(stations.station_id[r], r);
    std::sort(rows_.begin(), rows_.end());  // by number, then row: the first row leads its number
    const auto same_number = [](const auto& a, const auto& b) { return a.first == b.first; };
    rows_.erase(std::unique(rows_.begin(), rows_.end(), same_number), rows_.end());
}

std::int32_t StationLookup::first_row(std::int32_t station_id) const {
    const auto it = std::lower_bound(rows_.begin(), rows_.end(), station_id,
                                     [](const auto& entry, std::int32_t id) { return entry.first < id; });
    return it != rows_.end() && it->first == station_id ? it->second : no_row;
}

}  // namespace corvane::app
