// Finding a station's row in the table of selected stations by its number. When two rows
// hold the same number the first one wins, as a search from the top of the table finds it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "app/run_data.hpp"

namespace corvane::app {

class StationLookup {
public:
    static constexpr std::int32_t no_row = -1;

    explicit StationLookup(const SelectedStations& stations);

    // The first row (0-based) holding `station_id`, or no_row.
    std::int32_t first_row(std::int32_t station_id) const;

private:
    std::vector<std::pair<std::int32_t, std::int32_t>> rows_;  // number, first row; by number
};

}  // namespace corvane::app
