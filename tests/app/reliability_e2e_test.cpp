// The program under interruption, in a directory another run is using, with output files it
// cannot open and with records that never end: each case ends with its report or its exit
// status, and what was written before stays in whole records.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view log_file = "GHCNv2_Log_File";
constexpr std::string_view series_file = "GHCNv2_tsf";
constexpr std::string_view failed_values_file = "GHCNv2_Failed_Values_File";

// The country_only scenario: variable 1, country 507, on to the extraction.
std::string scenario_file(std::string_view name) {
    const std::optional<std::string> text = file_text(fixtures_dir() / "country_only" / name);
    return text.value_or("");
}

// Its first `count` answers, so that the program then waits at the next prompt.
std::string first_answers(int count) {
    const std::string input = scenario_file("input");
    std::size_t end = 0;
    for (int i = 0; i < count && end != std::string::npos; ++i) end = input.find('\n', end) + 1;
    return input.substr(0, end);
}

// The expected log cut after `text`: what must be on disk when the run ends there.
std::string expected_log_through(std::string_view text) {
    const std::string log = scenario_file(log_file);
    const std::size_t at = log.find(text);
    return at == std::string::npos ? std::string("<not in the expected log>") : log.substr(0, at + text.size());
}

// A scratch directory holding the fixtures' data set.
class DataDirectory : public ScratchDirectory {
public:
    DataDirectory() { copy_data_files(base_data_dir(), path()); }
    std::optional<std::string> file(std::string_view name) const { return file_text(fs::path(path()) / name); }
};

enum class Written { nothing, criteria_and_listing, everything };

struct InterruptionCase {
    int signal_number;
    int answers;                 // answers given before the signal ...
    std::string_view waiting_at; // ... which arrives while the program waits here
    Written written;
};

TEST(Interruption, EndsThroughTheTerminationWithWholeRecordsAndStatus128PlusN) {
    const std::string full_log = scenario_file(log_file);
    const InterruptionCase cases[] = {
        {SIGINT, 7, "hit RETURN to exit", Written::everything},
        {SIGTERM, 7, "hit RETURN to exit", Written::everything},
        {SIGHUP, 7, "hit RETURN to exit", Written::everything},
        {SIGINT, 6, "Do you want to continue?", Written::criteria_and_listing},
        {SIGTERM, 0, "Enter data type desired", Written::nothing},
    };
    for (const InterruptionCase& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal_number)) + " at " + std::string(c.waiting_at));
        DataDirectory dir;
        const RunResult run = run_console_program({.input = first_answers(c.answers),
                                                   .keep_input_open = true,
                                                   .signal_when_output = std::string(c.waiting_at),
                                                   .signal_number = c.signal_number});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 128 + c.signal_number);
        EXPECT_EQ(run.err, "");
        const std::optional<std::string> log = dir.file(log_file);
        switch (c.written) {
            case Written::everything:
                EXPECT_EQ(log, full_log);
                EXPECT_EQ(dir.file(series_file), scenario_file(series_file));
                EXPECT_EQ(dir.file(failed_values_file), scenario_file(failed_values_file));
                break;
            case Written::criteria_and_listing:
                // The listing's last station line ends the log.
                EXPECT_EQ(log, expected_log_through("HEARD ISLAND                    \r\n"));
                EXPECT_FALSE(dir.file(series_file).has_value());
                break;
            case Written::nothing:
                EXPECT_FALSE(log.has_value());
                break;
        }
    }
}

TEST(BusyDirectory, ASecondRunStopsBeforeWritingAnything) {
    DataDirectory dir;
    const std::string other_log = "the log another run is writing\r\n";
    write_file(std::string(log_file), other_log);
    const int held = open(std::string(log_file).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);

    const RunResult busy = run_console_program({.input = scenario_file("input")});
    ASSERT_TRUE(busy.failure.empty()) << busy.failure;
    EXPECT_EQ(busy.status, 1);
    const std::string line = "\r\n Another run is writing the output files in this directory: stopped.\r\n";
    ASSERT_GE(busy.out.size(), line.size());
    EXPECT_EQ(busy.out.substr(busy.out.size() - line.size()), line);
    EXPECT_EQ(dir.file(log_file), other_log);
    EXPECT_FALSE(dir.file(series_file).has_value());
    EXPECT_FALSE(dir.file(failed_values_file).has_value());

    // Once the other run has ended, the same answers make a complete run.
    close(held);
    const RunResult free = run_console_program({.input = scenario_file("input")});
    ASSERT_TRUE(free.failure.empty()) << free.failure;
    EXPECT_EQ(free.status, 0);
    EXPECT_EQ(dir.file(log_file), scenario_file(log_file));
}

TEST(OutputFiles, ThatCannotBeOpenedAreReportedAndEndTheRun) {
    const struct {
        std::string_view name;
        int unit;
    } outputs[] = {{log_file, 13}, {series_file, 15}, {failed_values_file, 16}};
    for (const auto& o : outputs) {
        SCOPED_TRACE(std::string(o.name));
        DataDirectory dir;
        fs::create_directory(fs::path(dir.path()) / o.name);  // a directory of that name cannot be written

        const RunResult run = run_console_program({.input = scenario_file("input")});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.err, "? System Error:\r\n? Access Denied.\r\n? OPEN(UNIT=" + std::to_string(o.unit) + ",...\r\n");
        EXPECT_EQ(run.out.find("Program Terminating Normally"), std::string::npos);
        for (const char* fallback : {"fort.13", "fort.15", "fort.16"}) EXPECT_FALSE(file_exists(fallback)) << fallback;
    }
}

