// Monthly anomalies per series against its base-period normals, into anomalies.csv.
#include "extract/anomaly_sink.hpp"

#include <optional>

#include "extract/exact_decimal.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

AnomalySink::AnomalySink(BasePeriod base, int unit, std::string file)
    : base_(base), unit_(unit), file_(std::move(file)),
      groups_([this](const std::vector<ValueRow>& s) { write_series(s); }) {}

void AnomalySink::begin(const VariableInfo& variable) {
    variable_ = variable;
    units::open_unit({.unit = unit_, .file = file_, .status = "UNKNOWN"});
    open_ = true;
    fmtio::write(fmtio::unit(unit_), fmtio::fmt<"(a)">, std::string_view("series,year,month,anomaly"));
}

void AnomalySink::value(const ValueRow& row) {
    if (row.month >= 1 && row.month <= 12) groups_.add(row);
}

void AnomalySink::write_series(const std::vector<ValueRow>& series) {
    const SeriesNormals normals = monthly_normals(series, base_);
    int missing = 0;
    for (const auto& m : normals.month) missing += m ? 0 : 1;
    ++counts_.series;
    counts_.months_without_normal += missing;
    if (missing == 12) ++counts_.series_without_any_normal;
    if (normals.any_value_in_base) ++counts_.series_with_base_data;
    const std::string start = series.front().series + ',';
    for (const ValueRow& row : series) {
        const std::optional<std::int64_t> a = anomaly(row, normals);
        const std::string text = start + std::to_string(row.year) + ',' + std::to_string(row.month) + ',' +
                                 (a ? decimal_text(*a, variable_.decimals + 1) : std::string());
        fmtio::write(fmtio::unit(unit_), fmtio::fmt<"(a)">, text);
    }
}

bool AnomalySink::finish(std::string& error) {
    groups_.flush();
    if (open_) units::close_unit(unit_);
    open_ = false;
    if (counts_.series_with_base_data == 0) {
        error = "--anomalies " + std::to_string(base_.first) + ':' + std::to_string(base_.last) +
                ": no selected series has a value in the base period";
        return false;
    }
    if (!groups_.split_series().empty()) {
        error = file_ + ": the values of series " + groups_.split_series() +
                " are not together in the data file; its normals are computed in parts";
        return false;
    }
    return true;
}

std::string AnomalySink::log_line() const {
    return "anomalies against " + std::to_string(base_.first) + '-' + std::to_string(base_.last) + ": " +
           std::to_string(counts_.series_without_any_normal) + " of " + std::to_string(counts_.series) +
           " series without any normal; " + std::to_string(counts_.months_without_normal) +
           " series-months without a normal (fewer than " + std::to_string(base_.min_years) +
           " values in the base period), their anomalies left empty";
}

}  // namespace corvane::extract
