// corvane-extract's refusals and failures: a bad argument is one line naming the option,
// the value and what is accepted (status 2); a missing input file is named with its full
// path (status 1); an existing output is kept without --force (status 1), and with it
// while a dialogue is writing it (status 1). None of them writes anything in its place. And the cases where a file that looks needed is not.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"
#include "text_difference.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

enum class Setup {
    plain,
    no_data_dir,
    no_inventory,
    no_data_file,
    no_failed_qc,
    no_country_codes,
    old_outputs,      // out/ holds the three output files from an earlier run
    out_is_file,      // out is a regular file
    garbage_at_end,   // v2.mean ends with a record that cannot be read
    dialogue_running, // as old_outputs, and a dialogue holds out/GHCNv2_Log_File locked
};

struct Case {
    std::string_view name;
    Setup setup;
    std::vector<std::string> args;      // --data-dir data --out-dir out follow
    int status;
    std::vector<std::string> messages;  // in the error output; $DATA and $OUT stand for the directories
};

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        // Bad arguments: one line each.
        {"no_variable", Setup::plain, {"--country", "507"}, 2, {"--variable is required"}},
        {"unknown_variable", Setup::plain, {"--variable", "temp", "--country", "507"}, 2,
         {"--variable: temp: expected one of mean, mean-adj, min, min-adj, max, max-adj, prcp, prcp-adj, slp"}},
        {"variable_zero", Setup::plain, {"--variable", "0", "--country", "507"}, 2, {"--variable: 0: expected"}},
        {"variable_twice", Setup::plain, {"--variable", "mean", "--variable", "min", "--country", "507"}, 2,
         {"--variable"}},
        {"country_letters", Setup::plain, {"--variable", "mean", "--country", "NZ"}, 2,
         {"--country: NZ: expected a country code of up to three digits"}},
        {"country_999", Setup::plain, {"--variable", "mean", "--country", "999"}, 2, {"--country: 999: expected"}},
        {"country_not_listed", Setup::plain, {"--variable", "mean", "--country", "998"}, 2,
         {"--country: 998: expected a code listed in $DATA/v2.country.codes"}},
        {"box_three_bounds", Setup::plain, {"--variable", "mean", "--box", "1,2,3"}, 2,
         {"--box: 1,2,3: expected NORTH,SOUTH,EAST,WEST"}},
        {"box_latitude_beyond_90", Setup::plain, {"--variable", "mean", "--box", "95,0,1,2"}, 2,
         {"--box: 95,0,1,2: NORTH: expected a number from -90 to 90 with at most two decimals"}},
        {"box_longitude_beyond_180", Setup::plain, {"--variable", "mean", "--box=0,0,1,-180.5"}, 2,
         {"--box: 0,0,1,-180.5: WEST: expected a number from -180 to 180"}},
        {"box_three_decimals", Setup::plain, {"--variable", "mean", "--box", "10,0,1.125,2"}, 2,
         {"--box: 10,0,1.125,2: EAST: expected"}},
        {"box_north_below_south", Setup::plain, {"--variable", "mean", "--box", "10,20,1,2"}, 2,
         {"--box: 10,20,1,2: expected NORTH not below SOUTH"}},
        {"elevation_reversed", Setup::plain, {"--variable", "mean", "--elevation", "500,0"}, 2,
         {"--elevation: 500,0: expected MIN,MAX, two whole numbers from -999 to 9999, MIN not above MAX"}},
        {"elevation_five_digits", Setup::plain, {"--variable", "mean", "--elevation", "0,10000"}, 2,
         {"--elevation: 0,10000: expected"}},
        {"missing_elevation_alone", Setup::plain, {"--variable", "mean", "--country", "507", "--missing-elevation",
         "keep"}, 2, {"--missing-elevation requires --elevation"}},
        {"missing_elevation_ask", Setup::plain, {"--variable", "mean", "--elevation", "0,9", "--missing-elevation",
         "ask"}, 2, {"--missing-elevation: ask: expected reject or keep"}},
        {"no_criterion", Setup::plain, {"--variable", "mean"}, 2, {"no criterion: give --country, --box or --elevation"}},
        {"unknown_option", Setup::plain, {"--variable", "mean", "--country", "507", "--countries", "1"}, 2,
         {": --countries: unknown option"}},
        {"stray_word", Setup::plain, {"--variable", "mean", "--country", "507", "nz"}, 2,
         {": nz: unexpected argument; every value follows its option"}},
        // Missing inputs: every one named with its full path.
        {"no_data_directory", Setup::no_data_dir, {"--variable", "mean", "--country", "507"}, 1,
         {"$DATA/v2.country.codes: no such file", "$DATA/v2.temperature.inv: no such file",
          "$DATA/v2.mean: no such file", "$DATA/v2.mean.failed.qc: no such file"}},
        {"no_inventory", Setup::no_inventory, {"--variable", "mean", "--box", "0,-10,10,0"}, 1,
         {"$DATA/v2.temperature.inv: no such file"}},
        {"no_data_file", Setup::no_data_file, {"--variable", "mean", "--country", "507"}, 1,
         {"$DATA/v2.mean: no such file"}},
        {"no_failed_qc_file", Setup::no_failed_qc, {"--variable", "1", "--country", "507"}, 1,
         {"$DATA/v2.mean.failed.qc: no such file"}},
        {"no_country_codes", Setup::no_country_codes, {"--variable", "mean", "--country", "507"}, 1,
         {"$DATA/v2.country.codes: no such file"}},
        // Outputs.
        {"outputs_exist", Setup::old_outputs, {"--variable", "mean", "--country", "507"}, 1,
         {"$OUT/GHCNv2_Log_File: exists; give --force to replace it", "$OUT/GHCNv2_tsf: exists",
          "$OUT/GHCNv2_Failed_Values_File: exists"}},
        {"dialogue_running_in_out", Setup::dialogue_running, {"--variable", "mean", "--country", "507", "--force"}, 1,
         {"$OUT: another run is writing the output files there; the new files are in $OUT/.corvane-extract-",
          "0 files written in out, 3 not moved there\n"}},
        {"out_is_a_file", Setup::out_is_file, {"--variable", "mean", "--country", "507"}, 1,
         {"$OUT: not a directory"}},
        // Files that are not needed.
        {"outputs_replaced", Setup::old_outputs, {"--variable", "mean", "--country", "507", "--force"}, 0, {}},
        {"even_variable_needs_no_failed_qc", Setup::no_failed_qc, {"--variable", "mean-adj", "--country", "541"}, 0,
         {}},
        {"box_needs_no_country_codes", Setup::no_country_codes, {"--variable", "mean", "--box", "0,-20,-170,-175"},
         0, {}},
        // A record the extraction never reached, read again for the tables.
        {"unreadable_record_after_the_series", Setup::garbage_at_end, {"--variable", "mean", "--country", "541",
         "--csv"}, 1, {"$DATA/v2.mean: a record cannot be read", "values.csv ends before it"}},
    };
    return table;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string_view> main_outputs = {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"};

void prepare(Setup setup, const fs::path& data, const fs::path& out) {
    if (setup == Setup::no_data_dir) return;
    fs::create_directory(data);
    copy_data_files(base_data_dir(), data);
    switch (setup) {
        case Setup::no_inventory: fs::remove(data / "v2.temperature.inv"); break;
        case Setup::no_data_file: fs::remove(data / "v2.mean"); break;
        case Setup::no_failed_qc: fs::remove(data / "v2.mean.failed.qc"); break;
        case Setup::no_country_codes: fs::remove(data / "v2.country.codes"); break;
        case Setup::old_outputs:
        case Setup::dialogue_running:
            fs::create_directory(out);
            for (std::string_view name : main_outputs) write_file((out / name).string(), "old\n");
            break;
        case Setup::out_is_file: write_file(out.string(), "not a directory\n"); break;
        case Setup::garbage_at_end:
            write_file((data / "v2.mean").string(), read_file((data / "v2.mean").string()) + "80099914001195O    0\n");
            break;
        default: break;
    }
}

std::string with_directories(std::string text, const fs::path& data, const fs::path& out) {
    for (const auto& [mark, dir] : {std::pair{std::string("$DATA"), data}, std::pair{std::string("$OUT"), out}}) {
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, mark.size(), dir.string());
    }
    return text;
}

