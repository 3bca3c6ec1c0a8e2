// Constant formats of data descriptors alone are followed by their laid-out pass, and
// internal READs of plain fields are compiled for their items: each must read and write what
// the same format compiled while the program runs does, item for item, condition for
// condition.
#include <gtest/gtest.h>

#include <array>
#include <complex>
#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"
#include "units/record_limits.hpp"

namespace corvane::fmtio {
namespace {

// A data record's items: an id, a year, an element, and three months of a value and its
// flags.
struct Record {
    Text<11> id;
    std::int32_t year = -1;
    Text<4> element;
    std::array<std::int32_t, 3> values{-1, -1, -1};
    std::array<Text<3>, 3> flags;
    std::int32_t status = -1;
    units::Outcome outcome = units::outcome_ok;

    bool operator==(const Record& o) const {
        return id.view() == o.id.view() && year == o.year && element.view() == o.element.view() &&
               values == o.values && flags[0].view() == o.flags[0].view() && flags[1].view() == o.flags[1].view() &&
               flags[2].view() == o.flags[2].view() && status == o.status && outcome == o.outcome;
    }
};

template <class Format>
Record read_record(std::string line, const Format& format) {
    Record r;
    const auto control = units::with_iostat(r.status) | on_err | on_end;
    r.outcome = read(internal_unit(line.data(), line.size()), control, format, r.id, r.year, r.element,
                     r.values[0], r.flags[0], r.values[1], r.flags[1], r.values[2], r.flags[2]);
    return r;
}

TEST(FormatPass, CompiledInternalReadsTakeWhatTheEngineTakes) {
    const std::string good = "AB0000000011990TAVG  123ABC  -45    9999   ";
    const std::string cases[] = {
        good,
        "AB0000000011990TAVG  1 3ABC  -45    9999   ",  // a blank inside a value: blanks are null
        "AB0000000011990TAVG     ABC  -45    9999   ",   // a blank value
        "AB0000000011990TAVG  +12ABC  -45    9999   ",  // a plus sign
        "AB0000000011990TAVG  1x3ABC  -45    9999   ",  // a letter: a condition
        "AB0000000011990TAVG  1.3ABC  -45    9999   ",  // a point under I: a condition
        "AB0000000011990TAVG  123ABC  -4",              // cut short inside a value: padded
        "AB0000000011990TAVG  123AB",                   // cut short inside a text
        "AB0000000011990T",                             // cut short before the values
        "",                                             // nothing at all
        "AB00000000119 0TAVG  123ABC  -45    9999   ",  // a blank inside the year
        "AB000000001\t990TAVG  123ABC  -45    9999   ", // a tab in the year
    };
    for (const std::string& line : cases) {
        const Record compiled = read_record(line, fmt<"(a11,i4,a4,3(i5,a3))">);
        const Record walked = read_record(line, runtime_format("(a11,i4,a4,3(i5,a3))"));
        EXPECT_TRUE(compiled == walked) << '"' << line << "\": status " << compiled.status << " against "
                                        << walked.status;
    }
    const Record r = read_record(good, fmt<"(a11,i4,a4,3(i5,a3))">);
    EXPECT_EQ(r.year, 1990);
    EXPECT_EQ(r.values, (std::array<std::int32_t, 3>{123, -45, 9999}));
    EXPECT_EQ(r.status, 0);
}

// Each statement written to a file of its own with both forms of the format; the files must
// match byte for byte, and read back alike.
TEST(FormatPass, ReversionArraysAndComplexItemsFollowThePassAsTheWalk) {
    testing::ScratchDirectory dir;
    const std::array<std::int32_t, 7> counts{1, -2, 30, 400, 5, 66, 7};
    const std::array<std::complex<float>, 3> points{{{1.5f, -2.25f}, {0, 10}, {-0.5f, 0.75f}}};
    const Text<3> tag{std::string_view("abc")};
    const std::int32_t three = 3;
    units::open_unit({.unit = 51, .file = "pass.txt", .status = "REPLACE"});
    units::open_unit({.unit = 52, .file = "walk.txt", .status = "REPLACE"});
    write(unit(51), fmt<"(i3,2(i4,i2))">, counts, three);
    write(unit(52), runtime_format("(i3,2(i4,i2))"), counts, three);
    write(unit(51), fmt<"(a2,6f6.2)">, tag, points);
    write(unit(52), runtime_format("(a2,6f6.2)"), tag, points);
    write(unit(51), fmt<"(i5)">, counts);
    write(unit(52), runtime_format("(i5)"), counts);
    units::close_unit(51);
    units::close_unit(52);
    const std::string written = testing::read_file("pass.txt");
    EXPECT_EQ(written, testing::read_file("walk.txt"));
    EXPECT_NE(written.find("  1  -230 400 5"), std::string::npos) << written;

    for (const char* file : {"pass.txt", "walk.txt"}) {
        units::open_unit({.unit = 53, .file = file, .status = "OLD"});
        std::array<std::int32_t, 7> again{};
        std::int32_t size = 0;
        Text<3> tag_again;
        std::array<std::complex<float>, 3> points_again{};
        std::array<std::int32_t, 7> counts_again{};
        EXPECT_EQ(read(unit(53), fmt<"(i3,2(i4,i2))">, again, size), units::outcome_ok) << file;
        EXPECT_EQ(read(unit(53), fmt<"(a2,6f6.2)">, tag_again, points_again), units::outcome_ok) << file;
        EXPECT_EQ(read(unit(53), fmt<"(i5)">, counts_again), units::outcome_ok) << file;
        units::close_unit(53);
        EXPECT_EQ(again, counts) << file;
        EXPECT_EQ(size, 3) << file;
        EXPECT_EQ(points_again, points) << file;
        EXPECT_EQ(counts_again, counts) << file;
        EXPECT_EQ(tag_again.view(), "ab ") << file;
    }
}

TEST(FormatPass, ARowLongerThanTheLongestRecordStopsTheRowsWhereTheWalkWould) {
    testing::ScratchDirectory dir;
    const std::string too_long(units::max_record_length + 1, 'x');
    const std::array<std::string_view, 4> rows = {"one", "two", too_long, "four"};
    std::int32_t together = 0, walked = 0;
    units::open_unit({.unit = 54, .file = "together.txt", .status = "REPLACE"});
    units::open_unit({.unit = 55, .file = "walked.txt", .status = "REPLACE"});
    EXPECT_EQ(run_text_statement(unit(54), units::with_iostat(together), FormatArg(fmt<"(a)">), rows),
              units::outcome_error);
    EXPECT_EQ(write(unit(55), units::with_iostat(walked), runtime_format("(a)"), rows[0], rows[1], rows[2], rows[3]),
              units::outcome_error);
    units::close_unit(54);
    units::close_unit(55);
    EXPECT_EQ(together, walked);
    EXPECT_EQ(together, units::condition::buffer_allocation);
    EXPECT_EQ(testing::read_file("together.txt"), testing::read_file("walked.txt"));
    EXPECT_EQ(testing::read_file("together.txt").find("four"), std::string::npos);
}

}  // namespace
}  // namespace corvane::fmtio
