#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/getit.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::app {
namespace {

// One data record per station, in the layout "15(I3,I8,i1,i4,12I5)".
std::string data_record(std::int32_t station) {
    char line[96];
    std::snprintf(line, sizeof line, "101%08d01961%s\n", station, "   10   20   30   40   50   60   70   80   90  100  110  120");
    return line;
}

TEST(Getit, TheLongitudeTransformMovesOnlyWesternLongitudes) {
    const struct {
        float lon;
        const char* header_lon;  // columns 1-6 of the series header
        float in_table;
    } rows[] = {
        {0.0f, "  0.00", 0.0f},      // on the meridian: not west of it
        {-0.0f, "  0.00", -0.0f},
        {0.01f, "  0.01", 0.01f},
        {-0.01f, "359.99", 359.99f},
        {-75.5f, "284.50", 284.5f},
        {-180.0f, "180.00", 180.0f},
    };
    testing::ScratchDirectory dir;
    auto run = std::make_unique<RunData>();
    run->variable_choice = 2;  // no failed values
    run->data_file_name = "v2.mean_adj";
    run->variable_label = "MEAN.ADJ.TEMP";
    run->criteria.transform_longitude = true;
    std::string data;
    for (const auto& r : rows) {
        const std::int32_t i = run->stations.selected_count++;
        run->stations.station_id[i] = 1000 + i;
        run->stations.station_lon[i] = r.lon;
        run->stations.station_name[i] = "STATION";
        data += data_record(1000 + i);
    }
    testing::write_file("v2.mean_adj", data);
    testing::ScriptedConsole console;
    ASSERT_EQ(units::open_unit({.unit = log_unit, .file = "GHCNv2_Log_File", .status = "REPLACE"}), units::outcome_ok);
    getit(*run);
    units::close_unit(log_unit);

    const std::string series = testing::read_file("GHCNv2_tsf");
    std::size_t at = series.find("\r\n") + 2;  // after the title
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].lon);
        EXPECT_EQ(series.substr(at, 6), rows[i].header_lon);
        EXPECT_FLOAT_EQ(run->stations.station_lon[i], rows[i].in_table);
        at = series.find("\r\n", series.find("\r\n", at) + 2) + 2;  // past the header and the data line
    }
    EXPECT_EQ(run->found_count, static_cast<std::int32_t>(std::size(rows)));
}

}  // namespace
}  // namespace corvane::app
