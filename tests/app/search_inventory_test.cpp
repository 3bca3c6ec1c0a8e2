#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/search_report.hpp"
#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::app {
namespace {

using testing::ScriptedConsole;

SelectionCriteria area(float max_lat, float min_lat, float max_lon, float min_lon) {
    SelectionCriteria c;
    c.use_area = 1;
    c.selection_score = 1;
    c.max_lat = max_lat;
    c.min_lat = min_lat;
    c.max_lon = max_lon;
    c.min_lon = min_lon;
    c.crosses_dateline = max_lon < min_lon ? 1 : 0;
    return c;
}

bool selected(const SelectionCriteria& c, std::int32_t country, float lat, float lon, std::int32_t elevation) {
    return station_selected(c, country, lat, lon, elevation, StationName("TEST STATION"));
}

TEST(StationScoring, AreaBoundsAreInclusiveAndTheDatelineWraps) {
    const SelectionCriteria usa = area(49.00f, 24.50f, -66.00f, -125.00f);
    EXPECT_TRUE(selected(usa, 425, 49.00f, -100.0f, 10));
    EXPECT_TRUE(selected(usa, 425, 30.0f, -66.00f, 10));
    EXPECT_FALSE(selected(usa, 425, 49.01f, -100.0f, 10));
    EXPECT_FALSE(selected(usa, 425, 30.0f, -65.99f, 10));

    const SelectionCriteria pacific = area(10.0f, -10.0f, -135.00f, 135.00f);
    for (float lon : {179.99f, -179.99f, 135.00f, -135.00f, 180.0f, -180.0f})
        EXPECT_TRUE(selected(pacific, 0, 0.0f, lon, 0)) << lon;
    for (float lon : {0.0f, 134.99f, -134.99f}) EXPECT_FALSE(selected(pacific, 0, 0.0f, lon, 0)) << lon;
}

TEST(StationScoring, CriteriaAddUpToTheScore) {
    SelectionCriteria c = area(60.0f, 40.0f, 20.0f, 0.0f);
    c.use_country = 1;
    c.country_code = 617;
    c.selection_score = 2;
    EXPECT_TRUE(selected(c, 617, 47.8f, 11.02f, 986));
    EXPECT_FALSE(selected(c, 617, 30.0f, 11.02f, 986));  // right country, outside the band: 0
    EXPECT_FALSE(selected(c, 618, 47.8f, 11.02f, 986));

    // The country step run twice counts twice, but one criterion gives only one hit.
    SelectionCriteria twice;
    twice.use_country = 1;
    twice.country_code = 617;
    twice.selection_score = 2;
    EXPECT_FALSE(selected(twice, 617, 0, 0, 0));
}

TEST(StationScoring, MissingElevations) {
    SelectionCriteria c;
    c.use_elevation = 1;
    c.selection_score = 1;
    c.min_elevation = 0;
    c.max_elevation = 500;
    c.reject_missing_elevation = true;
    {
        ScriptedConsole console;  // no question may be asked
        EXPECT_FALSE(selected(c, 0, 0, 0, -999));   // -999 neither adds nor subtracts
        EXPECT_FALSE(selected(c, 0, 0, 0, -950));   // only -999 is left out of the range test
        EXPECT_TRUE(selected(c, 0, 0, 0, 500));
        EXPECT_EQ(console.output(), "");
    }
    c.reject_missing_elevation = false;
    {
        ScriptedConsole console("T\nF\n");
        EXPECT_TRUE(selected(c, 0, 0, 0, -999));
        EXPECT_FALSE(selected(c, 0, 0, 0, -950));
        EXPECT_NE(console.output().find("is missing its actual elevational information."), std::string::npos);
    }
    for (std::int32_t missing : {-998, -950, -901}) {
        // Every elevation below -900 is missing: the question decides, not the range.
        ScriptedConsole console("T\n");
        EXPECT_TRUE(selected(c, 0, 0, 0, missing)) << missing;
        EXPECT_NE(console.output().find("is missing its actual elevational information."), std::string::npos);
    }
    {
        ScriptedConsole console;  // -900 is an elevation like any other
        EXPECT_FALSE(selected(c, 0, 0, 0, -900));
        EXPECT_EQ(console.output(), "");
    }
    {
        // The question only comes when every other criterion has passed.
        c.use_country = 1;
        c.country_code = 1;
        c.selection_score = 2;
        ScriptedConsole console;
        EXPECT_FALSE(selected(c, 2, 0, 0, -999));
        EXPECT_EQ(console.output(), "");
    }
}

TEST(InventorySearch, TheTableNeverGrowsPastItsCapacity) {
    testing::ScratchDirectory dir;
    std::string inventory;
    char line[128];
    const int stations = max_stations + 5;
    for (int i = 0; i < stations; ++i) {
        std::snprintf(line, sizeof line, "101%08d STATION %-24d %6.2f %7.2f %4d\n", i, i, 10.0, 20.0, 100);
        inventory += line;
    }
    testing::write_file("v2.temperature.inv", inventory);
    auto run = std::make_unique<RunData>();
    run->variable_choice = 1;
    run->criteria.use_country = 1;
    run->criteria.country_code = 101;
    run->criteria.selection_score = 1;
    ScriptedConsole console;
    ASSERT_EQ(units::open_unit({.unit = log_unit, .file = "GHCNv2_Log_File", .status = "REPLACE"}), units::outcome_ok);
    search_inventory(*run);
    units::close_unit(log_unit);

    EXPECT_EQ(run->stations.selected_count, max_stations);
    EXPECT_EQ(run->stations.left_out_count, 5);
    EXPECT_EQ(run->stations.station_id[max_stations - 1], max_stations - 1);
    const std::string note = "     5 more stations met the criteria but were left out: the list holds 8000 stations";
    EXPECT_NE(console.output().find(note), std::string::npos);
    EXPECT_NE(testing::read_file("GHCNv2_Log_File").find(note), std::string::npos);
    EXPECT_NE(console.output().find(" Number or stations searched: 8005"), std::string::npos);
    EXPECT_NE(console.output().find("\r\n 8000 Stations listed in inventory file:"), std::string::npos);
}

TEST(InventorySearch, ACarriageReturnInANameKeepsTheFieldsAfterItInTheirColumns) {
    testing::ScratchDirectory dir;
    // Columns: country 1-3, number 4-11, name 12-43, latitude 44-49, longitude 51-57,
    // elevation 59-62; a CR dropped from the name would pull the latitude's sign into it.
    const std::string name = "PORT\rCR STATION";
    char line[128];
    std::snprintf(line, sizeof line, "101%08d %-31s%6.2f %7.2f %4d\r\n", 42, name.c_str(), -40.70, 175.25, 31);
    testing::write_file("v2.temperature.inv", line);
    auto run = std::make_unique<RunData>();
    run->variable_choice = 1;
    run->criteria.use_country = 1;
    run->criteria.country_code = 101;
    run->criteria.selection_score = 1;
    ScriptedConsole console;
    ASSERT_EQ(units::open_unit({.unit = log_unit, .file = "GHCNv2_Log_File", .status = "REPLACE"}), units::outcome_ok);
    search_inventory(*run);
    units::close_unit(log_unit);

    ASSERT_EQ(run->stations.selected_count, 1);
    EXPECT_FLOAT_EQ(run->stations.station_lat[0], -40.70f);
    EXPECT_FLOAT_EQ(run->stations.station_lon[0], 175.25f);
    EXPECT_EQ(run->stations.station_elevation[0], 31);
    EXPECT_EQ(std::string(run->stations.station_name[0].trimmed()).substr(0, name.size() + 1), " " + name);
}

}  // namespace
}  // namespace corvane::app
