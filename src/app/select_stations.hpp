// The station selection dialogue: criteria digits, country, area box, elevation range,
// the longitude question, and the summary the user accepts.
#pragma once

#include <cstdint>

#include "app/run_data.hpp"

namespace corvane::app {

// Returns when the user accepts a set of criteria; ends the program on Exit.
void select_stations(SelectionCriteria& criteria, std::int32_t variable_choice);

}  // namespace corvane::app
