// The names of the comma-separated tables an extraction writes, and the quoting of their
// fields, for every version of the data set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "extract/exact_decimal.hpp"  // decimal_text, for the tables' values

namespace corvane::extract {

constexpr std::string_view stations_csv = "stations.csv";
constexpr std::string_view values_csv = "values.csv";
constexpr std::string_view failed_values_csv = "failed_values.csv";

// A field quoted as RFC 4180 asks when it holds a comma, a quote or a line-end character
// (a CR or an LF, each alone too).
std::string csv_field(std::string_view text);

// The marker a version 2 precipitation trace (-8888) is written as in place of a number.
constexpr std::string_view trace_marker = "trace";

}  // namespace corvane::extract
