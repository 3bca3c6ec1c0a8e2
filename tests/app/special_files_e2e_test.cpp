// corvane-console with a FIFO at the name of a file it reads or writes, and with an answer
// it waits for: a wait on a FIFO's other end ends on SIGINT, SIGTERM or SIGHUP through the
// termination (status 128 + n), and while a prompt waits, every file already holds what
// was written to it (even a SIGKILL then leaves the log whole).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The country_only scenario: variable 1, country 507, on to the extraction.
std::string scenario_file(std::string_view name) {
    return file_text(fixtures_dir() / "country_only" / name).value_or("");
}

class DataDirectory : public ScratchDirectory {
public:
    DataDirectory() { copy_data_files(base_data_dir(), path()); }
};

struct FifoCase {
    std::string_view name;  // a FIFO stands here instead of the file
    int signal_number;
};

TEST(SpecialFiles, AWaitForTheOtherEndOfAFifoEndsOnASignal) {
    const FifoCase cases[] = {
        {"v2.country.codes", SIGTERM},  {"GHCNv2_Log_File", SIGINT},    {"GHCNv2_Log_File", SIGHUP},
        {"v2.temperature.inv", SIGTERM}, {"v2.mean", SIGINT},           {"v2.mean.failed.qc", SIGHUP},
        {"GHCNv2_tsf", SIGTERM},        {"GHCNv2_Failed_Values_File", SIGINT},
    };
    for (const FifoCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", " + strsignal(c.signal_number));
        DataDirectory dir;
        fs::remove(c.name);
        ASSERT_EQ(::mkfifo(std::string(c.name).c_str(), 0600), 0);
        // The signal goes once the program waits in the open of the FIFO.
        const RunResult run = run_console_program({.input = scenario_file("input"),
                                                   .signal_when_waiting_in = "wait_for_partner",
                                                   .signal_number = c.signal_number});
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, 128 + c.signal_number) << run.err;
        EXPECT_EQ(run.err, "");
        // What the program wrote to the log before the wait is there, in whole lines (the
        // country list is read before the log is opened).
        const std::optional<std::string> log = file_text("GHCNv2_Log_File");
        EXPECT_EQ(log.has_value(), c.name != "GHCNv2_Log_File" && c.name != "v2.country.codes");
        if (log) {
            EXPECT_TRUE(log->ends_with("\r\n"));
            EXPECT_EQ(*log, scenario_file("GHCNv2_Log_File").substr(0, log->size()));
        }
    }
}

TEST(SpecialFiles, WhileAPromptWaitsEveryFileHoldsWhatWasWrittenToIt) {
    DataDirectory dir;
    // At "hit RETURN to exit" the program waits for the answer; a SIGKILL then leaves the
    // files as they are on disk, with no termination to write anything more.
    const std::string input = scenario_file("input");
    const std::string all_but_the_last_answer = input.substr(0, input.rfind('\n', input.size() - 2) + 1);
    const RunResult run = run_console_program({.input = all_but_the_last_answer,
                                               .keep_input_open = true,
                                               .signal_when_output = "hit RETURN to exit",
                                               .signal_when_waiting_in = "poll_schedule_timeout",
                                               .signal_number = SIGKILL});
    EXPECT_EQ(run.failure, "the program was ended by signal 9");
    EXPECT_EQ(file_text("GHCNv2_Log_File"), scenario_file("GHCNv2_Log_File"));
    EXPECT_EQ(file_text("GHCNv2_tsf"), scenario_file("GHCNv2_tsf"));
    EXPECT_EQ(file_text("GHCNv2_Failed_Values_File"), scenario_file("GHCNv2_Failed_Values_File"));
}

}  // namespace
}  // namespace corvane::testing
