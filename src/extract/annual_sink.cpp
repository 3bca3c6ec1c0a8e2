// Annual means and sums per series, into annual.csv.
#include "extract/annual_sink.hpp"

#include "extract/annual_values.hpp"
#include "extract/exact_decimal.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

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
    for (const AnnualValue& y : annual_values(series, min_months_, sum)) {
        const std::string row = series.front().series + ',' + std::to_string(y.year) + ',' +
                                decimal_text(y.value, variable_.decimals + 1) + ',' + std::to_string(y.months);
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
