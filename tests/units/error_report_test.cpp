// The single path of I/O conditions: iostat variables, ERR and END branches, the "? "
// report and the end of the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/error_report.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

namespace corvane::testing {
namespace {

using units::Control;
using units::raise_io_condition;
using units::StatementKind;

// A condition and an outcome cannot stand for each other, and a plain number becomes a
// condition only on purpose; inside the engine a condition still reads as its code.
static_assert(!std::is_convertible_v<units::Outcome, units::Condition>);
static_assert(!std::is_convertible_v<units::Condition, units::Outcome>);
static_assert(!std::is_convertible_v<int, units::Condition>);
static_assert(!std::is_convertible_v<int, units::Outcome>);
static_assert(!std::is_convertible_v<units::Outcome, int>);
static_assert(std::is_convertible_v<units::Condition, int>);
static_assert(!std::is_invocable_v<decltype(&units::raise_io_condition), units::Outcome,
                                   const units::ConditionContext&>);

units::ConditionContext context(StatementKind kind, units::UnitSpec u, Control control = {}) {
    return {kind, u, control};
}

TEST(ErrorReportTest, ReportLines) {
    const auto console_read = context(StatementKind::read, units::default_unit);
    EXPECT_EQ(units::format_condition_report(units::Condition{10016}, &console_read, "\n"),
              "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=*,...\n");
    const auto open12 = context(StatementKind::open, units::unit(12));
    EXPECT_EQ(units::format_condition_report(units::Condition{2}, &open12, "\r\n"),
              "? System Error:\r\n? The system cannot find the file specified.\r\n? OPEN(UNIT=12,...\r\n");
    char text[4];
    const auto internal = context(StatementKind::read, {units::UnitSpec::Kind::internal, 0, text, 4, text});
    EXPECT_TRUE(units::format_condition_report(units::Condition{10016}, &internal, "\n").ends_with("\n? READ(UNIT=INTERNAL,...\n"));
    // The ends of the run-time range; a system code without a text; no statement line.
    EXPECT_EQ(units::format_condition_report(units::Condition{10000}, nullptr, "\n"), "? FORTRAN Runtime Error:\n? File not open for read\n");
    EXPECT_TRUE(units::format_condition_report(units::Condition{10074}, nullptr, "\n").starts_with("? FORTRAN Runtime Error:\n"));
    EXPECT_TRUE(units::format_condition_report(units::Condition{9999}, nullptr, "\n").starts_with("? System Error:\n"));
    EXPECT_EQ(units::format_condition_report(units::Condition{34}, nullptr, "\n"), "? System Error:\n? \n");
    const char* names[] = {"REWIND", "BACKSPACE", "OPEN", "CLOSE", "INQUIRE", "READ", "WRITE", "ENDFILE"};
    for (int kind = 0; kind < 8; ++kind) {
        const auto c = context(static_cast<StatementKind>(kind), units::unit(0));
        EXPECT_TRUE(units::format_condition_report(units::Condition{10029}, &c, "\n").ends_with(std::string("\n? ") + names[kind] +
                                                                              "(UNIT=0,...\n")) << names[kind];
    }
}

TEST(ErrorReportTest, IostatVariablesAndBranches) {
    // The code lands at the variable's width and leaves its neighbours alone.
    struct {
        std::int8_t before = 7, one = 0;
        std::int16_t two = 0;
        std::int32_t four = 0;
        std::int64_t eight = 0x5555555555555555;
        std::int8_t after = 7;
    } w;
    const auto into = [](auto& v) { return context(StatementKind::read, units::unit(80), {0, units::IostatTarget(v)}); };
    for (const units::Condition code : {units::Condition{2}, units::condition::bad_specifier, units::condition::end_of_file}) {
        const std::int64_t expected = code == units::condition::end_of_file ? -1 : code;
        EXPECT_EQ(raise_io_condition(code, into(w.two)), units::outcome_error);
        EXPECT_EQ(raise_io_condition(code, into(w.four)), units::outcome_error);
        EXPECT_EQ(raise_io_condition(code, into(w.eight)), units::outcome_error);
        EXPECT_EQ(w.two, expected);
        EXPECT_EQ(w.four, expected);
        EXPECT_EQ(w.eight, expected);
    }
    raise_io_condition(units::condition::end_of_file, into(w.one));
    EXPECT_EQ(w.one, -1);
    raise_io_condition(units::Condition{2}, into(w.one));
    EXPECT_EQ(w.one, 2);
    raise_io_condition(units::condition::end_of_record_nonadvancing, into(w.four));
    EXPECT_EQ(w.four, -2);
    EXPECT_EQ(w.before + w.after, 14);

    // END takes the end of file; ERR takes errors, and the end of file when END is absent.
    const auto read80 = [](Control c) { return context(StatementKind::read, units::unit(80), c); };
    const units::Condition eof = units::condition::end_of_file;
    EXPECT_EQ(raise_io_condition(eof, read80(units::on_end)), units::outcome_end);
    EXPECT_EQ(raise_io_condition(eof, read80(units::on_end | units::on_err)), units::outcome_end);
    EXPECT_EQ(raise_io_condition(eof, read80(units::on_err)), units::outcome_error);
    EXPECT_EQ(raise_io_condition(units::Condition{10016}, read80(units::on_end | units::on_err)), units::outcome_error);

    // The same through statements on a file.
    ScratchDirectory dir;
    write_file("nums.txt", "12\nxy\n");
    ASSERT_EQ(open_file(81, "nums.txt", "OLD", "READ"), 0);
    std::int32_t n = 0;
    const Control both = units::on_end | units::on_err;
    EXPECT_EQ(fmtio::read(units::unit(81), both, fmtio::fmt<"(i2)">, n), units::outcome_ok);
    EXPECT_EQ(n, 12);
    EXPECT_EQ(fmtio::read(units::unit(81), both, fmtio::fmt<"(i2)">, n), units::outcome_error);
    EXPECT_EQ(fmtio::read(units::unit(81), both, fmtio::fmt<"(i2)">, n), units::outcome_end);
    std::int32_t status = 0;
    EXPECT_NE(fmtio::read(units::unit(81), units::with_iostat(status), fmtio::fmt<"(i2)">, n), units::outcome_ok);
    EXPECT_EQ(status, -1);
    EXPECT_NE(fmtio::write(units::unit(81), units::with_iostat(status), fmtio::fmt<"(i2)">, n), units::outcome_ok);
    EXPECT_EQ(status, 10001);  // connected for reading only
    units::close_unit(81);
    expect_units_closed(80, 81);
}

TEST(ErrorReportDeathTest, UncaughtConditionsAreReportedAndEndTheProgram) {
    ScratchDirectory dir;
    // The units are closed before the report: pending output still reaches its file.
    EXPECT_EXIT(
        {
            open_file(82, "pending.txt", "REPLACE");
            put_record(82, "written before the end");
            raise_io_condition(units::condition::end_of_file, context(StatementKind::read, units::unit(82)));
        },
        ::testing::ExitedWithCode(255),
        "^\\? FORTRAN Runtime Error:\r?\n\\? Attempt to read past end of file\r?\n\\? READ\\(UNIT=82,\\.\\.\\.\r?\n$");
    EXPECT_EQ(read_file("pending.txt"), "written before the end\r\n");
    EXPECT_EXIT(raise_io_condition(units::Condition{2}, context(StatementKind::open, units::unit(12))), ::testing::ExitedWithCode(255),
                "^\\? System Error:\r?\n\\? The system cannot find the file specified\\.\r?\n\\? OPEN\\(UNIT=12,");
    // An END branch does not catch a condition other than the end of the file.
    EXPECT_EXIT(raise_io_condition(units::Condition{10016}, context(StatementKind::read, units::default_unit, units::on_end)),
                ::testing::ExitedWithCode(255), "\\? READ\\(UNIT=\\*,\\.\\.\\.");
    EXPECT_EXIT(units::stop_program(" "), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(
        {
            units::runtime_options_for_update().print_stop = true;
            units::stop_program("1");
        },
        ::testing::ExitedWithCode(0), "^ STOP 1\r?\n$");
    expect_units_closed(82, 82);
}

}  // namespace
}  // namespace corvane::testing
