// Run-time options from their text and from the environment, the tab width, the STOP text,
// and what the line-end and console options do to records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

namespace corvane::testing {
namespace {

using units::RuntimeOptions;
using Words = std::vector<std::string>;

RuntimeOptions parse(std::string_view text, Words* warnings = nullptr) {
    RuntimeOptions options;
    Words ignored;
    units::parse_runtime_flags(text, options, warnings ? *warnings : ignored);
    return options;
}

std::string record_end(const RuntimeOptions& o) { return {o.record_end, o.record_end_length}; }

TEST(RuntimeOptionsTest, ParsingEveryOption) {
    Words warnings;
    const RuntimeOptions none = parse("", &warnings);
    EXPECT_TRUE(none.unix_names && !none.vax_names && none.unit9_not_preconnected);
    EXPECT_EQ(record_end(none), "\r\n");

    const RuntimeOptions o = parse("-defaultcarriage -vaxnames -bigendian -noleadzero -reclen32 -f90nlexts "
                                   "-printstop -connectunit9 -hex_uppercase", &warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(o.default_carriage && o.vax_names && !o.unix_names && o.no_lead_zero && o.reclen32 &&
                o.f90_namelist_extensions && o.print_stop && !o.unit9_not_preconnected && o.hex_uppercase);
    EXPECT_EQ(o.byte_order, units::ByteOrder::big_endian);
    EXPECT_EQ(parse("-littleendian").byte_order, units::ByteOrder::little_endian);
    EXPECT_TRUE(parse("-vaxnames -unixnames").unix_names);
    EXPECT_TRUE(parse("-connectunit9 -nounit9").unit9_not_preconnected);

    // Line ends: what ends an output record, the terminator, the length stepped over.
    EXPECT_EQ(record_end(parse("-unixeol")), "\n");
    EXPECT_EQ(record_end(parse("-doseol")), "\r\n");
    EXPECT_EQ(parse("-doseol").line_end.length, 2);
    EXPECT_EQ(record_end(parse("-maceol")), "\n\r");
    EXPECT_EQ(parse("-maceol").line_end.terminator, '\r');

    // A name only has to begin the text; unknown words are warned about one by one.
    EXPECT_EQ(parse("-doseolx", &warnings).line_end.length, 2);
    EXPECT_EQ(warnings, Words{"Warning: unknown runtime option x"});
    warnings.clear();
    const RuntimeOptions blanks = parse("  -vaxnames   -noleadzero", &warnings);
    EXPECT_TRUE(blanks.vax_names && blanks.no_lead_zero && warnings.empty());
    EXPECT_TRUE(parse("-fast -printstop  bogus", &warnings).print_stop);
    EXPECT_EQ(warnings, (Words{"Warning: unknown runtime option -fast", "Warning: unknown runtime option bogus"}));

    // -fileprompt takes the command-line words after the program name as file names.
    const Words saved_words = units::command_line_words();
    units::set_command_line_words({"in.dat", "out.dat"});
    const RuntimeOptions prompt = parse("-fileprompt");
    units::set_command_line_words(saved_words);
    EXPECT_TRUE(prompt.file_prompt);
    EXPECT_EQ(prompt.prompt_words, (Words{"in.dat", "out.dat"}));
}

TEST(RuntimeOptionsTest, EnvironmentTabSizeAndStopText) {
    {
        ScriptedConsole console;
        const char* before = std::getenv("VORNEX_RT_FLAGS");
        const std::string saved = before ? before : "";
        ::setenv("VORNEX_RT_FLAGS", "-printstop -what", 1);
        units::reset_runtime_options();
        EXPECT_TRUE(units::runtime_options().print_stop);
        ::setenv("VORNEX_RT_FLAGS", "-vaxnames", 1);
        EXPECT_FALSE(units::runtime_options().vax_names);  // read once, not again
        EXPECT_EQ(console.errors(), "Warning: unknown runtime option -what\r\n");
        if (before) ::setenv("VORNEX_RT_FLAGS", saved.c_str(), 1);
        else ::unsetenv("VORNEX_RT_FLAGS");
        units::reset_runtime_options();
    }
    EXPECT_EQ(units::parse_tab_size(nullptr), 8);
    EXPECT_EQ(units::parse_tab_size("4"), 4);
    EXPECT_EQ(units::parse_tab_size("0"), 0);
    EXPECT_EQ(units::parse_tab_size("abc"), 0);
    EXPECT_EQ(units::parse_tab_size("4x"), 0);
    EXPECT_EQ(units::parse_tab_size("-3"), 8);

    EXPECT_EQ(units::stop_text("", true), " STOP");
    EXPECT_EQ(units::stop_text("1", true), " STOP 1");
    EXPECT_EQ(units::stop_text(" ", false), "");
    EXPECT_EQ(units::stop_text("done", false), "done");
}

TEST(RuntimeOptionsTest, LineEndAndConsoleOptionsShapeRecords) {
    ScratchDirectory dir;
    RuntimeOptions& options = units::runtime_options_for_update();
    const RuntimeOptions saved = options;
    Words warnings;
    units::parse_runtime_flags("-unixeol", options, warnings);
    ASSERT_EQ(open_file(75, "unix.txt", "REPLACE"), 0);
    put_record(75, "a");
    put_record(75, "b");
    units::close_unit(75);
    options = saved;
    EXPECT_EQ(read_file("unix.txt"), "a\nb\n");

    // -maceol: records end at a carriage return, and a line feed is the one dropped.
    units::parse_runtime_flags("-maceol", options, warnings);
    write_file("mac.txt", "one\rtwo\r\nthree\r");
    ASSERT_EQ(open_file(75, "mac.txt", "OLD"), 0);
    EXPECT_EQ(next_record(75), "one");
    EXPECT_EQ(next_record(75), "two");
    ASSERT_EQ(units::backspace_unit(75), units::outcome_ok);
    EXPECT_EQ(next_record(75), "two");
    EXPECT_EQ(next_record(75), "three");
    EXPECT_EQ(next_record(75), std::nullopt);
    units::close_unit(75);
    options = saved;

    {
        ScriptedConsole console;  // -defaultcarriage: console records end with CR alone
        options.default_carriage = true;
        ASSERT_EQ(fmtio::write(units::default_unit, fmtio::fmt<"(a)">, "x"), units::outcome_ok);
        options = saved;
        EXPECT_EQ(console.output(), "x\r");
    }
    int error = 0;
    EXPECT_EQ(units::map_unit_number(9, false, true, error), 9);
    options.unit9_not_preconnected = false;  // -connectunit9: unit 9 is the console
    EXPECT_EQ(units::map_unit_number(9, true, true, error), units::unit_console_in);
    EXPECT_EQ(units::map_unit_number(9, false, true, error), units::unit_console_out);
    options = saved;
    EXPECT_TRUE(warnings.empty());
    expect_units_closed(75, 75);
}

}  // namespace
}  // namespace corvane::testing
