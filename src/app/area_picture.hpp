// The small picture of the search box that the dialogue shows and the log keeps: the
// corners' values around four rows of side bars.
#pragma once

#include "app/run_data.hpp"
#include "units/statement_context.hpp"

namespace corvane::app {

void write_area_picture(const units::UnitSpec& to, const SelectionCriteria& c);

}  // namespace corvane::app
