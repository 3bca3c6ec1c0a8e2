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
    // A carriage return is dropped wherever it stands, not only before the line feed.
    write_file("cr.txt", "\ra\rb\r\r\nc\r\r\n\r\n");
    EXPECT_EQ(all_records("cr.txt"), (Records{"ab", "c", ""}));
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
    write_file("tabs.txt", "\tx\nab\tc\nabcd\te\n\t\tz\na\r\tb\n");
    EXPECT_EQ(all_records("tabs.txt", 4), (Records{"    x", "ab  c", "abcd    e", "        z", "a   b"}));
    EXPECT_EQ(all_records("tabs.txt", 8),
              (Records{"        x", "ab      c", "abcd    e", std::string(16, ' ') + "z", "a       b"}));
    // A width of 0 keeps the tabs (the carriage return still goes).
    EXPECT_EQ(all_records("tabs.txt", 0), (Records{"\tx", "ab\tc", "abcd\te", "\t\tz", "a\tb"}));
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

}  // namespace
}  // namespace corvane::testing
