// Reading records from files: line ends, carriage returns, tabs, the last line, long lines
// and the end of the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.hpp"
#include "unit_test_support.hpp"

namespace corvane::testing {
namespace {

using Records = std::vector<std::string>;

// Every record of a file, read through unit 20 with the given tab width.
Records all_records(const std::string& name, int tab_width = 8) {
    EXPECT_EQ(open_file(20, name, "OLD", "READ"), 0);
    record_of(20).tab_width = tab_width;
    Records records;
    while (auto r = next_record(20)) records.push_back(*r);
    EXPECT_FALSE(next_record(20)) << "end of file stays end of file";
    units::close_unit(20);
    return records;
}

TEST(RecordReadingTest, LineEndsCarriageReturnsAndTheLastLine) {
    ScratchDirectory dir;
    write_file("lf.txt", "alpha\nbeta\n\ngamma\n");
    EXPECT_EQ(all_records("lf.txt"), (Records{"alpha", "beta", "", "gamma"}));
    write_file("crlf.txt", "alpha\r\nbeta\r\n\r\ngamma\r\n");
    EXPECT_EQ(all_records("crlf.txt"), (Records{"alpha", "beta", "", "gamma"}));
    // Only the carriage return of the line end goes; a lone one is part of the record.
    write_file("cr.txt", "\ra\rb\r\r\nc\r\r\n\r\n");
    EXPECT_EQ(all_records("cr.txt"), (Records{"\ra\rb\r", "c\r", ""}));
    // A last line without a line end is a record; the end of file comes after it.
    write_file("open_end.txt", "one\ntwo");
    EXPECT_EQ(all_records("open_end.txt"), (Records{"one", "two"}));
    write_file("cr_end.txt", "x\r");
    EXPECT_EQ(all_records("cr_end.txt"), (Records{"x"}));
    write_file("one_empty.txt", "\n");
    EXPECT_EQ(all_records("one_empty.txt"), (Records{""}));
    write_file("empty.txt", "");
    EXPECT_EQ(all_records("empty.txt"), Records{});
    expect_units_closed(20, 20);
}

TEST(RecordReadingTest, TabsAdvanceToTheNextMultipleOfTheWidth) {
    ScratchDirectory dir;
    write_file("tabs.txt", "\tx\nab\tc\nabcd\te\n\t\tz\na\r\tb\r\n");
    EXPECT_EQ(all_records("tabs.txt", 4), (Records{"    x", "ab  c", "abcd    e", "        z", "a\r  b"}));
    EXPECT_EQ(all_records("tabs.txt", 8),
              (Records{"        x", "ab      c", "abcd    e", std::string(16, ' ') + "z", "a\r      b"}));
    // A width of 0 keeps the tabs (the carriage return of the line end still goes).
    EXPECT_EQ(all_records("tabs.txt", 0), (Records{"\tx", "ab\tc", "abcd\te", "\t\tz", "a\r\tb"}));
    expect_units_closed(20, 20);
}

TEST(RecordReadingTest, LinesLongerThanTheBufferAndAcrossBlocks) {
    ScratchDirectory dir;
    const std::string fills_block(8191, 'b');  // its line feed is the block's last byte
    const std::string straddles(8190, 'c');
    const std::string huge(20000, 'a');
    const std::string tail(9000, 'd');
    write_file("long.txt", fills_block + "\n" + straddles + "\n" + huge + "\nshort\n" + tail);
    EXPECT_EQ(all_records("long.txt"), (Records{fills_block, straddles, huge, "short", tail}));
    // Tabs can expand a record well beyond the buffer too.
    write_file("long_tabs.txt", std::string(3000, '\t') + "e\n");
    EXPECT_EQ(all_records("long_tabs.txt", 4), (Records{std::string(12000, ' ') + "e"}));
    expect_units_closed(20, 20);
}

// Every record of a file read through a unit whose buffer holds 4 KiB.
Records records_through_4k_buffer(const std::string& name) {
    EXPECT_EQ(open_code({.unit = 21, .file = name, .status = "OLD", .action = "READ", .block_size = 4096}), 0);
    EXPECT_EQ(record_of(21).buffer_size, 4096);
    Records records;
    while (auto r = next_record(21)) records.push_back(*r);
    units::close_unit(21);
    return records;
}

TEST(RecordReadingTest, ALoneCarriageReturnStaysAtEveryPlaceAroundABufferBoundary) {
    ScratchDirectory dir;
    constexpr std::size_t boundary = 4096;
    struct Case {
        std::string_view shape;  // where the CR stands, around the byte `at`
        std::string record;      // the line as written, without its LF
        std::string expected;
    };
    std::vector<Case> cases;
    for (std::size_t at = boundary - 4; at <= boundary + 3; ++at) {
        std::string lone(boundary + 8, 'x');
        lone[at] = '\r';
        cases.push_back({"lone CR", lone, lone});
        std::string pair = lone;
        pair[at + 1] = '\r';
        cases.push_back({"two CRs", pair, pair});
        std::string line_end(at + 1, 'y');
        line_end[at] = '\r';  // CR LF with the CR at `at`: the line end, not data
        cases.push_back({"CR of CR LF", line_end, line_end.substr(0, at)});
        std::string last(at + 1, 'z');
        last[at] = '\r';
        cases.push_back({"CR before the next record's CR LF", last + "\r", last});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shape) + " at byte " + std::to_string(c.record.find('\r')));
        write_file("cr.txt", c.record + "\nafter\r\n");
        EXPECT_EQ(records_through_4k_buffer("cr.txt"), (Records{c.expected, "after"}));
    }
    expect_units_closed(21, 21);
}

}  // namespace
}  // namespace corvane::testing