TEST(OutputFiles, AReadOnlyFileIsReportedAndKeepsItsContents) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes read-only files";
    DataDirectory dir;
    const std::string old_series = "an earlier time series\r\n";
    write_file(std::string(series_file), old_series);
    fs::permissions(fs::path(dir.path()) / series_file, fs::perms::owner_read | fs::perms::group_read);

    const RunResult run = run_console_program({.input = scenario_file("input")});
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.err, "? System Error:\r\n? Access Denied.\r\n? OPEN(UNIT=15,...\r\n");
    EXPECT_EQ(dir.file(series_file), old_series);
}

TEST(OutputFiles, AFullDiskIsReportedAndTheOtherFilesKeepWholeRecords) {
    // The output file is the device that is always full; its last buffer goes out at CLOSE.
    const struct {
        std::string_view name;
        int unit;
    } outputs[] = {{series_file, 15}, {failed_values_file, 16}};
    const std::string full_log = scenario_file(log_file);
    const std::string count_line = "\r\n    4 STATIONS RECORDS FOUND \r\n";
    for (const auto& o : outputs) {
        SCOPED_TRACE(std::string(o.name));
        DataDirectory dir;
        fs::create_symlink("/dev/full", fs::path(dir.path()) / o.name);
        const RunResult run = run_console_program({.input = scenario_file("input")});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 255);
        EXPECT_EQ(run.err, "? System Error:\r\n? There is not enough space on the disk.\r\n? CLOSE(UNIT=" +
                               std::to_string(o.unit) + ",...\r\n");
        // The log holds every line written before the report, each whole.
        EXPECT_EQ(dir.file(log_file), full_log.substr(0, full_log.size() - count_line.size()));
        if (o.unit == 16) {
            EXPECT_EQ(dir.file(series_file), scenario_file(series_file));
        }
    }
}

TEST(ClosedConsole, AWriteToAConsoleThatWentAwayIsReportedAndTheFilesAreKept) {
    DataDirectory dir;
    // A listing longer than a pipe holds, so that the program is still writing it when the
    // reader goes away.
    std::string inventory;
    char line[96];
    for (int i = 0; i < 3000; ++i) {
        std::snprintf(line, sizeof line, "507%08d%-32s%6.2f %7.2f %4d\n", 90000000 + i, " STATION", -41.0, 174.0, 10);
        inventory += line;
    }
    write_file("v2.temperature.inv", inventory);
    // The reader goes once the console listing begins.
    const std::size_t listing = scenario_file("stdout").find(" Number or stations searched");
    const RunResult run = run_console_program({.input = scenario_file("input"), .output_wanted = listing + 1});
    ASSERT_TRUE(run.failure.empty()) << run.failure;  // not ended by SIGPIPE
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.err, "? System Error:\r\n? The request could not be performed because of an I/O device error.\r\n"
                       "? WRITE(UNIT=*,...\r\n");
    // The log's listing was complete before the console's began.
    const std::optional<std::string> log = dir.file(log_file);
    ASSERT_TRUE(log.has_value());
    EXPECT_TRUE(log->ends_with(" 3000 507 90002999 -41.00  174.00    10  STATION                         \r\n"))
        << log->substr(log->size() - std::min<std::size_t>(log->size(), 200));
}

struct EndlessCase {
    std::string_view file;         // replaced by 17 MiB without a line end
    int status;
    std::string_view errors;
    std::string_view output_end;   // the last lines on the console
    std::string_view log_through;  // the log on disk ends after this text
};

TEST(EndlessRecords, EndInTheReportOrTheErrorBranchWithEverythingBeforeWritten) {
    const EndlessCase cases[] = {
        // The inventory's READ has no error branch: the report.
        {"v2.temperature.inv", 255, "? FORTRAN Runtime Error:\r\n? Buffer allocation failed\r\n? READ(UNIT=12,...\r\n",
         "Searching Inventory File:\r\n", "NEW ZEALAND                                       \r\n"},
        // The data file's READ takes its error branch: the extraction stops with status 1.
        {"v2.mean", 1, "", "From getit error on first read datafile\r\n Last record read station        0\r\n",
         "    Stations Found in MEAN.TEMP       data file\r\n\r\n"},
    };
    for (const EndlessCase& c : cases) {
        SCOPED_TRACE(std::string(c.file));
        DataDirectory dir;
        write_file(std::string(c.file), std::string(17 * 1024 * 1024, '1'));
        const RunResult run = run_console_program({.input = scenario_file("input")});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.errors);
        EXPECT_TRUE(run.out.ends_with(c.output_end)) << run.out.substr(run.out.size() - std::min<std::size_t>(200, run.out.size()));
        EXPECT_EQ(dir.file(log_file), expected_log_through(c.log_through));
    }
    // An endless standard input.
    DataDirectory dir;
    const RunResult run = run_console_program({.input_file = "/dev/zero"});
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.err, "? FORTRAN Runtime Error:\r\n? Buffer allocation failed\r\n? READ(UNIT=*,...\r\n");
}

}  // namespace
}  // namespace corvane::testing
