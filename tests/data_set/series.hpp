// The series of a generated station: how many duplicate series it has and which years each
// covers, which months are missing, and the kinds of wrong value that fail quality control.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "random.hpp"
#include "stations.hpp"

namespace corvane::data_set {

constexpr int last_year = 2006;
constexpr int missing = -9999;
constexpr int trace = -8888;

using Year = std::array<int, 12>;
using MissingMonths = std::array<bool, 12>;

struct Series {
    int digit = 0;
    std::vector<int> years;
};

// One to ten series of a station: their duplicate digits (sometimes with gaps) and years.
std::vector<Series> plan_series(Random& r, int country, bool pressure, const std::vector<double>& weights,
                                double mean_length, double duplicate_length);
// Months without a value: single gaps, partial first and last years, a few sparse years,
// and the last year, which was not over yet.
MissingMonths missing_months(Random& r, const Series& series, std::size_t index, double p);

int tenths(double x);
double season(int month, double peak);
int elevation_for_climate(const Station& st);

// The wrong value a failed check caught, from the value it replaced.
int fail_temperature(Random& r, int v);
int fail_precipitation(Random& r, int v);
int fail_pressure(Random& r, int v);

}  // namespace corvane::data_set
