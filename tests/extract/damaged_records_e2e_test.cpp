// A data or failed-QC record cut short in the middle of its file is damaged, not data: both
// programs take the extraction's error exit there (status 1), the dialogue with its two
// lines on standard output and corvane-extract with the same two lines on standard error,
// and every file written so far, the CSV tables included, ends on a whole record.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

struct Damage {
    std::string_view name;
    std::string_view file;       // in the fixtures' data set
    std::string_view line_start; // the record cut short ...
    std::size_t columns;         // ... to this many columns
    std::string_view report;     // the first line of the error exit
    std::string_view station;    // the station number the READ stored
};

constexpr Damage damages[] = {
    // The second record of a selected station's series, read while copying it.
    {"data_record_while_copying", "v2.mean", "5079378000001938", 40, "From getit error on second read datafile",
     "93780000"},
    // A record of a station not selected, read by the scan for the next series.
    {"data_record_while_scanning", "v2.mean", "5029165200001928", 40, "From getit error on first read datafile",
     "91652000"},
    // A failed value cut inside its value column.
    {"failed_qc_record", "v2.mean.failed.qc", "502916520000 1928", 22, "From getit error on first read flagfile",
     "91652000"},
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

// The fixtures' data set in `dir`, with the damaged record.
void write_damaged_data(const Damage& d, const fs::path& dir) {
    fs::create_directories(dir);
    copy_data_files(base_data_dir(), dir);
    const std::string path = (dir / d.file).string();
    std::string text = read_file(path);
    const std::size_t at = text.find(std::string("\n") + std::string(d.line_start));
    ASSERT_NE(at, std::string::npos) << d.line_start;
    const std::size_t end = text.find('\n', at + 1);
    text.erase(at + 1 + d.columns, end - (at + 1 + d.columns));
    write_file(path, text);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class DamagedRecord : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedRecord, TheDialogueTakesTheErrorExit) {
    const Damage& d = GetParam();
    ScratchDirectory dir;
    ASSERT_NO_FATAL_FAILURE(write_damaged_data(d, dir.path()));
    const std::string input = read_file((fixtures_dir() / "country_only" / "input").string());
    const RunResult run = run_console_program({.input = input});
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 1);
    const std::string ending = " " + std::string(d.report) + "\r\n Last record read station " +
                               std::string(d.station) + "\r\n";
    EXPECT_TRUE(run.out.ends_with(ending)) << run.out.substr(run.out.size() - std::min<std::size_t>(run.out.size(), 300));
    EXPECT_TRUE(read_file("GHCNv2_tsf").ends_with("\r\n"));
}

TEST_P(DamagedRecord, CorvaneExtractSaysTheSameAndItsTablesEndOnWholeRows) {
    const Damage& d = GetParam();
    ScratchDirectory dir;
    ASSERT_NO_FATAL_FAILURE(write_damaged_data(d, fs::path(dir.path()) / "data"));
    const RunResult run = run_program(CORVANE_EXTRACT_PROGRAM, {"--variable", "mean", "--country", "507", "--csv",
                                                                "--data-dir", "data", "--out-dir", "out"});
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("corvane-extract: " + std::string(d.report) + "\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("corvane-extract: Last record read station " + std::string(d.station) + "\n"),
              std::string::npos)
        << run.err;
    const std::string values = read_file("out/values.csv");
    ASSERT_FALSE(values.empty());
    EXPECT_TRUE(values.ends_with("\r\n"));
    for (const std::string& row : lines_of(values)) EXPECT_EQ(std::count(row.begin(), row.end(), ','), 4) << row;
    EXPECT_FALSE(fs::exists("out/stations.csv")) << "the tables of a run that stopped are not completed";
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedRecord, ::testing::ValuesIn(damages),
                         [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::testing
