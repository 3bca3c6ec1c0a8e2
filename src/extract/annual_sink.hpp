// annual.csv: per series and year, the mean of the monthly values (the sum, for
// precipitation, a trace counting as 0 mm), for the years that have at least the required
// number of months. A month that a duplicated station-year gives twice counts once, with
// its first value. Written through the record run-time's units, a row a record, so an
// interruption leaves whole rows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extract/series_groups.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract {

constexpr std::string_view annual_csv = "annual.csv";

class AnnualSink : public SeriesSink {
public:
    // `unit` is the run-time unit the table is written on, `file` its name.
    AnnualSink(int min_months, int unit = 22, std::string file = std::string(annual_csv));

    void begin(const VariableInfo& variable) override;
    void value(const ValueRow& row) override;
    bool finish(std::string& error) override;

    std::int64_t years_written() const { return years_written_; }

private:
    void write_series(const std::vector<ValueRow>& series);

    int min_months_;
    int unit_;
    std::string file_;
    VariableInfo variable_;
    SeriesGroups groups_;
    bool open_ = false;
    std::int64_t years_written_ = 0;
};

}  // namespace corvane::extract
