// The programs' own command line: --help and --version given alone, and --data-dir for the
// dialogue. Anything else stays the run-time's (the dialogue starts).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/build_info.hpp"
#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"
#include "text_difference.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// The data set's twenty input files and the three outputs, as a user looks for them.
constexpr std::string_view data_set_files[] = {
    "v2.temperature.inv", "v2.prcp.inv", "v2.prcp.adj.inv", "v2.slp.inv", "v2.country.codes",
    "v2.slp.country.codes", "v2.mean", "v2.mean_adj", "v2.min", "v2.min_adj", "v2.max", "v2.max_adj", "v2.prcp",
    "v2.prcp_adj", "v2.slp", "v2.mean.failed.qc", "v2.min.failed.qc", "v2.max.failed.qc", "v2.prcp.failed.qc",
    "v2.slp.failed.qc", "GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File",
};

struct Program {
    std::string_view name;
    std::string path;
};

std::vector<Program> programs() {
    return {{"corvane-console", CORVANE_CONSOLE_PROGRAM}, {"corvane-extract", CORVANE_EXTRACT_PROGRAM}};
}

TEST(ProgramOptions, HelpNamesFilesEnvironmentExitStatusesAndTheData) {
    for (const Program& p : programs()) {
        SCOPED_TRACE(std::string(p.name));
        const RunResult run = run_program(p.path, {"--help"});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("Usage: " + std::string(p.name)), std::string::npos) << run.out;
        for (std::string_view file : data_set_files) {
            // Whole names: v2.mean must not count as found inside v2.mean_adj.
            const std::string& text = run.out;
            bool found = false;
            for (std::size_t at = text.find(file); at != std::string::npos; at = text.find(file, at + 1)) {
                const char after = at + file.size() < text.size() ? text[at + file.size()] : '\n';
                found = found || after == ',' || after == ' ' || after == '\n';
            }
            EXPECT_TRUE(found) << file;
        }
        for (std::string_view part : {"VORNEX_RT_FLAGS", "TABSIZE", "Exit status:", "255", "pub/data/ghcn/v2",
                                      "--data-dir DIR"}) {
            EXPECT_NE(run.out.find(part), std::string::npos) << part;
        }
    }
}

TEST(ProgramOptions, VersionIsTheProjects) {
    for (const Program& p : programs()) {
        SCOPED_TRACE(std::string(p.name));
        const RunResult run = run_program(p.path, {"--version"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')), std::string(p.name) + " (Corvane) " + std::string(version));
        EXPECT_NE(run.out.find("the Corvane developers"), std::string::npos);
    }
}

// With anything else on the command line the words are the run-time's: the dialogue starts.
TEST(ProgramOptions, HelpWithOtherWordsStartsTheDialogue) {
    ScratchDirectory scratch;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help", "x"}, {"x", "--version"}}) {
        const RunResult run = run_console_program({.args = args, .input = "0\n"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("Welcome to program Corvane"), std::string::npos);
        EXPECT_NE(run.out.find("Program Terminated"), std::string::npos);
    }
}

TEST(ProgramOptions, ConsoleDataDirectory) {
    ScratchDirectory scratch;
    const fs::path data = fs::path(scratch.path()) / "ghcn";
    fs::create_directory(data);
    ASSERT_NO_FATAL_FAILURE(copy_data_files(base_data_dir(), data));
    const fs::path scenario = fixtures_dir() / "country_only";
    const std::string answers = read_file((scenario / "input").string());

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--data-dir", "ghcn"}, {"--data-dir=ghcn"}}) {
        SCOPED_TRACE(args.front());
        const RunResult run = run_console_program({.args = args, .input = answers});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string transcript = read_file((scenario / "stdout").string());
        EXPECT_TRUE(run.out == transcript) << difference(transcript, run.out);
        for (std::string_view name : {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"}) {
            EXPECT_TRUE(file_text(data / name) == file_text(scenario / name)) << name;
            EXPECT_FALSE(fs::exists(fs::path(scratch.path()) / name)) << name << " written outside the data directory";
            fs::remove(data / name);
        }
    }

    const RunResult missing = run_console_program({.args = {"--data-dir", "nowhere"}, .input = "1\n"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "") << "no dialogue without the data directory";
    EXPECT_EQ(missing.err, "corvane-console: cannot enter the data directory " +
                               (fs::path(scratch.path()) / "nowhere").string() + ": No such file or directory\n");

    const RunResult no_value = run_console_program({.args = {"--data-dir"}, .input = "1\n"});
    EXPECT_EQ(no_value.status, 2);
    EXPECT_EQ(no_value.err, "corvane-console: --data-dir: no directory given; expected --data-dir DIR\n");
}

}  // namespace
}  // namespace corvane::testing