class ExtractErrors : public ::testing::TestWithParam<Case> {};

TEST_P(ExtractErrors, ReportsAndWritesNothingItMustNot) {
    const Case& c = GetParam();
    ScratchDirectory scratch;
    const fs::path data = fs::path(scratch.path()) / "data";
    const fs::path out = fs::path(scratch.path()) / "out";
    ASSERT_NO_FATAL_FAILURE(prepare(c.setup, data, out));

    // The claim of a dialogue running in out/: an exclusive lock on its log.
    int dialogue_claim = -1;
    if (c.setup == Setup::dialogue_running) {
        dialogue_claim = ::open((out / "GHCNv2_Log_File").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(dialogue_claim, 0);
        ASSERT_EQ(::flock(dialogue_claim, LOCK_EX | LOCK_NB), 0);
    }
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--data-dir", "data", "--out-dir", "out"});
    const RunResult run = run_program(CORVANE_EXTRACT_PROGRAM, args);
    if (dialogue_claim >= 0) ::close(dialogue_claim);
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, "");
    for (const std::string& message : c.messages) {
        const std::string expected = with_directories(message, data, out);
        EXPECT_NE(run.err.find(expected), std::string::npos) << "expected: " << expected << "\nerror output:\n" << run.err;
    }
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.starts_with("corvane-extract: ")) << "every line says who speaks: " << line;
    }
    if (c.status == 2) {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line:\n" << run.err;
    }

    if (c.setup == Setup::out_is_file) {
        EXPECT_EQ(read_file(out.string()), "not a directory\n");
        return;
    }
    if (c.status == 0 || c.setup == Setup::garbage_at_end) {
        for (std::string_view name : main_outputs) {
            const bool expected = name != "GHCNv2_Failed_Values_File" || c.setup != Setup::no_failed_qc;
            ASSERT_EQ(fs::exists(out / name), expected) << name;
            if (expected) {
                EXPECT_NE(read_file((out / name).string()), "old\n") << name;
            }
        }
    } else if (c.setup == Setup::old_outputs || c.setup == Setup::dialogue_running) {
        for (std::string_view name : main_outputs) EXPECT_EQ(read_file((out / name).string()), "old\n") << name;
    } else {
        EXPECT_FALSE(fs::exists(out)) << "nothing is written after a refusal";
    }
    if (fs::is_directory(out) && c.setup != Setup::dialogue_running) {  // that one says where its files are
        for (const fs::directory_entry& e : fs::directory_iterator(out)) {
            EXPECT_FALSE(e.path().filename().string().starts_with(".")) << "left behind: " << e.path();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtractErrors, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::testing
