// Writing a sequential file from anywhere but its end replaces what followed: the file is
// cut right after the new data. Reading alone, and appending, never cut a file.
#include <gtest/gtest.h>

#include <string>

#include "test_support.hpp"
#include "unit_test_support.hpp"

namespace corvane::testing {
namespace {

using units::close_unit;

TEST(TruncationTest, WritingCutsAfterTheNewDataReadingNeverCuts) {
    ScratchDirectory dir;
    const std::string old_contents = "1111111111\n2222222222\n3333333333\n";
    write_file("f.txt", old_contents);
    ASSERT_EQ(open_file(50, "f.txt"), 0);
    put_record(50, "ab");
    close_unit(50);
    EXPECT_EQ(read_file("f.txt"), "ab\r\n");

    write_file("f.txt", old_contents);
    ASSERT_EQ(open_file(50, "f.txt"), 0);
    EXPECT_EQ(next_record(50), "1111111111");
    put_record(50, "new");  // replaces everything after the record read
    close_unit(50);
    EXPECT_EQ(read_file("f.txt"), "1111111111\nnew\r\n");

    write_file("f.txt", old_contents);
    ASSERT_EQ(open_file(50, "f.txt"), 0);
    EXPECT_EQ(next_record(50), "1111111111");
    EXPECT_EQ(next_record(50), "2222222222");
    ASSERT_EQ(units::rewind_unit(50), units::outcome_ok);
    put_record(50, "x");
    close_unit(50);
    EXPECT_EQ(read_file("f.txt"), "x\r\n");

    // More output than one buffer over an even longer file.
    write_file("big.txt", std::string(40000, 'z'));
    ASSERT_EQ(open_file(50, "big.txt"), 0);
    std::string expected;
    for (int i = 0; i < 1500; ++i) {
        put_record(50, "line " + std::to_string(100000 + i));
        expected += "line " + std::to_string(100000 + i) + "\r\n";
    }
    close_unit(50);
    EXPECT_EQ(read_file("big.txt"), expected);

    // Connected for writing too, but only read, stepped back and rewound: nothing is cut.
    write_file("f.txt", old_contents);
    ASSERT_EQ(open_file(50, "f.txt"), 0);
    EXPECT_EQ(next_record(50), "1111111111");
    ASSERT_EQ(units::backspace_unit(50), units::outcome_ok);
    ASSERT_EQ(units::rewind_unit(50), units::outcome_ok);
    close_unit(50);
    EXPECT_EQ(read_file("f.txt"), old_contents);

    ASSERT_EQ(open_code({.unit = 50, .file = "f.txt", .position = "APPEND"}), 0);
    put_record(50, "four");
    close_unit(50);
    ASSERT_EQ(open_code({.unit = 50, .file = "f.txt", .access = "APPEND", .action = "WRITE"}), 0);
    put_record(50, "five");
    close_unit(50);
    EXPECT_EQ(read_file("f.txt"), old_contents + "four\r\nfive\r\n");
    expect_units_closed(50, 50);
}

}  // namespace
}  // namespace corvane::testing
