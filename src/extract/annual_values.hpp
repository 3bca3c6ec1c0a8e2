// The annual means (sums, for precipitation) of one series: a year counts only with at
// least the required number of monthly values, a trace counting as 0 mm, and a month that a
// duplicated station-year gives twice counts once, with its first value. Kept exact, in
// units of one digit more than the data, for annual.csv and the netCDF file alike.
#pragma once

#include <cstdint>
#include <vector>

#include "extract/series_sink.hpp"

namespace corvane::extract {

struct AnnualValue {
    std::int32_t year = 0;
    std::int64_t value = 0;  // in units of 10^-(decimals + 1) of the variable's unit
    int months = 0;          // the monthly values it is made of
};

// The years of `series` in the order they first appear, those with fewer than `min_months`
// values left out; `sum` for precipitation.
std::vector<AnnualValue> annual_values(const std::vector<ValueRow>& series, int min_months, bool sum);

}  // namespace corvane::extract
