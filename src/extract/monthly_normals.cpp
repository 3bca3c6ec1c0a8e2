// Normals per calendar month, and anomalies against them in exact integers.
#include "extract/monthly_normals.hpp"

#include <set>
#include <utility>

#include "extract/exact_decimal.hpp"

namespace corvane::extract {

std::optional<std::int64_t> counted_value(const ValueRow& row) {
    if (row.trace) return 0;
    return row.value;
}

SeriesNormals monthly_normals(const std::vector<ValueRow>& series, const BasePeriod& base) {
    std::array<MonthlyNormal, 12> totals{};
    SeriesNormals normals;
    std::set<std::pair<std::int32_t, std::int32_t>> counted;  // a duplicated station-year's month counts once
    for (const ValueRow& row : series) {
        const std::optional<std::int64_t> v = counted_value(row);
        if (!v || row.year < base.first || row.year > base.last || row.month < 1 || row.month > 12) continue;
        if (!counted.emplace(row.year, row.month).second) continue;
        totals[static_cast<std::size_t>(row.month - 1)].sum += *v;
        ++totals[static_cast<std::size_t>(row.month - 1)].count;
        normals.any_value_in_base = true;
    }
    for (std::size_t m = 0; m < 12; ++m) {
        if (totals[m].count > 0 && totals[m].count >= base.min_years) normals.month[m] = totals[m];
    }
    return normals;
}

std::optional<std::int64_t> anomaly(const ValueRow& row, const SeriesNormals& normals) {
    const std::optional<std::int64_t> v = counted_value(row);
    if (!v || row.month < 1 || row.month > 12) return std::nullopt;
    const std::optional<MonthlyNormal>& normal = normals.month[static_cast<std::size_t>(row.month - 1)];
    if (!normal) return std::nullopt;
    return rounded_quotient(10 * (*v * normal->count - normal->sum), normal->count);
}

}  // namespace corvane::extract
