// The series of a station read back from the extraction's two files, written here in the
// extraction's layouts (CR LF, a longitude of asterisks, a duplicate record), and what a plot
// makes of the values: units, gaps, annual means and the CSV.
#include "app/station_series.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace corvane::app {
namespace {

namespace fs = std::filesystem;

const char* const series_file =
    " GHCNv2 Mean Temperature: Units=tenths of degrees celsius\r\n"
    "******  70.98    5 (i4,12f5.1) 22221982000    OSTROV VRANGE                   \r\n"
    "1881 -254 -332 -158 -128  -72   32   79  104    6  -46 -158 -198\r\n"
    "1882 -274-9999 -248 -171  -37   35   62  104   55  -15 -100 -254\r\n"
    "-168.35 63.90    8 (i4,12f5.1) 42570116000    GAMBELL                         \r\n"
    "1950   10   20   30   40   50   60   70   80   90  100  110  120\r\n"
    "-168.35 63.90    8 (i4,12f5.1) 42570116000   GAMBELL                          *DUPLICATE RECORD*\r\n"
    "1950   11   21   31   41   51   61   71   81   91  101  111  121\r\n"
    "1951   11   21   31   41   51   61   71   81   91  101  111  121\r\n";

const char* const failed_file =
    " GHCNv2 Mean Temperature: Failed Values\r\n"
    " 22221982000   OSTROV VRANGE                   \r\n"
    " 1882   2  -293\r\n"
    " 42570116000   GAMBELL                         \r\n"
    " 1950   7   220\r\n";

class StationSeriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("series-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        std::ofstream(dir_ / "tsf", std::ios::binary) << series_file;
        std::ofstream(dir_ / "failed", std::ios::binary) << failed_file;
    }
    void TearDown() override { fs::remove_all(dir_); }
    SeriesReading read(int id) { return read_station_series((dir_ / "tsf").string(), (dir_ / "failed").string(), id); }
    fs::path dir_;
};

TEST_F(StationSeriesTest, AStationsYearsAndFailedValuesComeBack) {
    const SeriesReading r = read(21982000);
    ASSERT_EQ(r.fault, SeriesFault::none);
    const StationSeries& s = r.station;
    EXPECT_EQ(s.country, 222);
    EXPECT_EQ(s.name, "OSTROV VRANGE");
    EXPECT_EQ(s.elevation, 5);
    EXPECT_NEAR(s.lat, 70.98, 1e-4);
    ASSERT_EQ(s.parts.size(), 1u);
    ASSERT_EQ(s.parts[0].years.size(), 2u);
    EXPECT_EQ(s.parts[0].years[1].year, 1882);
    EXPECT_EQ(s.parts[0].years[1].values[1], -9999);
    EXPECT_EQ(s.parts[0].years[1].values[11], -254);
    ASSERT_EQ(s.failed.size(), 1u);
    EXPECT_EQ(s.failed[0].month, 2);
    EXPECT_EQ(s.failed[0].value, -293);
}

TEST_F(StationSeriesTest, ADuplicateRecordIsASecondPartOfTheSameStation) {
    const SeriesReading r = read(70116000);
    ASSERT_EQ(r.fault, SeriesFault::none);
    ASSERT_EQ(r.station.parts.size(), 2u);
    EXPECT_FALSE(r.station.parts[0].duplicate);
    EXPECT_TRUE(r.station.parts[1].duplicate);
    EXPECT_EQ(r.station.parts[1].years.size(), 2u);
    EXPECT_EQ(r.station.failed.size(), 1u);
    EXPECT_EQ(years_of_data((dir_ / "tsf").string()), (std::map<int, int>{{21982000, 2}, {70116000, 2}}));
}

TEST_F(StationSeriesTest, MissingFilesStationsAndDamagedLinesAreSaid) {
    EXPECT_EQ(read(12345678).fault, SeriesFault::station_not_in_file);
    EXPECT_EQ(read_station_series((dir_ / "none").string(), "", 1).fault, SeriesFault::no_series_file);
    EXPECT_EQ(read_station_series((dir_ / "tsf").string(), (dir_ / "none").string(), 21982000).fault, SeriesFault::none);
    std::ofstream(dir_ / "tsf", std::ios::binary | std::ios::app)
        << "-168.35 63.90    8 (i4,12f5.1) 42599999000    CUT                             \r\n1950   1x\r\n";
    EXPECT_EQ(read(99999000).fault, SeriesFault::unreadable_line);
}

TEST(SeriesValues, TenthsBecomeUnitsMissingMonthsGapsAndIncompleteYearsNoMean) {
    EXPECT_EQ(physical_value(-9999), std::nullopt);
    EXPECT_DOUBLE_EQ(*physical_value(-8888), 0.0);  // a trace of precipitation
    EXPECT_DOUBLE_EQ(*physical_value(-254), -25.4);
    SeriesYear full{1950, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}};
    EXPECT_DOUBLE_EQ(*annual_mean(full), 6.5);
    full.values[3] = -9999;
    EXPECT_EQ(annual_mean(full), std::nullopt);
    EXPECT_EQ(variable_unit(1).unit, "degC");
    EXPECT_EQ(variable_unit(8).unit, "mm");
    EXPECT_EQ(variable_unit(9).unit, "hPa");
}

TEST_F(StationSeriesTest, TheCsvHasAMonthALineWithMeansAndFailedValues) {
    const std::string csv = series_csv(read(21982000).station);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "series,year,month,value,annual_mean,failed_qc_value");
    EXPECT_NE(csv.find("\r\n1,1881,1,-25.4,-9.375,\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n1,1882,2,,,-29.3\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\r\n1,1882,1,-27.4,,\r\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 24);
}

TEST(StationSummary, SaysWhatTheStationIsAndWhatTheExtractionFound) {
    MapStation s{{-46.42, 168.32}, StationState::found, 507, 93844000, "INVERCARGILL", 0};
    EXPECT_EQ(station_summary(s, 63),
              "50793844000  INVERCARGILL\nElevation 0 m\n63 years of data\n"
              "Found by the extraction: click for its series plot");
    s.state = StationState::no_data;
    s.elevation = -999;
    EXPECT_EQ(station_summary(s, 0), "50793844000  INVERCARGILL\nElevation unknown\nNo data: the extraction found no series");
    s.state = StationState::selected;
    s.country = 42;
    EXPECT_EQ(station_summary(s, 0).substr(0, 11), "04293844000");
    EXPECT_NE(station_summary(s, 0).find("has not run yet"), std::string::npos);
}

}  // namespace
}  // namespace corvane::app
