// The netCDF file: the selected series as a CF discrete-sampling-geometry timeSeries in a
// contiguous ragged array. The observations (every month of every record, in file order)
// run along the unlimited `obs` dimension, each series' together; `row_size` on the
// `timeseries` dimension says how many belong to each series. Observations are written in
// blocks as the series arrive, so memory holds one block and one series, whatever the size
// of the extraction; the station variables are written at the end, when the station rows
// come, and so are the annual values with --annual (kept until then, 16 bytes a series-year,
// over a `year` dimension whose span is known only then). The file is netCDF-4, written
// through libnetcdf under a temporary name; the run places it under its final name
// (file()) when the whole run has succeeded.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "extract/annual_values.hpp"
#include "extract/background_digests.hpp"
#include "extract/monthly_normals.hpp"
#include "extract/series_groups.hpp"
#include "extract/series_sink.hpp"
#include "extract/staged_file.hpp"

namespace corvane::extract {

struct NetcdfOptions {
    std::filesystem::path path;
    bool replace = false;              // --force
    std::string title;
    std::string history;               // the command line and the time it ran
    std::optional<BasePeriod> anomalies;  // adds <name>_anomaly
    // --annual: adds <name>_annual over (timeseries, year), years with at least these months.
    std::optional<int> annual_min_months;
};

struct NetcdfSeries {
    std::string series, station;
    std::int32_t rows = 0;
};

class NetcdfSink : public SeriesSink {
public:
    explicit NetcdfSink(NetcdfOptions options);
    ~NetcdfSink() override;

    // Whether the file can be written; an error text, empty when it can. For before the run.
    std::string check() const { return file_.check(); }
    // The file, complete under its temporary name once finish has succeeded.
    StagedFile& file() { return file_; }

    void begin(const VariableInfo& variable) override;
    void value(const ValueRow& row) override;
    void values(std::span<const ValueRow> rows) override;
    void station(const StationRow& row) override;
    bool finish(std::string& error) override;

private:
    struct Ids;
    struct Block;
    struct Annual {
        std::size_t series = 0;  // index in series_
        std::int32_t year = 0;
        float value = 0;
        signed char months = 0;
    };
    void define_observations();
    void end_series();
    void add_observation(const ValueRow& row, const SeriesNormals* normals);
    std::pair<double, double> month_bounds(std::int32_t year, std::int32_t month);
    void write_block();
    void write_stations();
    struct AnnualLayout;
    AnnualLayout define_annual_values(int timeseries);
    void write_annual(const AnnualLayout& layout);
    bool ok(int status, const char* what);

    NetcdfOptions options_;
    StagedFile file_;
    VariableInfo variable_;
    SeriesRuns runs_;
    // With anomalies or annual values, which need the whole of a series: the series whose
    // run is going on.
    std::vector<ValueRow> held_;
    bool holds_series() const { return options_.anomalies || options_.annual_min_months; }
    std::unique_ptr<Ids> ids_;
    std::unique_ptr<Block> block_;
    std::vector<NetcdfSeries> series_;
    std::vector<Annual> annual_;  // with --annual: every year counted, until the end
    std::unordered_map<std::string, StationRow> stations_;
    std::size_t written_ = 0;  // observations in the file
    std::string error_;
    bool open_ = false;
    BackgroundDigests sums_;
    double value_scale_ = 1;  // 10^decimals of the variable
    std::int32_t bounds_year_ = 0;
    std::optional<std::array<double, 13>> month_starts_;  // of bounds_year_ and the next January
};

// The global `history` line: "2026-12-07T23:10:05Z: corvane-extract --variable mean ...", each
// word that holds a blank or a quote quoted as a shell would need it.
std::string netcdf_history(const std::vector<std::string>& command, std::chrono::system_clock::time_point time);

// The netCDF names of the variable's data: "tavg-adj" -> "tavg_adj".
std::string netcdf_name(const std::string& variable_name);

// Days since 1700-01-01 of the first day of the month (proleptic Gregorian).
double days_since_1700(std::int32_t year, std::int32_t month);

// Words as CF's flag_meanings wants one meaning: letters, digits and underscores, the rest
// joined by underscores ("Failed duplicate check" -> "failed_duplicate_check").
std::string flag_meaning_word(const std::string& meaning);

}  // namespace corvane::extract
