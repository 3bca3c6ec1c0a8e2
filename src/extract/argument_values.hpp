// The values of corvane-extract's options, checked and converted. Each parser returns the
// value, or why it was refused, saying what is accepted ("expected ..."), which the caller
// puts after the option and the value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace corvane::extract {

template <class T>
using Parsed = std::variant<T, std::string>;  // the value, or why it is refused

template <class T>
bool parsed_ok(const Parsed<T>& p) { return p.index() == 0; }

// Version 2's variables by name, in the order of their menu numbers 1 to 9.
inline constexpr std::array<std::string_view, 9> variable_names = {"mean", "mean-adj", "min",      "min-adj", "max",
                                                                   "max-adj", "prcp", "prcp-adj", "slp"};

// A variable by name (mean, mean-adj, min, min-adj, max, max-adj, prcp, prcp-adj, slp) or
// by its menu number 1 to 9.
Parsed<std::int32_t> parse_variable(std::string_view text);

// A three-digit country code, 1 to 998 (999 is the dialogue's "list again").
Parsed<std::int32_t> parse_country(std::string_view text);

// A coordinate in hundredths of a degree, within +-`limit` degrees, written as a decimal
// number with at most two decimals.
Parsed<std::int32_t> parse_hundredths(std::string_view text, std::int32_t limit);

// NORTH,SOUTH,EAST,WEST in hundredths of a degree. EAST below WEST is a box across 180
// degrees; NORTH below SOUTH is refused.
struct Box {
    std::int32_t north = 0, south = 0, east = 0, west = 0;
};
Parsed<Box> parse_box(std::string_view text);

// MIN,MAX elevation, each -999 to 9999 (the dialogue's four-column field), MIN <= MAX.
struct ElevationRange {
    std::int32_t min = 0, max = 0;
};
Parsed<ElevationRange> parse_elevation(std::string_view text);

// "reject" (true) or "keep" (false): what happens to a station whose elevation is missing.
Parsed<bool> parse_missing_elevation(std::string_view text);

// The text of a coordinate in hundredths as the dialogue's answer would be typed, e.g.
// -135.00, right-justified in `width` columns.
std::string hundredths_text(std::int32_t hundredths, std::size_t width);

}  // namespace corvane::extract
