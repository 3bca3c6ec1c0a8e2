// The criteria beyond the dialogue's that a version 2 extraction takes: a place with a
// radius, a part of the name and identifiers. They filter the stations the dialogue's
// search selects, so that with none of them the files stay the dialogue's byte for byte.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/run_data.hpp"
#include "extract/extract_options.hpp"

namespace corvane::extract {

// The test of a station; empty when no such criterion is given. `ids` holds --id and
// --ids-from together (empty: none given).
std::function<bool(const ghcn::InventoryStation&)> version2_filter(const ExtractOptions& options,
                                                                   const std::optional<std::set<std::string>>& ids);

// The identifiers of --id and --ids-from; nothing when neither is given. False with the
// reason complained when the list file cannot be read.
bool version2_ids(const ExtractOptions& options, std::optional<std::set<std::string>>& ids);

}  // namespace corvane::extract
