// A version 2 extraction's records as the series sinks receive them: only the selected
// stations, every month with its series (id and duplicate digit), tenths as they stand, a
// trace without a value, the stations with what was written of them, and every record
// passed on to the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/version2_series_feed.hpp"

namespace corvane::extract {
namespace {

struct Recorder : SeriesSink {
    VariableInfo variable;
    std::vector<ValueRow> values;
    std::vector<StationRow> stations;
    bool finished = false;
    void begin(const VariableInfo& v) override { variable = v; }
    void value(const ValueRow& r) override { values.push_back(r); }
    void station(const StationRow& r) override { stations.push_back(r); }
    bool finish(std::string&) override { return finished = true; }
};

struct Counter : app::DataRecordSink {
    int records = 0;
    void record(const ghcn::DataRecord&) override { ++records; }
    void unreadable(std::int32_t) override {}
};

app::RunData& precipitation_run() {
    static app::RunData run;
    run = app::RunData{};
    run.variable_choice = 7;
    run.stations.selected_count = 1;
    run.stations.station_country[0] = 507;
    run.stations.station_id[0] = 93436001;
    run.stations.station_lat[0] = -41.3f;
    run.stations.station_lon[0] = 174.8f;
    run.stations.station_elevation[0] = -999;
    return run;
}

ghcn::DataRecord record(std::int32_t station, std::int32_t duplicate, std::int32_t year) {
    ghcn::DataRecord r{507, station, duplicate, year, {}};
    r.rec_values.fill(ghcn::missing_value);
    r.rec_values[0] = 123;
    r.rec_values[1] = ghcn::trace_value;
    return r;
}

TEST(Version2SeriesFeed, SelectedRecordsBecomeMonthlyRowsAndStationsTheirTotals) {
    Recorder sink;
    Counter tables;
    Version2SeriesFeed feed(precipitation_run(), {&sink}, &tables);
    feed.begin("prcp");
    feed.record(record(93436001, 0, 1990));
    feed.record(record(11111111, 0, 1990));  // not selected
    feed.record(record(93436001, 1, 1985));
    std::vector<std::string> errors;
    ASSERT_TRUE(feed.finish(std::pair{-41.3, 174.8}, errors));
    EXPECT_TRUE(sink.finished);
    EXPECT_EQ(tables.records, 3) << "the tables see every record";
    EXPECT_EQ(sink.variable.unit, "mm");
    EXPECT_EQ(sink.variable.quantity, Quantity::precipitation);
    EXPECT_EQ(sink.variable.decimals, 1);
    ASSERT_EQ(sink.values.size(), 24u);
    EXPECT_EQ(sink.values[0].series, "507934360010");
    EXPECT_EQ(sink.values[12].series, "507934360011");
    EXPECT_EQ(sink.values[0].value, 123);
    EXPECT_TRUE(sink.values[1].trace);
    EXPECT_FALSE(sink.values[1].value.has_value());
    EXPECT_FALSE(sink.values[2].value.has_value());
    ASSERT_EQ(sink.stations.size(), 1u);
    const StationRow& s = sink.stations[0];
    EXPECT_EQ(s.id, "50793436001");
    EXPECT_FALSE(s.elevation.has_value());
    EXPECT_EQ(s.first_year, 1985);
    EXPECT_EQ(s.last_year, 1990);
    EXPECT_EQ(s.values, 2) << "a trace is not a value";
    EXPECT_NEAR(*s.distance_km, 0.0, 0.01);
}

}  // namespace
}  // namespace corvane::extract
