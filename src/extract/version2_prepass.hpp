// --nearest and --min-years for version 2. Both need to know every station that meets the
// other criteria before the dialogue's search lists any, so a pass over the inventory
// (and, for --min-years, over the data file) finds them first; the search then lets
// through only the stations found.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/run_data.hpp"
#include "extract/extract_options.hpp"

namespace corvane::extract {

// The country and number of a station as one key.
std::int64_t version2_station_key(std::int32_t country, std::int32_t station);

// The stations (keys) that meet every criterion, read from the working directory's
// inventory and data file; nothing when neither --nearest nor --min-years is given. An
// unreadable data record is complained about and gives status_failed in `status`.
std::optional<std::set<std::int64_t>> version2_prepass(const ExtractOptions& options, const app::RunData& run,
                                                       const std::function<bool(const ghcn::InventoryStation&)>& filter,
                                                       int& status);

// Names on standard error each of `ids` that the working directory's inventory lacks.
void name_ids_not_in_inventory(const std::set<std::string>& ids, std::int32_t variable_choice);

}  // namespace corvane::extract
