// What the station map shows: inventory positions, the stations a time-series file holds,
// and the projection, centred on 180° for a selection across it.
#include <gtest/gtest.h>

#include "app/station_map_data.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

TEST(StationMapData, InventoryPositionsAndFoundStations) {
    ScratchDirectory dir;
    write_file("inv",
               "14168906000 GOUGH ISLAND                   -40.35   -9.88   54    0R\n"
               "22225399000 MYS UELEN                       66.17 -169.83    3    0R\n"
               "short line\n"
               "50793844000 INVERCARGILL                  -46.42  168.32    0   RR\n");
    const std::vector<app::MapPoint> points = app::read_inventory_positions("inv");
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[1].lat, 66.17);
    EXPECT_DOUBLE_EQ(points[1].lon, -169.83);
    EXPECT_DOUBLE_EQ(points[2].lon, 168.32);

    write_file("tsf",
               " GHCNv2 Mean Temperature: Units=tenths of degrees celsius\r\n"
               "168.32 -46.42    0 (i4,12f5.1) 50793844000   INVERCARGILL\r\n"
               "1950   10   20   30   40   50   60   70   80   90  100  110  120\r\n"
               "****** -14.00    2 (i4,12f5.1) 54191762000  APIA              *DUPLICATE RECORD*\r\n");
    EXPECT_EQ(app::read_found_stations("tsf"), (std::set<int>{93844000, 91762000}));
    EXPECT_TRUE(app::read_found_stations("missing").empty());
}

TEST(StationMapData, ProjectionAndTheDateline) {
    const app::PlateCarree world{0, 0, 360, 180, 0};
    EXPECT_DOUBLE_EQ(world.x(0), 180);
    EXPECT_DOUBLE_EQ(world.x(-180), 0);
    EXPECT_DOUBLE_EQ(world.x(179.5), 359.5);
    EXPECT_DOUBLE_EQ(world.y(90), 0);
    EXPECT_DOUBLE_EQ(world.y(-45), 135);
    // Centred on 180°: stations either side of it are neighbours, a 0 to 360 longitude too.
    const app::PlateCarree pacific{0, 0, 360, 180, 180};
    EXPECT_DOUBLE_EQ(pacific.x(179), 179);
    EXPECT_DOUBLE_EQ(pacific.x(-179), 181);
    EXPECT_DOUBLE_EQ(pacific.x(186.77), pacific.x(-173.23));
    EXPECT_DOUBLE_EQ(app::normalised_longitude(190), -170);

    app::RunData run;
    run.criteria.use_area = 1;
    run.criteria.crosses_dateline = 1;
    run.criteria.max_lon = -165;
    run.criteria.min_lon = 165;
    run.stations.selected_count = 2;
    run.stations.station_lat[0] = 10;
    run.stations.station_lon[0] = 170;
    EXPECT_EQ(app::station_map_data(run).centre_lon, 180);
    EXPECT_EQ(app::station_map_data(run).stations.size(), 2u);
    EXPECT_EQ(app::station_map_data(run).stations[0].state, app::StationState::selected);
    run.criteria.crosses_dateline = 0;
    EXPECT_EQ(app::station_map_data(run).centre_lon, 0);
}

}  // namespace
}  // namespace corvane::testing
