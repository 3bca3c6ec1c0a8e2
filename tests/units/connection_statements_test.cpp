// CLOSE, REWIND, ENDFILE, INQUIRE and the pause statement, and the opening all connection
// statements share.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/file_layer.hpp"

namespace corvane::testing {
namespace {

using units::close_unit;
using units::with_iostat;

TEST(ConnectionStatementsTest, CloseRewindEndfile) {
    ScratchDirectory dir;
    std::int32_t code = -99;
    EXPECT_EQ(close_unit(55, with_iostat(code)), units::outcome_ok);  // never connected
    EXPECT_EQ(code, 0);
    EXPECT_EQ(units::rewind_unit(55), units::outcome_ok);
    EXPECT_EQ(units::endfile_unit(55), units::outcome_ok);
    EXPECT_FALSE(connected(55));

    ASSERT_EQ(open_file(55, "w.txt"), 0);
    EXPECT_EQ(close_unit(55, with_iostat(code), "Purge"), units::outcome_error);
    EXPECT_EQ(code, 10005);
    EXPECT_TRUE(connected(55));  // a refused CLOSE leaves the connection
    put_record(55, "first");
    put_record(55, "second");
    ASSERT_EQ(units::rewind_unit(55), units::outcome_ok);
    EXPECT_EQ(next_record(55), "first");
    EXPECT_EQ(next_record(55), "second");
    EXPECT_EQ(next_record(55), std::nullopt);
    ASSERT_EQ(units::rewind_unit(55), units::outcome_ok);
    EXPECT_EQ(next_record(55), "first");
    ASSERT_EQ(units::endfile_unit(55), units::outcome_ok);  // the file now ends after the record read
    EXPECT_EQ(next_record(55), std::nullopt);
    EXPECT_EQ(read_file("w.txt"), "first\r\n");
    put_record(55, "third");
    EXPECT_EQ(close_unit(55, with_iostat(code), "keep "), units::outcome_ok);
    EXPECT_EQ(read_file("w.txt"), "first\r\nthird\r\n");

    ASSERT_EQ(open_file(55, "w.txt"), 0);
    EXPECT_EQ(close_unit(55, {}, "delete"), units::outcome_ok);
    EXPECT_FALSE(file_exists("w.txt"));
    EXPECT_EQ(close_unit(-7, with_iostat(code)), units::outcome_error);
    EXPECT_EQ(code, 10029);
    EXPECT_EQ(units::rewind_unit(-3, with_iostat(code)), units::outcome_error);
    EXPECT_EQ(code, 10029);
    expect_units_closed(55, 55);
}

// Every connection statement opens alike: its iostat variable starts at 0, and a
// condition goes to the iostat variable or to the ERR branch.
TEST(ConnectionStatementsTest, EveryStatementClearsItsIostatAndCatchesItsCondition) {
    ScratchDirectory dir;
    units::InquireResult result;
    struct Row { const char* name; std::function<units::Outcome(std::int32_t, units::Control)> run; };
    const Row rows[] = {
        {"OPEN",
         [](std::int32_t u, units::Control c) {
             return units::open_unit({.unit = u, .control = c, .status = "SCRATCH"});
         }},
        {"REWIND", units::rewind_unit},
        {"BACKSPACE", units::backspace_unit},
        {"ENDFILE", units::endfile_unit},
        {"INQUIRE", [&](std::int32_t u, units::Control c) { return units::inquire_unit(u, result, c); }},
        {"CLOSE", [](std::int32_t u, units::Control c) { return close_unit(u, c); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::int32_t code = -99;
        EXPECT_EQ(row.run(58, with_iostat(code)), units::outcome_ok);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(row.run(-5, with_iostat(code)), units::outcome_error);
        EXPECT_EQ(code, 10029);
        EXPECT_EQ(row.run(-5, units::on_err), units::outcome_error);
    }
    expect_units_closed(58, 58);
}

TEST(ConnectionStatementsTest, InquireByUnitAndByName) {
    ScratchDirectory dir;
    write_file("there.txt", "x\n");
    units::InquireResult r;
    ASSERT_EQ(units::inquire_unit(57, r), units::outcome_ok);
    EXPECT_FALSE(r.opened);

    ASSERT_EQ(open_code({.unit = 57, .file = "there.txt", .status = "OLD", .position = "REWIND",
                         .action = "READ"}), 0);
    ASSERT_EQ(units::inquire_unit(57, r), units::outcome_ok);
    EXPECT_TRUE(r.opened);
    EXPECT_EQ(r.number, 57);
    EXPECT_EQ(r.name, "there.txt");
    EXPECT_EQ(r.access + " " + r.form + " " + r.action + " " + r.position, "SEQUENTIAL FORMATTED READ REWIND");
    EXPECT_EQ(r.read + r.write + r.blank + r.delim + r.pad + r.carriage_control, "YESNONULLNONEYESLIST");
    EXPECT_EQ(r.next_record, 1);
    EXPECT_EQ(next_record(57), "x");
    ASSERT_EQ(units::inquire_unit(57, r), units::outcome_ok);
    EXPECT_EQ(r.next_record, 2);

    ASSERT_EQ(units::inquire_file("  there.txt ", r), units::outcome_ok);
    EXPECT_TRUE(r.exists && r.opened);
    EXPECT_EQ(r.number, 57);
    close_unit(57);
    ASSERT_EQ(units::inquire_file("there.txt", r), units::outcome_ok);
    EXPECT_TRUE(r.exists && !r.opened);
    ASSERT_EQ(units::inquire_file("nowhere.txt", r), units::outcome_ok);
    EXPECT_FALSE(r.exists || r.opened);
    EXPECT_EQ(units::file_size_of("there.txt"), 2);
    EXPECT_EQ(units::file_size_of("nowhere.txt"), -1);
    {
        ScriptedConsole console;  // 5 and 6 answer as the console units
        ASSERT_EQ(units::inquire_unit(6, r), units::outcome_ok);
        EXPECT_EQ(r.action, "WRITE");
        ASSERT_EQ(units::inquire_unit(5, r), units::outcome_ok);
        EXPECT_EQ(r.action, "READ");
    }
    expect_units_closed(57, 57);
}

TEST(ConnectionStatementsTest, PauseShowsItsTextAndTakesOneLine) {
    ScriptedConsole console("\nnext answer\n");
    units::pause_statement("Press Return to continue");
    EXPECT_EQ(console.output(), " Press Return to continue\r\n");
    units::RecordView view;
    units::RecordScratch scratch;
    ASSERT_EQ(units::read_record(units::console_unit(units::unit_console_in), view, scratch), units::record_ok);
    EXPECT_EQ(std::string(view.data, view.length), "next answer");
    console.clear();
    units::pause_statement("again");  // no console input left: the pause just returns
    EXPECT_EQ(console.output(), " again\r\n");
}

}  // namespace
}  // namespace corvane::testing
