// The selection criteria that the dialogue would hold after the answers equivalent to
// corvane-extract's options, and the country name its country step would take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/run_data.hpp"
#include "extract/extract_options.hpp"

namespace corvane::extract {

// The name of the entry a selection by `code` takes in the variable's country-code list,
// read from the working directory; nothing when no entry has it.
std::optional<std::string> country_name(std::int32_t variable_choice, std::int32_t code);

// Criteria numbered in the order country, area, elevation; the bounds read as the
// dialogue reads the typed answers; whether the box crosses the 180 degree meridian as
// the dialogue decides it.
app::SelectionCriteria criteria_from(const ExtractOptions& options, std::string_view country_name);

}  // namespace corvane::extract
