// anomalies.csv: every monthly value of every series minus that series' normal for its
// calendar month over a base period (series, year, month, anomaly; empty where the value
// is missing or the month has no normal). A month has a normal only with enough values in
// the base period. Written through the record run-time's units, a row a record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "extract/monthly_normals.hpp"
#include "extract/series_groups.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract {

constexpr std::string_view anomalies_csv = "anomalies.csv";

struct AnomalyCounts {
    std::int64_t series = 0;
    std::int64_t series_without_any_normal = 0;
    std::int64_t months_without_normal = 0;  // (series, calendar month) pairs
    std::int64_t series_with_base_data = 0;
};

class AnomalySink : public SeriesSink {
public:
    AnomalySink(BasePeriod base, int unit = 23, std::string file = std::string(anomalies_csv));

    void begin(const VariableInfo& variable) override;
    void value(const ValueRow& row) override;
    // Fails when no series has a value in the base period: no anomaly could be computed.
    bool finish(std::string& error) override;

    const AnomalyCounts& counts() const { return counts_; }
    // For the log: "anomalies against 1961-1990: 3 of 40 series lack a normal for 7 months".
    std::string log_line() const;

private:
    void write_series(const std::vector<ValueRow>& series);

    BasePeriod base_;
    int unit_;
    std::string file_;
    VariableInfo variable_;
    SeriesGroups groups_;
    bool open_ = false;
    AnomalyCounts counts_;
};

}  // namespace corvane::extract
