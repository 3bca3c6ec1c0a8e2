// The program at and past its sizes: more stations than the table holds, a precipitation
// inventory of 20,000 stations, a 1 MB inventory line, data records longer than their 76
// columns, and a 300 MB data file without line ends. Everything is generated here.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/getit.hpp"
#include "app/search_report.hpp"
#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::app {
namespace {

using testing::ScriptedConsole;

// One inventory line in the layout "20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)".
std::string inventory_line(int country, int id, float lat, float lon, int elevation) {
    char line[96];
    std::snprintf(line, sizeof line, "%03d%08d%-32s%6.2f %7.2f %4d\n", country, id, (" STATION " + std::to_string(id)).c_str(),
                  lat, lon, elevation);
    return line;
}

// One data record in the layout "15(I3,I8,i1,i4,12I5)", with `extra` after column 76.
std::string data_line(int country, int id, int year, const std::string& extra = {}) {
    char line[96];
    std::snprintf(line, sizeof line, "%03d%08d0%4d", country, id, year);
    std::string text = line;
    for (int month = 1; month <= 12; ++month) {
        std::snprintf(line, sizeof line, "%5d", 10 * month + id % 7);
        text += line;
    }
    return text + extra + "\n";
}

std::size_t count_of(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// The search over an inventory, with the log open as search_report leaves it.
std::unique_ptr<RunData> search(int variable_choice, const SelectionCriteria& criteria) {
    auto run = std::make_unique<RunData>();
    run->variable_choice = variable_choice;
    run->criteria = criteria;
    EXPECT_EQ(units::open_unit({.unit = log_unit, .file = "GHCNv2_Log_File", .status = "REPLACE"}), units::outcome_ok);
    search_inventory(*run);
    units::close_unit(log_unit);
    return run;
}

SelectionCriteria country(int code) {
    SelectionCriteria c;
    c.use_country = 1;
    c.country_code = code;
    c.selection_score = 1;
    return c;
}

TEST(Capacity, APrecipitationInventoryOf20000StationsFillsTheTableAndCountsTheRest) {
    testing::ScratchDirectory dir;
    std::string inventory;
    for (int i = 0; i < 20000; ++i) inventory += inventory_line(i % 2 == 0 ? 101 : 102, i, 10.0f, 20.0f, 100);
    testing::write_file("v2.prcp.inv", inventory);
    ScriptedConsole console;
    const auto run = search(7, country(101));
    EXPECT_EQ(run->stations.selected_count, 8000);
    EXPECT_EQ(run->stations.left_out_count, 2000);
    EXPECT_EQ(run->stations.station_id[7999], 15998);
    // 20,000 does not fit the count's four columns: the overflow mark, never an error.
    EXPECT_NE(console.output().find(" Number or stations searched: ****"), std::string::npos);
    EXPECT_NE(console.output().find("  2000 more stations met the criteria but were left out"), std::string::npos);
}

TEST(Capacity, AOneMegabyteInventoryLineIsReadUpToItsColumns) {
    testing::ScratchDirectory dir;
    std::string long_line = inventory_line(101, 1, 10.0f, 20.0f, 100);
    long_line.insert(long_line.size() - 1, std::string(1024 * 1024, 'x'));  // after column 62
    testing::write_file("v2.temperature.inv", long_line + inventory_line(101, 2, 11.0f, 21.0f, 200));
    ScriptedConsole console;
    const auto run = search(1, country(101));
    ASSERT_EQ(run->stations.selected_count, 2);
    EXPECT_EQ(run->stations.station_id[0], 1);
    EXPECT_EQ(run->stations.station_elevation[0], 100);
    EXPECT_EQ(run->stations.station_id[1], 2);  // the line after it is a line of its own
}

TEST(Capacity, DataRecordsLongerThan76ColumnsCopyLikeShortOnes) {
    const std::string extras[] = {"", std::string(4, ' '), std::string(200, '9'), std::string(100000, 'x')};
    std::string expected;
    for (const std::string& extra : extras) {
        SCOPED_TRACE(extra.size());
        testing::ScratchDirectory dir;
        testing::write_file("v2.mean_adj", data_line(101, 5, 1990, extra) + data_line(101, 5, 1991, extra));
        auto run = std::make_unique<RunData>();
        run->variable_choice = 2;
        run->data_file_name = "v2.mean_adj";
        run->stations.selected_count = 1;
        run->stations.station_id[0] = 5;
        ScriptedConsole console;
        ASSERT_EQ(units::open_unit({.unit = log_unit, .file = "GHCNv2_Log_File", .status = "REPLACE"}), units::outcome_ok);
        getit(*run);
        units::close_unit(log_unit);
        const std::string series = testing::read_file("GHCNv2_tsf");
        EXPECT_EQ(count_of(series, "\r\n199"), 2u);
        if (expected.empty()) expected = series;
        EXPECT_EQ(series, expected);
    }
}

// ---- whole runs ----

namespace fs = std::filesystem;

// The answers of a run by country 507 that goes on to the extraction.
const std::string country_507_answers = "1\nT\n1\n507\nF\nT\nT\n\n";

TEST(Capacity, MoreStationsThanTheTableHoldsRunToTheEnd) {
    testing::ScratchDirectory dir;
    ASSERT_NO_FATAL_FAILURE(testing::copy_data_files(testing::base_data_dir(), dir.path()));
    std::string inventory, data;
    for (int i = 0; i < 8100; ++i) {
        inventory += inventory_line(507, 90000000 + i, -41.0f, 174.0f, 10);
        data += data_line(507, 90000000 + i, 2000);
    }
    testing::write_file("v2.temperature.inv", inventory);
    testing::write_file("v2.mean", data);
    testing::write_file("v2.mean.failed.qc", "");
    const testing::RunResult run = testing::run_console_program({.input = country_507_answers});
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find(" 8000 Stations listed in inventory file:"), std::string::npos);
    EXPECT_NE(run.out.find("   100 more stations met the criteria but were left out"), std::string::npos);
    EXPECT_NE(run.out.find("\r\n 8000 STATIONS RECORDS FOUND \r\n"), std::string::npos);
    EXPECT_EQ(count_of(testing::read_file("GHCNv2_tsf"), "(i4,12f5.1)"), 8000u);
}

TEST(Capacity, A300MegabyteDataFileWithoutLineEndsStopsTheRunInBoundedMemory) {
    testing::ScratchDirectory dir;
    ASSERT_NO_FATAL_FAILURE(testing::copy_data_files(testing::base_data_dir(), dir.path()));
    constexpr std::size_t file_size = 300u * 1024 * 1024;
    {
        std::ofstream out("v2.mean", std::ios::binary | std::ios::trunc);
        const std::string block(1024 * 1024, '7');
        for (std::size_t written = 0; written < file_size; written += block.size()) out.write(block.data(), block.size());
    }
    const testing::RunResult run = testing::run_console_program({.input = country_507_answers});
    fs::remove("v2.mean");
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    // The data READ takes its error branch: the extraction's own stop.
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("From getit error on first read datafile"), std::string::npos);
    // Memory stays far below the file's size: the record stops at its bound.
    EXPECT_LT(static_cast<std::size_t>(run.max_rss_kib) * 1024, file_size / 2) << run.max_rss_kib << " KiB";
}

}  // namespace
}  // namespace corvane::app
