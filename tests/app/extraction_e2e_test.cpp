// End-to-end runs of corvane-console: each scenario copies a data set into a scratch
// directory, feeds the scenario's answers on standard input, and compares everything the
// program writes (standard output, error output, exit status and the three output files)
// byte for byte with the checked files in tests/fixtures/<scenario>/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"
#include "text_difference.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

enum class DataSet { fixtures, sample };

// What the program must leave behind; `absent` is an expected state too.
enum class Output { absent, present };
constexpr Output no = Output::absent;
constexpr Output yes = Output::present;

struct Scenario {
    std::string_view name;            // also the fixture directory holding input and expected files
    DataSet data = DataSet::fixtures;
    std::string_view overlay;         // a directory under fixtures/data whose files replace the base files
    std::string_view omitted_file;    // an input file removed before the run
    int exit_status = 0;
    Output log = yes;
    Output series = yes;
    Output failed_values = yes;
};

constexpr std::string_view log_file = "GHCNv2_Log_File";
constexpr std::string_view series_file = "GHCNv2_tsf";
constexpr std::string_view failed_values_file = "GHCNv2_Failed_Values_File";

// A fatal run-time report ends the program with status -1; a stopped extraction with 1.
constexpr int fatal_status = 255;
constexpr int stopped_status = 1;

constexpr Scenario scenarios[] = {
    // Each criterion alone, combined, and typed in other orders.
    {.name = "country_only"},
    {.name = "area_only"},
    {.name = "elevation_only"},
    {.name = "combined_123"},
    {.name = "digits_31"},
    {.name = "digits_21"},
    // Longitudes around 180 degrees.
    {.name = "dateline_box"},
    {.name = "longitude_transform"},
    // The question on stations without an elevation.
    {.name = "missing_elevation_included"},
    {.name = "missing_elevation_excluded"},
    // Series and failed values.
    {.name = "duplicates"},
    {.name = "failed_values"},
    {.name = "even_variable", .failed_values = no},
    {.name = "sea_level_pressure"},
    {.name = "zero_selected"},
    // The ways through the dialogue.
    {.name = "start_over"},
    {.name = "changed_mind"},
    {.name = "null_answers"},
    {.name = "quit_at_restart", .series = no, .failed_values = no},
    {.name = "quit_at_menu", .log = no, .series = no, .failed_values = no},
    {.name = "invalid_digit_exit", .log = no, .series = no, .failed_values = no},
    {.name = "invalid_digit_start_over"},
    // Failures.
    {.name = "letters_at_numeric_prompt", .exit_status = fatal_status, .log = no, .series = no,
     .failed_values = no},
    {.name = "missing_inventory", .omitted_file = "v2.temperature.inv", .exit_status = fatal_status,
     .series = no, .failed_values = no},
    {.name = "missing_data_file", .omitted_file = "v2.mean", .exit_status = fatal_status, .series = no,
     .failed_values = no},
    {.name = "missing_failed_qc_file", .omitted_file = "v2.mean.failed.qc", .exit_status = fatal_status,
     .failed_values = no},
    // A record the extraction cannot read stops it with status 1, its lines unchanged.
    {.name = "bad_data_record_while_copying", .overlay = "bad-data-record", .exit_status = stopped_status},
    {.name = "bad_data_record_while_scanning", .overlay = "bad-data-record", .exit_status = stopped_status},
    {.name = "bad_failed_qc_record", .overlay = "bad-failed-qc-record", .exit_status = stopped_status},
    // The bundled sample data set, with its full country list.
    {.name = "sample_samoa", .data = DataSet::sample},
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

void expect_output_file(const fs::path& expected_dir, const fs::path& work, std::string_view name, Output state) {
    SCOPED_TRACE(std::string(name));
    const std::optional<std::string> expected = file_text(expected_dir / name);
    const std::optional<std::string> actual = file_text(work / name);
    if (state == Output::absent) {
        EXPECT_FALSE(expected.has_value()) << "the fixture holds a file that the table says is absent";
        EXPECT_FALSE(actual.has_value()) << "the program wrote a file it must not write";
        return;
    }
    ASSERT_TRUE(expected.has_value()) << "no expected file in " << expected_dir;
    ASSERT_TRUE(actual.has_value()) << "the program did not write the file";
    EXPECT_TRUE(*expected == *actual) << difference(*expected, *actual);
}

class ExtractionEndToEnd : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExtractionEndToEnd, WritesExactlyTheCheckedFiles) {
    const Scenario& s = GetParam();
    const fs::path expected_dir = fixtures_dir() / s.name;
    const std::optional<std::string> input = file_text(expected_dir / "input");
    ASSERT_TRUE(input.has_value()) << "no input script in " << expected_dir;

