// The console of a run without a user: the routines' lines are held back (the last two
// kept for a report), the missing-elevation question is answered only when stations
// without an elevation are kept, and the progress line counts what the run data say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_data.hpp"
#include "extract/progress.hpp"
#include "extract/quiet_console.hpp"
#include "units/connection_record.hpp"
#include "units/console_hooks.hpp"

namespace corvane::extract {
namespace {

// Puts the default console back however the test ends.
struct RestoreConsole {
    ~RestoreConsole() { units::install_console_hooks(units::default_console_hooks()); }
};

void write_out(std::string_view bytes) {
    units::console_hooks().write_bytes(bytes.data(), bytes.size(), units::handle_stdout, nullptr);
}

TEST(QuietConsole, HoldsTheLastTwoLinesOfWhatTheRoutinesWrite) {
    RestoreConsole restore;
    install_quiet_console({});
    EXPECT_TRUE(held_console_lines().empty());
    write_out("\r\n Found Station:> 93436001 WELLINGTON\r\n");
    write_out(" From getit error on second read datafile");  // a record written in two parts
    write_out("\r\n");
    write_out(" Last record read station  4030000\r\n partial");
    EXPECT_EQ(held_console_lines(),
              (std::vector<std::string>{" From getit error on second read datafile", " Last record read station  4030000"}));
}

TEST(QuietConsole, AnswersTheElevationQuestionOnlyWhenKeeping) {
    RestoreConsole restore;
    units::ConnectionRecord record;
    char buffer[16];
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        install_quiet_console({.keep_missing_elevations = keep});
        const std::size_t n = units::console_hooks().read_line(buffer, sizeof buffer, record);
        EXPECT_EQ(std::string(buffer, n), keep ? "T\n" : "") << "no answer is the end of the input";
        units::console_hooks().read_line(buffer, sizeof buffer, record);
        EXPECT_EQ(missing_elevation_answers(), keep ? 2 : 0);
    }
}

TEST(Progress, LineFollowsTheRunData) {
    static app::RunData run;
    run.variable_label = "MEAN.TEMP";
    Progress progress(run, false);
    progress.set_phase(Progress::Phase::searching);
    run.stations.selected_count = 40;
    EXPECT_EQ(progress.line(), "corvane-extract: MEAN.TEMP: searching the inventory, 40 stations selected");
    progress.set_phase(Progress::Phase::extracting);
    run.found_count = 10;
    EXPECT_EQ(progress.line(), "corvane-extract: MEAN.TEMP: [#######.......................] 10 of 40 stations found");
    run.found_count = 40;
    EXPECT_EQ(progress.line(), "corvane-extract: MEAN.TEMP: [##############################] 40 of 40 stations found");
    run.stations.selected_count = 0;
    run.found_count = 0;
    EXPECT_EQ(progress.line(), "corvane-extract: MEAN.TEMP: [##############################] 0 of 0 stations found");
}

}  // namespace
}  // namespace corvane::extract
