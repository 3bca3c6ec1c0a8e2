// Annual means and sums per series, into annual.csv.
#include "extract/annual_sink.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "extract/exact_decimal.hpp"
#include "extract/monthly_normals.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

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

AnnualSink::AnnualSink(int min_months, int unit, std::string file)
    : min_months_(min_months), unit_(unit), file_(std::move(file)),
      groups_([this](const std::vector<ValueRow>& s) { write_series(s); }) {}

void AnnualSink::begin(const VariableInfo& variable) {
    variable_ = variable;
    units::open_unit({.unit = unit_, .file = file_, .status = "UNKNOWN"});
    open_ = true;
    fmtio::write(fmtio::unit(unit_), fmtio::fmt<"(a)">, std::string_view("series,year,value,months"));
}

void AnnualSink::value(const ValueRow& row) {
    if (row.month >= 1 && row.month <= 12) groups_.add(row);
}

void AnnualSink::write_series(const std::vector<ValueRow>& series) {
    const bool sum = variable_.quantity == Quantity::precipitation;
    for (const YearTotal& y : year_totals(series)) {
        const int n = y.count();
        if (n == 0 || n < min_months_) continue;
        const std::int64_t tenfold = 10 * y.sum();
        const std::string value = decimal_text(sum ? tenfold : rounded_quotient(tenfold, n), variable_.decimals + 1);
        const std::string row = series.front().series + ',' + std::to_string(y.year) + ',' + value + ',' +
                                std::to_string(n);
        fmtio::write(fmtio::unit(unit_), fmtio::fmt<"(a)">, row);
        ++years_written_;
    }
}

bool AnnualSink::finish(std::string& error) {
    groups_.flush();
    if (open_) units::close_unit(unit_);
    open_ = false;
    if (!groups_.split_series().empty()) {
        error = file_ + ": the values of series " + groups_.split_series() +
                " are not together in the data file; its years are written in parts";
        return false;
    }
    return true;
}

}  // namespace corvane::extract
