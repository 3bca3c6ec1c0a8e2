// The values of the options that came with versions 3 and 4: the data set's version, the
// variable of any version, the QC policy, a place with a radius or a number of nearest
// stations, a window of years and the least data a station must hold. Each parser returns
// the value, or why it was refused, saying what is accepted.
#pragma once

#include <cstdint>
#include <string_view>

#include "extract/argument_values.hpp"

namespace corvane::extract {

// "v2", "v3" or "v4" (also 2, 3, 4).
Parsed<int> parse_dataset(std::string_view text);

// A text accepted as it stands.
struct Accepted {};

// A variable name of any version: the nine of version 2 (or 1 to 9) or those of 3 and 4.
Parsed<Accepted> parse_any_variable(std::string_view text);

// Whether the name is one of version `edition`'s variables (2, 3 or 4).
bool variable_of_edition(int edition, std::string_view name);

// The names accepted for version `edition`, as a refusal lists them.
std::string variables_accepted(int edition);

// "drop" (false) or "keep" (true).
Parsed<bool> parse_qc_policy(std::string_view text);

struct LatLon {
    double latitude = 0, longitude = 0;
};
// LAT,LON in decimal degrees, latitude within +-90, longitude within +-180.
Parsed<LatLon> parse_near(std::string_view text);

// A radius in kilometres above 0.
Parsed<double> parse_radius(std::string_view text);

// A whole number from 1 to `most`.
Parsed<std::int32_t> parse_count(std::string_view text, std::int32_t most);

struct YearWindow {
    std::int32_t first = 0, last = 0;
};
// FIRST:LAST, years of four digits, FIRST not after LAST.
Parsed<YearWindow> parse_years(std::string_view text);

}  // namespace corvane::extract
