#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::fmtio {
namespace {

using testing::ScriptedConsole;

// Reads one item from a console line typed as `line`.
template <class Item>
Item typed(std::string line, const FormatArg& format, Item initial = Item{}) {
    ScriptedConsole console(line + "\n");
    Item value = initial;
    read(default_unit, format, value);
    return value;
}

// The condition a READ of `line` meets, caught in an iostat variable.
template <class Item>
std::int32_t condition_of(std::string input, const FormatArg& format) {
    ScriptedConsole console(std::move(input));
    Item value{};
    std::int32_t status = 0;
    read(default_unit, units::with_iostat(status), format, value);
    return status;
}

TEST(InputEditing, WorkedValuesAtThePrompts) {
    EXPECT_FLOAT_EQ(typed<float>("24.50", fmt<"(f6.2)">), 24.5f);
    EXPECT_FLOAT_EQ(typed<float>("2450", fmt<"(f6.2)">), 24.5f);
    EXPECT_FLOAT_EQ(typed<float>("24", fmt<"(f6.2)">), 0.24f);
    EXPECT_FLOAT_EQ(typed<float>("24.5", fmt<"(f6.2)">), 24.5f);  // short line: the rest is absent
    EXPECT_FLOAT_EQ(typed<float>("-116.5", fmt<"(f7.2)">), -116.5f);
    EXPECT_FLOAT_EQ(typed<float>("-11650", fmt<"(f7.2)">), -116.5f);
    EXPECT_FLOAT_EQ(typed<float>("5", fmt<"(f7.2)">), 0.05f);      // zeros added after the point
    EXPECT_EQ(typed<std::int32_t>("5", fmt<"(i1)">), 5);
    EXPECT_EQ(typed<std::int32_t>("12", fmt<"(i1)">), 1);          // only the first column
    EXPECT_EQ(typed<std::int32_t>(" 5", fmt<"(i1)">), 0);          // the field is the blank
    EXPECT_EQ(typed<std::int32_t>("", fmt<"(i1)">, 7), 0);         // an empty line reads 0
    EXPECT_FLOAT_EQ(typed<float>("", fmt<"(f6.2)">, 3.0f), 0.0f);
    EXPECT_EQ(condition_of<std::int32_t>("x\n", fmt<"(i1)">), 10016);
    EXPECT_EQ(condition_of<float>("1.5x\n", fmt<"(f6.2)">), 10016);
    EXPECT_EQ(condition_of<std::int32_t>("1.5\n", fmt<"(i4)">), 10016);
    // 24.50 and 2450 with two implied decimals give the same value, the one nearest 24.5.
    EXPECT_EQ(typed<float>("24.50", fmt<"(f6.2)">), typed<float>("2450", fmt<"(f6.2)">));
}

TEST(InputEditing, BlanksSignsAndBases) {
    EXPECT_EQ(typed<std::int32_t>("1 5", fmt<"(i3)">), 15);
    EXPECT_EQ(typed<std::int32_t>("1 5", fmt<"(bz,i3)">), 105);
    EXPECT_EQ(typed<std::int32_t>("12 ", fmt<"(bz,i3)">), 120);
    EXPECT_EQ(typed<std::int32_t>("-12", fmt<"(i3)">), -12);
    // Without a width, I takes 12 columns for a 4-byte item and 7 for a 2-byte one.
    EXPECT_EQ(typed<std::int32_t>("      1234567", fmt<"(i)">), 123456);
    EXPECT_EQ(typed<std::int16_t>("      1234567", fmt<"(i)">), 1);
    EXPECT_EQ(typed<std::int64_t>("      1234567", fmt<"(i)">), 123456);
    EXPECT_EQ(typed<std::int32_t>("+7", fmt<"(i3)">), 7);
    EXPECT_EQ(typed<std::int32_t>("101", fmt<"(b8)">), 5);
    EXPECT_EQ(typed<std::int32_t>("777", fmt<"(o8)">), 511);
    EXPECT_EQ(typed<std::int32_t>("fF", fmt<"(z8)">), 255);
    EXPECT_EQ(condition_of<std::int32_t>("2\n", fmt<"(b8)">), 10016);
    EXPECT_EQ(condition_of<std::int32_t>("-1\n", fmt<"(z8)">), 10016);  // no sign outside base 10
    // 32-bit accumulation wraps without an error; small items keep their low bits.
    EXPECT_EQ(typed<std::int32_t>("4294967297", fmt<"(i10)">), 1);
    EXPECT_EQ(typed<std::int8_t>("300", fmt<"(i3)">), 44);
    EXPECT_EQ(typed<std::int64_t>("9000000000", fmt<"(i10)">), 9000000000LL);
}

TEST(InputEditing, RealFieldsExponentsAndScale) {
    EXPECT_DOUBLE_EQ(typed<double>("1.5E3", fmt<"(f10.2)">), 1500.0);
    EXPECT_DOUBLE_EQ(typed<double>("1.5d-2", fmt<"(e10.2)">), 0.015);
    EXPECT_DOUBLE_EQ(typed<double>("1.5+3", fmt<"(f10.2)">), 1500.0);  // a sign alone starts the exponent
    EXPECT_DOUBLE_EQ(typed<double>("1.5q2", fmt<"(f10.2)">), 150.0);
    EXPECT_DOUBLE_EQ(typed<double>("2450", fmt<"(2p,f6.2)">), 0.245);   // divided by 10^k
    EXPECT_DOUBLE_EQ(typed<double>("1.0E2", fmt<"(2p,f6.2)">), 100.0);  // an exponent wins over k
    EXPECT_TRUE(std::isinf(typed<double>("-Inf", fmt<"(f6.2)">)));
    EXPECT_TRUE(std::isnan(typed<double>("NaN", fmt<"(f6.2)">)));
    EXPECT_TRUE(std::signbit(typed<float>("-0", fmt<"(f6.2)">)));
    EXPECT_DOUBLE_EQ(typed<double>(" 76.780", fmt<"(f7.2)">), 76.78);  // a typed point wins over d
}

TEST(InputEditing, CommasEndNumericFields) {
    ScriptedConsole console("5,7\n");
    std::int32_t a = 0, b = 0;
    read(default_unit, fmt<"(i4,i4)">, a, b);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 7);
}

