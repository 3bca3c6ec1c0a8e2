// The output options: their values, and every refusal before anything is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "extract/extract_options.hpp"
#include "extract/output_options.hpp"
#include "fixture_data.hpp"
#include "program_run.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;

TEST(OutputOptions, BasePeriodsAndCounts) {
    const Parsed<BasePeriod> good = parse_base_period("1961:1990");
    ASSERT_TRUE(parsed_ok(good));
    EXPECT_EQ(std::get<BasePeriod>(good).first, 1961);
    EXPECT_EQ(std::get<BasePeriod>(good).last, 1990);
    EXPECT_TRUE(parsed_ok(parse_base_period("1990:1990")));
    for (const char* bad : {"1990:1961", "1961-1990", "1961:", ":1990", "61:90", "1961:1990:2000", "abcd:efgh", ""}) {
        EXPECT_FALSE(parsed_ok(parse_base_period(bad))) << bad;
    }
    for (const char* bad : {"0", "13", "-1", "x", "1.5", ""}) EXPECT_FALSE(parsed_ok(parse_min_months(bad))) << bad;
    EXPECT_EQ(std::get<int>(parse_min_months("1")), 1);
    EXPECT_EQ(std::get<int>(parse_min_months("12")), 12);
    EXPECT_FALSE(parsed_ok(parse_base_min_years("0")));
    EXPECT_EQ(std::get<int>(parse_base_min_years("30")), 30);
}

TEST(OutputOptions, TheBasePeriodMustLieWithinTheYearsWritten) {
    const BasePeriod base{.first = 1961, .last = 1990};
    EXPECT_EQ(base_period_outside_years(base, std::nullopt), "");
    EXPECT_EQ(base_period_outside_years(base, std::pair{1900, 2000}), "");
    EXPECT_EQ(base_period_outside_years(base, std::pair{1961, 1990}), "");
    EXPECT_EQ(base_period_outside_years(base, std::pair{1970, 2000}),
              "--anomalies 1961:1990: outside --years 1970:2000; the base period must lie within the years written");
}

TEST(OutputOptions, ParsedIntoTheOptionsWithPathsFromWhereTheCommandRuns) {
    const char* argv[] = {"corvane-extract", "--variable", "mean", "--country", "507", "--netcdf", "x.nc",
                          "--geojson", "/tmp/s.geojson", "--annual", "--min-months", "10", "--anomalies",
                          "1951:1980", "--base-min-years", "25"};
    std::ostringstream out, err;
    const auto parsed = parse_command_line(16, argv, out, err);
    ASSERT_TRUE(std::holds_alternative<ExtractOptions>(parsed)) << err.str();
    const ExtractOptions& o = std::get<ExtractOptions>(parsed);
    EXPECT_EQ(o.outputs.netcdf, fs::current_path() / "x.nc");
    EXPECT_EQ(o.outputs.geojson, fs::path("/tmp/s.geojson"));
    EXPECT_TRUE(o.outputs.annual);
    EXPECT_EQ(o.outputs.min_months, 10);
    ASSERT_TRUE(o.outputs.anomalies);
    EXPECT_EQ(o.outputs.anomalies->first, 1951);
    EXPECT_EQ(o.outputs.anomalies->min_years, 25);
    EXPECT_EQ(o.command.size(), 16u);
    EXPECT_EQ(o.command[6], "x.nc");
}

TEST(OutputOptions, BadValuesEndTheRunWithStatus2BeforeAnythingIsRead) {
    struct Case { std::vector<std::string> args; const char* message; };
    const Case cases[] = {
        {{"--min-months", "0"}, "--min-months: 0: expected a number of months from 1 to 12"},
        {{"--min-months", "13"}, "--min-months: 13: expected a number of months from 1 to 12"},
        {{"--anomalies", "1990:1961"}, "--anomalies: 1990:1961: the first year is after the last"},
        {{"--anomalies", "1961-1990"}, "--anomalies: 1961-1990: expected FIRST:LAST"},
        {{"--base-min-years", "0"}, "--base-min-years: 0: expected a number of years, 1 or more"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--variable", "mean", "--country", "507", "--data-dir", "no-such-dir",
                                         "--out-dir", "no-such-out"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const corvane::testing::RunResult run = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, args);
        EXPECT_EQ(run.status, 2) << c.args[0];
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(fs::exists("no-such-out"));
    }
}

TEST(OutputOptions, AnOutputFileThatCannotBeWrittenEndsTheRunWithStatus1BeforeAnythingIsRead) {
    corvane::testing::ScratchDirectory scratch;
    fs::create_directory("data");
    corvane::testing::copy_data_files(corvane::testing::base_data_dir(), "data");
    corvane::testing::write_file("taken.geojson", "mine");
    struct Case { std::vector<std::string> args; std::string message; };
    const Case cases[] = {
        {{"--netcdf", "no/such/dir/x.nc"}, (fs::current_path() / "no/such/dir/x.nc").string() +
                                               ": cannot be written: No such file or directory"},
        {{"--geojson", "taken.geojson"}, (fs::current_path() / "taken.geojson").string() +
                                             ": the file exists; give --force to replace it"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--variable", "mean", "--country", "507", "--data-dir", "data", "--out-dir", "out"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const corvane::testing::RunResult run = corvane::testing::run_program(CORVANE_EXTRACT_PROGRAM, args);
        EXPECT_EQ(run.status, 1) << c.args[0];
        EXPECT_EQ(run.err, "corvane-extract: " + c.message + "\n");
        EXPECT_FALSE(fs::exists("out")) << "nothing written";
    }
    EXPECT_EQ(corvane::testing::read_file("taken.geojson"), "mine");
}

}  // namespace
}  // namespace corvane::extract
