// The values of corvane-extract's options: what is accepted, what it becomes, and that a
// refusal says what is expected.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "extract/argument_values.hpp"

namespace corvane::extract {
namespace {

template <class T>
std::optional<T> value(const Parsed<T>& p) {
    if (!parsed_ok(p)) return std::nullopt;
    return std::get<T>(p);
}

template <class T>
std::string refusal(const Parsed<T>& p) {
    return parsed_ok(p) ? std::string() : std::get<std::string>(p);
}

struct IntCase {
    std::string_view text;
    std::optional<std::int32_t> expected;  // nothing: refused
};

TEST(ArgumentValues, VariableByNameOrMenuNumber) {
    const IntCase cases[] = {
        {"mean", 1}, {"mean-adj", 2}, {"min", 3}, {"min-adj", 4}, {"max", 5}, {"max-adj", 6},
        {"prcp", 7}, {"prcp-adj", 8}, {"slp", 9}, {"1", 1}, {"9", 9},
        {"0", {}}, {"10", {}}, {"Mean", {}}, {"mean_adj", {}}, {"", {}}, {" 1", {}}, {"temperature", {}},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Parsed<std::int32_t> p = parse_variable(c.text);
        EXPECT_EQ(value(p), c.expected);
        if (!c.expected) {
            EXPECT_EQ(refusal(p).rfind("expected one of mean,", 0), 0u) << refusal(p);
        }
    }
}

TEST(ArgumentValues, CountryCodeOfUpToThreeDigits) {
    const IntCase cases[] = {
        {"507", 507}, {"7", 7}, {"007", 7}, {"998", 998},
        {"999", {}}, {"0", {}}, {"000", {}}, {"1000", {}}, {"-5", {}}, {"+5", {}}, {"5a", {}}, {"", {}},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(value(parse_country(c.text)), c.expected);
    }
}

TEST(ArgumentValues, CoordinatesInHundredths) {
    struct Case {
        std::string_view text;
        std::int32_t limit;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {"24.5", 90, 2450}, {"-116.50", 180, -11650}, {"0", 90, 0}, {"-0.01", 90, -1}, {"+12.34", 90, 1234},
        {".5", 90, 50}, {"7.", 90, 700}, {"90", 90, 9000}, {"-90.00", 90, -9000}, {"180", 180, 18000},
        {"90.01", 90, {}}, {"-180.01", 180, {}}, {"181", 180, {}}, {"1.234", 90, {}}, {"1e2", 180, {}},
        {"", 90, {}}, {".", 90, {}}, {"-", 90, {}}, {"1,5", 90, {}}, {"--1", 90, {}}, {"1000", 180, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(value(parse_hundredths(c.text, c.limit)), c.expected);
    }
    EXPECT_EQ(refusal(parse_hundredths("91", 90)), "expected a number from -90 to 90 with at most two decimals");
}

TEST(ArgumentValues, BoxOfFourBounds) {
    const Parsed<Box> dateline = parse_box("75,-50,-135,135");
    ASSERT_TRUE(parsed_ok(dateline)) << refusal(dateline);
    const Box b = std::get<Box>(dateline);
    EXPECT_EQ(b.north, 7500);
    EXPECT_EQ(b.south, -5000);
    EXPECT_EQ(b.east, -13500);  // east below west: the box crosses 180 degrees
    EXPECT_EQ(b.west, 13500);
    EXPECT_TRUE(parsed_ok(parse_box("10,10,5,5")));  // a line and a meridian: allowed

    struct Refused {
        std::string_view text;
        std::string_view reason_starts;
    };
    const Refused refused[] = {
        {"1,2,3", "expected NORTH,SOUTH,EAST,WEST"},
        {"1,2,3,4,5", "expected NORTH,SOUTH,EAST,WEST"},
        {"", "expected NORTH,SOUTH,EAST,WEST"},
        {"95,0,1,2", "NORTH: expected a number from -90 to 90"},
        {"0,-91,1,2", "SOUTH: expected a number from -90 to 90"},
        {"0,0,181,2", "EAST: expected a number from -180 to 180"},
        {"0,0,1,2.001", "WEST: expected a number"},
        {"0,0,,2", "EAST: expected a number"},
        {"10,20,1,2", "expected NORTH not below SOUTH"},
    };
    for (const Refused& r : refused) {
        SCOPED_TRACE(std::string(r.text));
        EXPECT_EQ(refusal(parse_box(r.text)).rfind(r.reason_starts, 0), 0u) << refusal(parse_box(r.text));
    }
}

TEST(ArgumentValues, ElevationRangeAndMissingElevations) {
    struct Case {
        std::string_view text;
        bool ok;
        std::int32_t min = 0, max = 0;
    };
    const Case cases[] = {
        {"0,500", true, 0, 500}, {"-999,9999", true, -999, 9999}, {"63,63", true, 63, 63}, {"+5,10", true, 5, 10},
        {"500,0", false}, {"0,10000", false}, {"-1000,0", false}, {"0", false}, {"0,1,2", false},
        {"a,b", false}, {"1.5,2", false}, {",5", false}, {"+-5,10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        const Parsed<ElevationRange> p = parse_elevation(c.text);
        ASSERT_EQ(parsed_ok(p), c.ok) << refusal(p);
        if (c.ok) {
            EXPECT_EQ(std::get<ElevationRange>(p).min, c.min);
            EXPECT_EQ(std::get<ElevationRange>(p).max, c.max);
        } else {
            EXPECT_EQ(refusal(p).rfind("expected MIN,MAX", 0), 0u);
        }
    }
    EXPECT_EQ(value(parse_missing_elevation("reject")), true);
    EXPECT_EQ(value(parse_missing_elevation("keep")), false);
    EXPECT_EQ(refusal(parse_missing_elevation("ask")), "expected reject or keep");
}

// The answer the dialogue would have been given: two decimals, right-justified.
TEST(ArgumentValues, HundredthsAsTheTypedAnswer) {
    EXPECT_EQ(hundredths_text(-13500, 7), "-135.00");
    EXPECT_EQ(hundredths_text(2450, 6), " 24.50");
    EXPECT_EQ(hundredths_text(-1, 6), " -0.01");
    EXPECT_EQ(hundredths_text(0, 6), "  0.00");
    EXPECT_EQ(hundredths_text(18000, 7), " 180.00");
    EXPECT_EQ(hundredths_text(-9000, 6), "-90.00");
}

}  // namespace
}  // namespace corvane::extract
