// A series' normal for each calendar month over a base period, and its anomalies. A normal
// is kept as the exact quotient of the base period's sum and count, so that an anomaly is
// one integer quotient, rounded once. A month that a duplicated station-year gives twice
// counts once towards the normal, with its first value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "extract/series_sink.hpp"

namespace corvane::extract {

struct BasePeriod {
    std::int32_t first = 1961, last = 1990;
    int min_years = 20;  // values a calendar month needs in the period for its normal
};

struct MonthlyNormal {
    std::int64_t sum = 0;  // in the file's units
    std::int64_t count = 0;
};

struct SeriesNormals {
    std::array<std::optional<MonthlyNormal>, 12> month;  // empty: too few values in the base period
    bool any_value_in_base = false;
};

// A value as the derived series count it: the file's value, or 0 for a precipitation trace.
std::optional<std::int64_t> counted_value(const ValueRow& row);

SeriesNormals monthly_normals(const std::vector<ValueRow>& series, const BasePeriod& base);

// The anomaly of `row` in units of 10^-(decimals + 1), empty when it has no value or its
// month no normal.
std::optional<std::int64_t> anomaly(const ValueRow& row, const SeriesNormals& normals);

}  // namespace corvane::extract
