// OPEN: keyword tables and their error codes, the statuses, file names, the file-name
// prompt, re-opening a connected unit, implicit connection and the console units.
#include <gtest/gtest.h>

#include <string>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/runtime_options.hpp"

namespace corvane::testing {
namespace {

using units::close_unit;
using units::OpenSpec;

units::InquireResult inquire(std::int32_t u) {
    units::InquireResult result;
    units::inquire_unit(u, result);
    return result;
}

TEST(OpenStatementTest, KeywordTables) {
    ScratchDirectory dir;
    ASSERT_EQ(open_code({.unit = 30, .file = "k.txt", .status = "unknown ", .access = "Sequential",
                         .form = "formatted  ", .blank = "zero", .position = "asis", .action = "read ",
                         .delim = "quote", .pad = "no", .byte_order = "big_endian"}), 0);
    const units::InquireResult r = inquire(30);
    EXPECT_EQ(r.action + r.blank + r.delim + r.pad, "READZEROQUOTENO");
    close_unit(30);

    // What each ACTION word allows, whether it asks for carriage control or deletion at CLOSE.
    struct Row { const char* action; const char* allows; const char* carriage; bool deleted; };
    for (const Row row : {Row{"both", "READWRITE", "LIST", false}, Row{"submit", "READWRITE", "LIST", false},
                          Row{"write", "WRITE", "LIST", false}, Row{"print", "WRITE", "FORTRAN", false},
                          Row{"fortran", "WRITE", "FORTRAN", false}, Row{"delete", "READWRITE", "LIST", true},
                          Row{"print/delete", "WRITE", "FORTRAN", true}}) {
        ASSERT_EQ(open_file(30, "act.txt", "UNKNOWN", row.action), 0) << row.action;
        EXPECT_EQ(inquire(30).action + inquire(30).carriage_control, std::string(row.allows) + row.carriage);
        close_unit(30);
        EXPECT_EQ(file_exists("act.txt"), !row.deleted) << row.action;
    }
    ASSERT_EQ(open_code({.unit = 30, .file = "d.txt", .dispose = "Delete"}), 0);
    close_unit(30);
    EXPECT_FALSE(file_exists("d.txt"));

    struct Bad { OpenSpec request; std::int32_t code; };
    const Bad rows[] = {
        {{.status = "OLDER"}, 10005},          {{.access = "RANDOM"}, 10005},
        {{.form = "PRINTED"}, 10005},          {{.blank = "SPACE"}, 10005},
        {{.position = "END"}, 10005},          {{.action = "READONLY"}, 10005},
        {{.carriage_control = "NONE"}, 10005}, {{.dispose = "DROP"}, 10005},
        {{.delim = "SLASH"}, 10041},           {{.pad = "MAYBE"}, 10042},
        {{.byte_order = "MIDDLE_ENDIAN"}, 10036},
        {{.access = "DIRECT"}, 10003},         {{.recl = 80}, 10025},
        {{.access = "WINDOW"}, 10034},         // the default hooks have no window framework
        {{.access = "WINDOW", .recl = 80}, 10005},
        {{.access = "WINDOW", .block_size = 512}, 10005},
    };
    for (Bad row : rows) {
        row.request.unit = 30;
        row.request.file = "bad.txt";
        EXPECT_EQ(open_code(row.request), row.code);
        EXPECT_FALSE(connected(30));
        EXPECT_FALSE(file_exists("bad.txt"));
    }
    EXPECT_EQ(open_code({.unit = -5, .file = "neg.txt"}), 10029);
    EXPECT_EQ(units::open_unit({.unit = 30, .control = units::on_err, .file = "x", .status = "BAD"}),
              units::outcome_error);
    expect_units_closed(30, 30);
}

// Each keyword specifier's value reaches the connection, as INQUIRE reports it.
TEST(OpenStatementTest, EachKeywordValueReachesTheConnection) {
    ScratchDirectory dir;
    using Field = std::string units::InquireResult::*;
    struct Row { OpenSpec request; Field field; const char* reported; };
    const Row rows[] = {
        {{.form = "unformatted"}, &units::InquireResult::form, "UNFORMATTED"},
        {{.form = "Binary"}, &units::InquireResult::form, "BINARY"},
        {{.access = "transparent"}, &units::InquireResult::access, "TRANSPARENT"},
        {{.access = "append"}, &units::InquireResult::position, "APPEND"},
        {{.position = "rewind"}, &units::InquireResult::position, "REWIND"},
        {{.position = "append"}, &units::InquireResult::position, "APPEND"},
        {{.blank = "zero"}, &units::InquireResult::blank, "ZERO"},
        {{.action = "write"}, &units::InquireResult::action, "WRITE"},
        {{.delim = "apostrophe"}, &units::InquireResult::delim, "APOSTROPHE"},
        {{.pad = "no"}, &units::InquireResult::pad, "NO"},
        {{.carriage_control = "fortran"}, &units::InquireResult::carriage_control, "FORTRAN"},
    };
    for (Row row : rows) {
        row.request.unit = 31;
        row.request.file = "kept.txt";
        ASSERT_EQ(open_code(row.request), 0) << row.reported;
        EXPECT_EQ(inquire(31).*row.field, row.reported);
        close_unit(31);
    }
    expect_units_closed(31, 31);
}

TEST(OpenStatementTest, Statuses) {
    ScratchDirectory dir;
    // OLD of a missing file: the system's file-not-found code; nothing connected or created.
    EXPECT_EQ(open_file(32, "missing.txt", "OLD"), 2);
    EXPECT_FALSE(connected(32));
    EXPECT_FALSE(file_exists("missing.txt"));

    ASSERT_EQ(open_file(32, "new.txt", "NEW"), 0);
    close_unit(32);
    EXPECT_EQ(read_file("new.txt"), "");
    write_file("new.txt", "kept\n");
    EXPECT_EQ(open_file(32, "new.txt", "NEW"), 10032);
    EXPECT_FALSE(connected(32));
    EXPECT_EQ(read_file("new.txt"), "kept\n");

    ASSERT_EQ(open_file(32, "new.txt", "REPLACE"), 0);
    EXPECT_EQ(read_file("new.txt"), "");
    put_record(32, "fresh");
    close_unit(32);

    ASSERT_EQ(open_file(32, "new.txt", "UNKNOWN"), 0);  // an existing file keeps its contents
    EXPECT_EQ(next_record(32), "fresh");
    close_unit(32);

    ASSERT_EQ(open_code({.unit = 32, .status = "scratch"}), 0);
    const std::string scratch_name = inquire(32).name;
    EXPECT_TRUE(file_exists(scratch_name));
    put_record(32, "temporary");
    ASSERT_EQ(units::rewind_unit(32), units::outcome_ok);
    EXPECT_EQ(next_record(32), "temporary");
    close_unit(32);
    EXPECT_FALSE(file_exists(scratch_name));
    EXPECT_EQ(open_code({.unit = 32, .file = "s.txt", .status = "SCRATCH"}), 10014);
    EXPECT_FALSE(file_exists("s.txt"));
    expect_units_closed(32, 32);
}

TEST(OpenStatementTest, FileNames) {
    ScratchDirectory dir;
    ASSERT_EQ(open_file(33, "  spaced.txt   ", "NEW"), 0);
    EXPECT_EQ(inquire(33).name, "spaced.txt");
    close_unit(33);
    EXPECT_TRUE(file_exists("spaced.txt"));
    EXPECT_EQ(open_file(33, "     "), 10014);
    EXPECT_FALSE(connected(33));

    ASSERT_EQ(open_code({.unit = 33}), 0);
    close_unit(33);
    EXPECT_TRUE(file_exists("fort.33"));
    units::RuntimeOptions& options = units::runtime_options_for_update();
    const bool vax_names = options.vax_names;
    options.vax_names = true;
    EXPECT_EQ(units::default_file_name(1234), "FOR1234.DAT");
    ASSERT_EQ(open_code({.unit = 34}), 0);
    close_unit(34);
    options.vax_names = vax_names;
    EXPECT_TRUE(file_exists("FOR034.DAT"));

    // An empty FILE asks for the name, up to the first carriage return or line feed.
    {
        ScriptedConsole console("asked.txt\ncut.txt\rrest\r\n");
        ASSERT_EQ(open_file(35, ""), 0);
        EXPECT_EQ(console.output(), "FORTRAN I/O LIBRARY - file name needed for OPEN(UNIT=35? ");
        close_unit(35);
        ASSERT_EQ(open_file(35, ""), 0);
        EXPECT_EQ(inquire(35).name, "cut.txt");
        close_unit(35);
        EXPECT_EQ(open_file(35, ""), 10014);  // no answer at all
        EXPECT_FALSE(connected(35));
        EXPECT_TRUE(file_exists("asked.txt"));
        EXPECT_TRUE(file_exists("cut.txt"));
    }
    // Under -fileprompt the command-line words come first, without a question.
    {
        ScriptedConsole console("typed.txt\n");
        const units::RuntimeOptions saved = options;
        options.file_prompt = true;
        options.prompt_words = {"word.txt"};
        options.prompt_cursor = 0;
        ASSERT_EQ(open_file(35, ""), 0);
        close_unit(35);
        ASSERT_EQ(open_file(35, ""), 0);
        close_unit(35);
        options = saved;
        EXPECT_TRUE(file_exists("word.txt"));
        EXPECT_TRUE(file_exists("typed.txt"));
    }
    expect_units_closed(33, 35);
}

TEST(OpenStatementTest, ReopeningAConnectedUnit) {
    ScratchDirectory dir;
    ASSERT_EQ(open_file(36, "a.txt"), 0);
    put_record(36, "in a");
    // The same file: the connection stays; BLANK and the like change, the rest must agree.
    EXPECT_EQ(open_file(36, " a.txt ", "OLD"), 0);
    EXPECT_EQ(open_code({.unit = 36, .blank = "ZERO"}), 0);
    EXPECT_EQ(inquire(36).blank, "ZERO");
    EXPECT_EQ(open_file(36, "a.txt", "UNKNOWN", "READ"), 10030);
    EXPECT_EQ(open_code({.unit = 36, .file = "a.txt", .position = "APPEND"}), 10030);
    EXPECT_EQ(open_code({.unit = 36, .block_size = 512}), 10030);
    EXPECT_EQ(open_code({.unit = 36, .access = "WINDOW"}), 10005);
    EXPECT_EQ(inquire(36).name, "a.txt");

    // Another file: the old one is closed first, its pending record written.
    ASSERT_EQ(open_file(36, "b.txt"), 0);
    EXPECT_EQ(read_file("a.txt"), "in a\r\n");
    EXPECT_EQ(inquire(36).name, "b.txt");
    close_unit(36);
    expect_units_closed(36, 36);
}

TEST(OpenStatementTest, ImplicitConnectionAndTheConsoleUnits) {
    ScratchDirectory dir;
    ScriptedConsole console("typed line\n");
    ASSERT_EQ(fmtio::write(units::unit(37), fmtio::fmt<"(a,i3)">, "implicit", 42), units::outcome_ok);
    close_unit(37);
    EXPECT_EQ(read_file("fort.37"), "implicit 42\r\n");

    // Unit 6 is the console until it is opened on a file, and again after its CLOSE.
    ASSERT_EQ(fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "console 1"), units::outcome_ok);
    ASSERT_EQ(open_file(6, "six.txt"), 0);
    ASSERT_EQ(fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "to the file"), units::outcome_ok);
    close_unit(6);
    ASSERT_EQ(fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "console 2"), units::outcome_ok);
    ASSERT_EQ(fmtio::write(units::default_unit, fmtio::fmt<"(a)">, "default"), units::outcome_ok);
    EXPECT_EQ(read_file("six.txt"), "to the file\r\n");
    EXPECT_EQ(console.output(), "console 1\r\nconsole 2\r\ndefault\r\n");
    fmtio::Text<20> line;
    ASSERT_EQ(fmtio::read(units::unit(5), fmtio::fmt<"(a)">, line), units::outcome_ok);
    EXPECT_EQ(line.trimmed(), "typed line");
    expect_units_closed(37, 37);
    EXPECT_FALSE(connected(6));
}

}  // namespace
}  // namespace corvane::testing