    ScratchDirectory scratch;
    const fs::path work = scratch.path();
    ASSERT_NO_FATAL_FAILURE(copy_data_files(s.data == DataSet::sample ? sample_data_dir() : base_data_dir(), work));
    if (!s.overlay.empty()) {
        ASSERT_NO_FATAL_FAILURE(copy_data_files(fixtures_dir() / "data" / s.overlay, work));
    }
    if (!s.omitted_file.empty()) {
        ASSERT_TRUE(fs::remove(work / s.omitted_file)) << "the data set has no " << s.omitted_file;
    }

    const RunResult run = run_console_program({.input = *input});
    ASSERT_TRUE(run.failure.empty()) << run.failure;

    const std::optional<std::string> expected_out = file_text(expected_dir / "stdout");
    const std::optional<std::string> expected_err = file_text(expected_dir / "stderr");
    ASSERT_TRUE(expected_out.has_value() && expected_err.has_value()) << "missing stdout or stderr in " << expected_dir;
    EXPECT_EQ(run.status, s.exit_status);
    EXPECT_TRUE(*expected_out == run.out) << "standard output: " << difference(*expected_out, run.out);
    EXPECT_TRUE(*expected_err == run.err) << "error output: " << difference(*expected_err, run.err);
    expect_output_file(expected_dir, work, log_file, s.log);
    expect_output_file(expected_dir, work, series_file, s.series);
    expect_output_file(expected_dir, work, failed_values_file, s.failed_values);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ExtractionEndToEnd, ::testing::ValuesIn(scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

// At the restart prompt only 1 starts over and 0 quits: any other digit goes on.
TEST(ExtractionEndToEndDecisions, RestartAnswersFrom2To9GoOnToTheExtraction) {
    const std::optional<std::string> expected_series = file_text(fixtures_dir() / "country_only" / series_file);
    ASSERT_TRUE(expected_series.has_value());
    for (char answer = '2'; answer <= '9'; ++answer) {
        SCOPED_TRACE(answer);
        ScratchDirectory scratch;
        ASSERT_NO_FATAL_FAILURE(copy_data_files(base_data_dir(), scratch.path()));
        // Country 507 as in country_only, but false at "Do you want to continue?".
        const RunResult run = run_console_program({.input = std::string("1\nT\n1\n507\nF\nT\nF\n") + answer + "\n\n"});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Program Terminating Normally"), std::string::npos);
        EXPECT_EQ(run.out.find("Welcome"), run.out.rfind("Welcome"));  // no second pass
        EXPECT_EQ(file_text(fs::path(scratch.path()) / series_file), expected_series);
    }
}

// A scenario directory that the table does not name would never run.
TEST(ExtractionEndToEndFixtures, EveryScenarioDirectoryIsInTheTable) {
    std::set<std::string> named;
    for (const Scenario& s : scenarios) EXPECT_TRUE(named.insert(std::string(s.name)).second) << s.name;
    std::set<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(fixtures_dir())) {
        if (e.is_directory() && fs::exists(e.path() / "input")) found.insert(e.path().filename().string());
    }
    EXPECT_EQ(found, named);
}

}  // namespace
}  // namespace corvane::testing
