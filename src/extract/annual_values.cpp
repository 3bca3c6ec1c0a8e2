// A year's months gathered first, then summed or averaged once, rounded once.
#include "extract/annual_values.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "extract/exact_decimal.hpp"
#include "extract/monthly_normals.hpp"

namespace corvane::extract {

namespace {

struct YearTotal {
    std::int32_t year = 0;
    std::array<std::optional<std::int64_t>, 12> months;

    int count() const {
        int n = 0;
        for (const auto& m : months) n += m ? 1 : 0;
        return n;
    }
    std::int64_t sum() const {
        std::int64_t s = 0;
        for (const auto& m : months) s += m.value_or(0);
        return s;
    }
};

// The years of a series in the order they first appear, each month with its first value.
std::vector<YearTotal> year_totals(const std::vector<ValueRow>& series) {
    std::vector<YearTotal> years;
    for (const ValueRow& row : series) {
        auto it = std::find_if(years.begin(), years.end(), [&](const YearTotal& y) { return y.year == row.year; });
        if (it == years.end()) it = years.insert(years.end(), YearTotal{.year = row.year, .months = {}});
        const std::optional<std::int64_t> v = counted_value(row);
        if (!v || row.month < 1 || row.month > 12) continue;
        auto& slot = it->months[static_cast<std::size_t>(row.month - 1)];
        if (!slot) slot = v;
    }
    return years;
}

}  // namespace

std::vector<AnnualValue> annual_values(const std::vector<ValueRow>& series, int min_months, bool sum) {
    std::vector<AnnualValue> values;
    for (const YearTotal& y : year_totals(series)) {
        const int n = y.count();
        if (n == 0 || n < min_months) continue;
        const std::int64_t tenfold = 10 * y.sum();
        values.push_back({y.year, sum ? tenfold : rounded_quotient(tenfold, n), n});
    }
    return values;
}

}  // namespace corvane::extract
