// A version 2 extraction's records handed to series sinks: every month of every record of
// a selected station as it is read (the series being the station id and the duplicate
// digit, a trace marked as such), then the selected stations with what was written of
// them. It sits in the extraction's one pass beside the CSV tables, which it passes each
// record on to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/getit.hpp"
#include "app/run_data.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract {

class Version2SeriesFeed : public app::DataRecordSink {
public:
    // `tables`, when given, receives every record too.
    Version2SeriesFeed(const app::RunData& run, std::vector<SeriesSink*> sinks, app::DataRecordSink* tables);

    // Hands the variable to every sink; `name` as --variable gave it.
    void begin(const std::string& name);
    // Only the records of these years are handed on to the sinks.
    void limit_years(std::int32_t first, std::int32_t last) { years_ = {first, last}; }
    void record(const ghcn::DataRecord& record) override;
    void unreadable(std::int32_t last_station) override;
    // Hands every selected station (nearest first from `place` when given) to every sink and
    // completes them; false, with each reason in `errors`, when one could not be completed.
    bool finish(const std::optional<std::pair<double, double>>& place, std::vector<std::string>& errors);

private:
    struct Totals {
        std::int32_t first_year = 0, last_year = 0;
        std::int64_t values = 0;
    };
    StationRow station_row(std::int32_t r, const std::optional<std::pair<double, double>>& place) const;

    const app::RunData& run_;
    std::vector<SeriesSink*> sinks_;
    app::DataRecordSink* tables_;
    std::unordered_map<std::int64_t, Totals> totals_;
    std::optional<std::pair<std::int32_t, std::int32_t>> years_;  // per selected station (country and number)
};

}  // namespace corvane::extract
