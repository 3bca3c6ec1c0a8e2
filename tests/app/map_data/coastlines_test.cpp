// The coastline reader on a binned file written here with the netCDF library, two bins of
// 180 degrees, and on the low-resolution file of the system when it is installed.
#include "app/coastlines.hpp"

#include <gtest/gtest.h>
#include <netcdf.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace corvane::app {
namespace {

namespace fs = std::filesystem;

struct TinyFile {
    int bin_minutes = 180 * 60, bins_across = 2;
    std::vector<int> first_segment{0, 2}, words, first_point{0, 3, 5};
    std::vector<short> segments_in_bin{2, 1};
    std::vector<std::uint16_t> dlon{0, 13107, 65535, 0, 0, 0, 65535}, dlat{0, 32768, 65535, 0, 13107, 65535, 0};
};

std::int32_t word(int points, int level) { return points << 9 | level << 6 | 5; }

void put(int file, const char* name, nc_type type, const void* data, std::size_t length) {
    int dim = 0, var = 0;
    ASSERT_EQ(nc_def_dim(file, (std::string("n_") + name).c_str(), length, &dim), NC_NOERR);
    ASSERT_EQ(nc_def_var(file, name, type, 1, &dim, &var), NC_NOERR);
    ASSERT_EQ(nc_enddef(file), NC_NOERR);
    ASSERT_EQ(nc_put_var(file, var, data), NC_NOERR);
    ASSERT_EQ(nc_redef(file), NC_NOERR);
}

fs::path write_tiny(const TinyFile& t, const std::string& name) {
    const fs::path path = fs::temp_directory_path() / (name + std::to_string(::getpid()) + ".nc");
    int file = 0;
    EXPECT_EQ(nc_create(path.c_str(), NC_CLOBBER, &file), NC_NOERR);
    put(file, "Bin_size_in_minutes", NC_INT, &t.bin_minutes, 1);
    put(file, "N_bins_in_360_longitude_range", NC_INT, &t.bins_across, 1);
    put(file, "Id_of_first_segment_in_a_bin", NC_INT, t.first_segment.data(), t.first_segment.size());
    put(file, "N_segments_in_a_bin", NC_SHORT, t.segments_in_bin.data(), t.segments_in_bin.size());
    put(file, "Embedded_npts_levels_exit_entry_for_a_segment", NC_INT, t.words.data(), t.words.size());
    put(file, "Id_of_first_point_in_a_segment", NC_INT, t.first_point.data(), t.first_point.size());
    put(file, "Relative_longitude_from_SW_corner_of_bin", NC_SHORT, t.dlon.data(), t.dlon.size());
    put(file, "Relative_latitude_from_SW_corner_of_bin", NC_SHORT, t.dlat.data(), t.dlat.size());
    EXPECT_EQ(nc_close(file), NC_NOERR);
    return path;
}

TEST(Coastlines, SegmentWordsGiveTheirPointCountAndLevel) {
    const struct { std::int32_t word; int points, level; } cases[] = {
        {5704, 11, 1}, {10304, 20, 1}, {2148, 4, 1}, {word(3, 2), 3, 2}, {word(65000, 6), 65000, 6}, {0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(decode_segment_word(c.word).points, c.points) << c.word;
        EXPECT_EQ(decode_segment_word(c.word).level, c.level) << c.word;
    }
}

TEST(Coastlines, PointsAreOffsetsFromTheSouthWestCornerOfTheirBin) {
    TinyFile t;
    t.words = {word(3, 1), word(2, 2), word(2, 1)};
    const fs::path path = write_tiny(t, "tiny-coast");
    const CoastlineFile land = read_binned_coastlines(path.string());
    ASSERT_EQ(land.fault, CoastlineFault::none);
    ASSERT_EQ(land.lines.size(), 2u);  // the lake of the first bin left out
    const std::vector<MapPoint>& first = land.lines[0].points;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_DOUBLE_EQ(first[0].lat, -90);
    EXPECT_DOUBLE_EQ(first[0].lon, 0);
    EXPECT_NEAR(first[1].lat, 0, 0.01);
    EXPECT_NEAR(first[1].lon, 36, 1e-9);
    EXPECT_DOUBLE_EQ(first[2].lat, 90);
    EXPECT_DOUBLE_EQ(first[2].lon, 180);
    const std::vector<MapPoint>& east = land.lines[1].points;  // the second bin starts at 180
    EXPECT_DOUBLE_EQ(east[0].lon, 180);
    EXPECT_DOUBLE_EQ(east[0].lat, 90);
    EXPECT_DOUBLE_EQ(east[1].lon, 360);
    EXPECT_DOUBLE_EQ(east[1].lat, -90);
    EXPECT_EQ(read_binned_coastlines(path.string(), 2).lines.size(), 3u);
    fs::remove(path);
}

TEST(Coastlines, AFileThatDisagreesWithItselfOrIsMissingGivesNoLines) {
    TinyFile t;
    t.words = {word(3, 1), word(2, 2), word(9, 1)};  // runs past the points
    const fs::path bad = write_tiny(t, "bad-coast");
    EXPECT_EQ(read_binned_coastlines(bad.string()).fault, CoastlineFault::inconsistent);
    EXPECT_TRUE(read_binned_coastlines(bad.string()).lines.empty());
    fs::remove(bad);
    t.bins_across = 3;
    t.words = {word(3, 1), word(2, 2), word(2, 1)};
    const fs::path wrong_bins = write_tiny(t, "bins-coast");
    EXPECT_EQ(read_binned_coastlines(wrong_bins.string()).fault, CoastlineFault::inconsistent);
    fs::remove(wrong_bins);
    EXPECT_EQ(read_binned_coastlines("no-such-coastline.nc").fault, CoastlineFault::cannot_open);
}

TEST(Coastlines, TheInstalledLowResolutionFileHoldsThePlausibleWorld) {
    const std::string path = "/usr/share/gmt-gshhg/binned_GSHHS_l.nc";
    if (!fs::exists(path)) GTEST_SKIP() << "the low-resolution coastlines are not installed";
    const CoastlineFile world = read_binned_coastlines(path);
    ASSERT_EQ(world.fault, CoastlineFault::none);
    EXPECT_GT(world.lines.size(), 1000u);
    double south = 90, north = -90;
    bool near_wellington = false, near_reykjavik = false;
    for (const Coastline& line : world.lines) {
        for (const MapPoint& p : line.points) {
            south = std::min(south, p.lat);
            north = std::max(north, p.lat);
            near_wellington |= std::abs(p.lat + 41.3) < 0.5 && std::abs(p.lon - 174.8) < 0.5;
            near_reykjavik |= std::abs(p.lat - 64.1) < 0.5 && std::abs(p.lon - 338.1) < 0.5;
        }
    }
    EXPECT_LT(south, -77);  // the Ross Ice Shelf's edge
    EXPECT_GT(north, 83);   // northern Greenland
    EXPECT_TRUE(near_wellington);
    EXPECT_TRUE(near_reykjavik);
}

}  // namespace
}  // namespace corvane::app