TEST(InputEditing, CharacterAndLogicalFields) {
    EXPECT_EQ(typed<Text<3>>("abcde", fmt<"(a5)">).view(), "cde");  // the rightmost of a wider field
    EXPECT_EQ(typed<Text<3>>("abcd", fmt<"(a5)">).view(), "cd ");   // as far as the record holds them
    EXPECT_EQ(typed<Text<5>>("abcdef", fmt<"(a2)">).view(), "ab   ");
    EXPECT_EQ(typed<Text<3>>("1234", fmt<"(a)">).view(), "123");    // "(a)": the variable's length
    EXPECT_EQ(typed<Text<6>>("12", fmt<"(a)">).view(), "12    ");
    EXPECT_TRUE(typed<Logical>(" .true.", fmt<"(l7)">));
    EXPECT_TRUE(typed<Logical>("t", fmt<"(l1)">));
    EXPECT_FALSE(typed<Logical>("yes", fmt<"(l3)">));
    EXPECT_FALSE(typed<Logical>("", fmt<"(l3)">, Logical(true)));
}

// A field as long as its variable, wholly in the record, is copied directly; at the end
// of a short record it is padded as before.
TEST(InputEditing, CharacterFieldsAsLongAsTheirVariable) {
    const std::string line = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_EQ(typed<Text<1>>(line, fmt<"(a1)">).view(), "A");
    EXPECT_EQ(typed<Text<3>>(line, fmt<"(2x,a3)">).view(), "CDE");
    EXPECT_EQ(typed<Text<4>>(line, fmt<"(a)">).view(), "ABCD");
    EXPECT_EQ(typed<Text<8>>(line, fmt<"(a8)">).view(), "ABCDEFGH");
    EXPECT_EQ(typed<Text<11>>(line, fmt<"(t16,a11)">).view(), "PQRSTUVWXYZ");
    EXPECT_EQ(typed<Text<17>>(line, fmt<"(a17)">).view(), "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(typed<Text<17>>("ABCDEFGHIJ", fmt<"(a17)">).view(), "ABCDEFGHIJ       ");
    EXPECT_EQ(typed<Text<3>>("AB", fmt<"(a3)">).view(), "AB ");
    std::array<Text<3>, 4> flags;
    ScriptedConsole console(" 12ab  c  d-9efg\n");
    read(default_unit, fmt<"(4(1x,a3))">, flags);
    EXPECT_EQ(flags[0].view(), "12a");
    EXPECT_EQ(flags[1].view(), "  c");
    EXPECT_EQ(flags[2].view(), " d-");
    EXPECT_EQ(flags[3].view(), "efg");
}

TEST(InputEditing, ListDirectedValues) {
    {
        // Blank records before the first value are passed over; T, t and .T read as true.
        ScriptedConsole console("\n   \n  t\n");
        Logical answer;
        read(default_unit, list_directed, answer);
        EXPECT_TRUE(answer);
    }
    EXPECT_TRUE(typed<Logical>(".T", list_directed));
    EXPECT_FALSE(typed<Logical>("F", list_directed, Logical(true)));
    EXPECT_FALSE(typed<Logical>("1", list_directed, Logical(true)));
    {
        // Nulls keep the old values, a repeat count repeats, a slash ends the READ.
        ScriptedConsole console("1,,3*7, 2* ,'it''s' / 99\n");
        std::array<std::int32_t, 7> v{-1, -1, -1, -1, -1, -1, -1};
        Text<6> text;
        std::int32_t after = -1;
        read(default_unit, list_directed, v, text, after);
        EXPECT_EQ(v, (std::array<std::int32_t, 7>{1, -1, 7, 7, 7, -1, -1}));
        EXPECT_EQ(text.view(), "it's  ");
        EXPECT_EQ(after, -1);
    }
    {
        // Values continue on the next record; the rest of the last record is dropped.
        ScriptedConsole console("1.5\n-2 extra\n8\n");
        double x = 0;
        std::int32_t n = 0, next = 0;
        read(default_unit, list_directed, x, n);
        read(default_unit, list_directed, next);
        EXPECT_DOUBLE_EQ(x, 1.5);
        EXPECT_EQ(n, -2);
        EXPECT_EQ(next, 8);
    }
    EXPECT_EQ(condition_of<std::int32_t>("abc\n", list_directed), 10016);
    // A repeat count no 32-bit integer holds is an illegal repeat count.
    EXPECT_EQ(condition_of<Logical>("99999999999*T\n", list_directed), 10007);
    EXPECT_EQ(condition_of<std::int32_t>("2147483648*5\n", list_directed), 10007);
    EXPECT_TRUE(typed<Logical>("2147483647*T", list_directed));
    EXPECT_EQ(typed<std::int32_t>("0002*5", list_directed), 5);
}

TEST(InputEditing, EndOfInputIsAConditionNotAHang) {
    // An empty answer to a true/false prompt waits for a value; when none comes, end of file.
    EXPECT_EQ(condition_of<Logical>("\n\n", list_directed), -1);
    EXPECT_EQ(condition_of<std::int32_t>("", fmt<"(i1)">), -1);
    ScriptedConsole console("");
    std::int32_t n = 0;
    EXPECT_EQ(read(default_unit, on_end, fmt<"(i1)">, n), units::outcome_end);
    EXPECT_EQ(read(default_unit, on_err, fmt<"(i1)">, n), units::outcome_error);  // ERR catches it too
}

TEST(InputEditing, ShortRecordsWithoutPadding) {
    testing::ScratchDirectory dir;
    testing::write_file("short.txt", "12\n");
    ASSERT_EQ(units::open_unit({.unit = 31, .file = "short.txt", .status = "OLD", .pad = "NO"}), units::outcome_ok);
    std::int32_t n = 0, status = 0;
    EXPECT_EQ(read(unit(31), units::with_iostat(status), fmt<"(i4)">, n), units::outcome_error);
    EXPECT_EQ(status, 10038);
    units::close_unit(31);
}

TEST(InputEditing, LineCopyReadsLikeTheRecord) {
    // An inventory line read whole and re-read from its copy gives the fields of the line.
    const std::string line =
        "61710962000 HOHENPEISSENB                   47.80   11.02  986  719R   -9HIxxno-9x-9COOL CONIFER    A    8";
    testing::ScratchDirectory dir;
    testing::write_file("inv.txt", line + "\n");
    units::open_unit({.unit = 32, .file = "inv.txt", .status = "OLD", .action = "READ"});
    std::int32_t country = 0, id = 0, elevation = 0, c2 = 0, id2 = 0, e2 = 0;
    float lat = 0, lon = 0, lat2 = 0, lon2 = 0;
    Text<33> name, name2;
    read(unit(32), fmt<"20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)">, country, id, name, lat, lon, elevation);
    units::rewind_unit(32);
    Text<100> copy;
    read(unit(32), fmt<"(a)">, copy);
    read(internal_unit(copy), fmt<"20(I3,I8,A32,F6.2, 1X, F7.2, 1X, I4)">, c2, id2, name2, lat2, lon2, e2);
    units::close_unit(32);
    EXPECT_EQ(country, 617);
    EXPECT_EQ(id, 10962000);
    EXPECT_EQ(name.view(), " HOHENPEISSENB" + std::string(19, ' '));  // A32 into 33: a blank after
    EXPECT_FLOAT_EQ(lat, 47.8f);
    EXPECT_FLOAT_EQ(lon, 11.02f);
    EXPECT_EQ(elevation, 986);
    EXPECT_EQ(std::tie(country, id, elevation, lat, lon), std::tie(c2, id2, e2, lat2, lon2));
    EXPECT_EQ(name.view(), name2.view());
}

}  // namespace
}  // namespace corvane::fmtio
