#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>
#include <string>

#include "units/console_hooks.hpp"
#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::fmtio {
namespace {

using testing::ScriptedConsole;

TEST(IoStatement, InternalUnitsAreOneRecord) {
    Text<12> buffer("old contents");
    write(internal_unit(buffer), fmt<"(f6.2,1x,i3)">, 24.5f, 7);
    EXPECT_EQ(buffer.view(), " 24.50   7  ");  // padded with blanks at the end

    std::int32_t status = 0;
    EXPECT_EQ(write(internal_unit(buffer), units::with_iostat(status), fmt<"(i13)">, 1), units::outcome_error);
    EXPECT_EQ(status, 10060);  // longer than the variable
    EXPECT_EQ(write(internal_unit(buffer), units::with_iostat(status), fmt<"(i2/i2)">, 1, 2),
              units::outcome_error);
    EXPECT_EQ(status, 10024);  // a second record

    std::int32_t n = 0;
    float x = 0;
    const Text<10> source("  42 3.5  ");
    read(internal_unit(source), fmt<"(i4,f5.1)">, n, x);
    EXPECT_EQ(n, 42);
    EXPECT_FLOAT_EQ(x, 3.5f);
    EXPECT_EQ(read(internal_unit(source), units::with_iostat(status), fmt<"(i4/i4)">, n, n), units::outcome_error);
    EXPECT_EQ(status, -1);  // reading past its one record is the end of the file
    // A variable that may not change is read, never written: a WRITE to it meets 10024.
    EXPECT_EQ(write(internal_unit(source), units::with_iostat(status), fmt<"(i4)">, 7), units::outcome_error);
    EXPECT_EQ(status, 10024);
    EXPECT_EQ(source.view(), "  42 3.5  ");
}

TEST(IoStatement, OutcomesAndIostatTargets) {
    testing::ScratchDirectory dir;
    testing::write_file("two.txt", "1\nx\n");
    units::open_unit({.unit = 33, .file = "two.txt", .status = "OLD", .action = "READ"});
    std::int32_t n = 0;
    EXPECT_EQ(read(unit(33), on_end | on_err, fmt<"(i1)">, n), units::outcome_ok);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(read(unit(33), on_end | on_err, fmt<"(i1)">, n), units::outcome_error);  // the letter
    EXPECT_EQ(read(unit(33), on_end | on_err, fmt<"(i1)">, n), units::outcome_end);
    units::rewind_unit(33);

    // The iostat variable takes the code at its own width.
    std::int16_t short_status = 0;
    std::int8_t tiny_status = 0;
    std::int64_t long_status = 0;
    read(unit(33), units::Control{0, units::IostatTarget(short_status)}, fmt<"(i1)">, n);
    EXPECT_EQ(short_status, 0);
    read(unit(33), units::Control{0, units::IostatTarget(long_status)}, fmt<"(i1)">, n);
    EXPECT_EQ(long_status, 10016);
    read(unit(33), units::Control{0, units::IostatTarget(tiny_status)}, fmt<"(i1)">, n);
    EXPECT_EQ(tiny_status, -1);
    units::close_unit(33);

    // A format known only at run time: compiled when its statement runs, errors included.
    std::int32_t status = 0;
    ScriptedConsole console;
    EXPECT_EQ(write(default_unit, runtime_format("99(1x,i3)"), 5), units::outcome_ok);
    EXPECT_EQ(console.output(), "   5\r\n");
    EXPECT_EQ(write(default_unit, units::with_iostat(status), runtime_format("(1x,i3"), 5), units::outcome_error);
    EXPECT_EQ(status, 10010);
    EXPECT_EQ(write(default_unit, units::with_iostat(status), runtime_format("(((((((((((((((((((((((i1)))))))))))))))))))))))"), 5),
              units::outcome_error);
    EXPECT_EQ(status, 10015);
    EXPECT_EQ(write(default_unit, units::with_iostat(status), runtime_format("(1x)"), 5), units::outcome_error);
    EXPECT_EQ(status, 10006);  // items but no data descriptor
}

TEST(IoStatement, PromptAndAnswerShareTheLine) {
    ScriptedConsole console("3\n");
    std::int32_t choice = 0;
    write(default_unit, fmt<"(/1x,'Enter data type desired [0-9] :> ',$)">);
    read(default_unit, fmt<"(i1)">, choice);
    write(default_unit, fmt<"(1x,i1)">, choice);
    EXPECT_EQ(console.output(), "\r\n Enter data type desired [0-9] :>  3\r\n");
}

TEST(IoStatement, NonAdvancingInputAndOutput) {
    ScriptedConsole console("abcdef\n12\n");
    Text<2> part;
    std::int32_t taken = 0;
    read(default_unit, units::advancing("NO", &taken), fmt<"(a2)">, part);
    EXPECT_EQ(part.view(), "ab");
    EXPECT_EQ(taken, 2);
    read(default_unit, units::advancing("no"), fmt<"(a2)">, part);  // the same record goes on
    EXPECT_EQ(part.view(), "cd");
    // Past the end of the record: the item is padded, and the end of record is a condition.
    std::int32_t status = 0;
    Text<4> rest;
    EXPECT_EQ(read(default_unit, units::advancing("NO", &taken) | units::with_iostat(status), fmt<"(a4)">, rest),
              units::outcome_error);
    EXPECT_EQ(status, -2);
    EXPECT_EQ(rest.view(), "ef  ");
    EXPECT_EQ(taken, 2);
    std::int32_t n = 0;
    EXPECT_EQ(read(default_unit, units::advancing("NO") | units::on_eor, fmt<"(i4)">, n), units::outcome_eor);
    EXPECT_EQ(n, 12);  // the next record, read whole

    write(default_unit, units::advancing("NO"), fmt<"('Answer: ')">);
    write(default_unit, fmt<"(i2)">, 42);
    EXPECT_EQ(console.output(), "Answer: 42\r\n");

    EXPECT_EQ(write(default_unit, units::advancing("MAYBE") | units::with_iostat(status), fmt<"(i2)">, 1),
              units::outcome_error);
    EXPECT_EQ(status, 10040);
    EXPECT_EQ(read(default_unit, units::advancing("YES", &taken) | units::with_iostat(status), fmt<"(i2)">, n),
              units::outcome_error);
    EXPECT_EQ(status, 10043);
    EXPECT_EQ(read(default_unit, units::on_eor | units::with_iostat(status), fmt<"(i2)">, n), units::outcome_error);
    EXPECT_EQ(status, 10044);
}

int polls = 0;
void counting_poll() { ++polls; }

TEST(IoStatement, PollsAtEveryStepAndRestoresTheRoundingMode) {
    ScriptedConsole console;
    units::ConsoleHooks hooks = units::console_hooks();
    hooks.poll = counting_poll;
    units::install_console_hooks(hooks);
    polls = 0;
    write(default_unit, fmt<"(3i2)">, 1, 2, 3);
    EXPECT_GE(polls, 5);  // the start, each item, the end

    // Conversions run in round-to-nearest whatever the caller's mode; the mode comes back.
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    console.clear();
    write(default_unit, fmt<"(f4.2)">, 0.125);
    EXPECT_EQ(std::fegetround(), FE_UPWARD);
    std::fesetround(FE_TONEAREST);
    EXPECT_EQ(console.output(), "0.13\r\n");
}

std::size_t answer_x(char* buffer, std::size_t size, units::ConnectionRecord&) {
    if (size < 2) return 0;
    buffer[0] = 'x';
    buffer[1] = '\n';
    return 2;
}

TEST(IoStatement, UncaughtConditionsAreReportedAndEndTheProgram) {
    // Letters at a numeric prompt: three "? " lines on the error output, exit status -1.
    EXPECT_EXIT(
        {
            units::ConsoleHooks hooks = units::default_console_hooks();
            hooks.read_line = answer_x;
            units::install_console_hooks(hooks);
            std::int32_t n = 0;
            read(default_unit, fmt<"(i1)">, n);
        },
        ::testing::ExitedWithCode(255),
        "^\\? FORTRAN Runtime Error:.\n\\? Illegal character in numeric input.\n\\? READ\\(UNIT=\\*,\\.\\.\\..\n$");
}

TEST(TextOperations, BlankPaddedSemantics) {
    EXPECT_TRUE(text_equal("ab", "ab   "));
    EXPECT_FALSE(text_equal("ab", "abc"));
    EXPECT_TRUE(text_not_equal("ab", "ab."));
    EXPECT_TRUE(text_equal("", "   "));
    EXPECT_LT(text_compare("ab", "ab\x7f"), 0);
    EXPECT_GT(text_compare("ab\x80", "ab"), 0);  // unsigned bytes; a blank stands in
    EXPECT_EQ(text_compare("ab", "ab "), 0);

    Text<33> name;
    name = std::string_view("SKIKDA");
    EXPECT_EQ(name.view(), "SKIKDA" + std::string(27, ' '));
    Text<3> short_name;
    short_name = name;
    EXPECT_EQ(short_name.view(), "SKI");

    char overlap[] = "abcdef";
    text_assign(overlap + 1, 5, std::string_view(overlap, 5));  // destination inside the source
    EXPECT_STREQ(overlap, "aabcde");

    char file_name[8];
    const std::size_t n = text_concat(file_name, sizeof file_name, "GHCNv2", "_TSF");
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(std::string_view(file_name, n), "GHCNv2_T");
}

}  // namespace
}  // namespace corvane::fmtio
