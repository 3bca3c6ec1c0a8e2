// The values of the options that came with versions 3 and 4: what each accepts, and a
// refusal that says what is expected; and the exact decimals of the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/selection_arguments.hpp"
#include "extract/table_names.hpp"

namespace corvane::extract {
namespace {

template <class T>
std::string refusal(const Parsed<T>& p) {
    return parsed_ok(p) ? std::string() : std::get<std::string>(p);
}

TEST(SelectionArguments, RefusalsSayWhatIsAccepted) {
    struct Case {
        std::string what, refusal;
    };
    const std::vector<Case> cases = {
        {refusal(parse_near("91,0")), "expected a latitude from -90 to 90"},
        {refusal(parse_near("0,180.5")), "expected a longitude from -180 to 180"},
        {refusal(parse_near("12")), "expected LAT,LON, two decimal numbers in degrees"},
        {refusal(parse_near("12,3x")), "expected LAT,LON, two decimal numbers in degrees"},
        {refusal(parse_radius("0")), "expected a distance in kilometres above 0"},
        {refusal(parse_radius("-5")), "expected a distance in kilometres above 0"},
        {refusal(parse_radius("nan")), "expected a distance in kilometres above 0"},
        {refusal(parse_count("0", 100)), "expected a whole number from 1 to 100"},
        {refusal(parse_count("2.5", 100)), "expected a whole number from 1 to 100"},
        {refusal(parse_years("2000:1999")), "expected FIRST:LAST, two years of four digits, FIRST not after LAST"},
        {refusal(parse_years("2000-2010")), "expected FIRST:LAST, two years of four digits, FIRST not after LAST"},
        {refusal(parse_dataset("v5")), "expected v2, v3 or v4"},
        {refusal(parse_qc_policy("flag")), "expected drop or keep"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.what, c.refusal);
}

TEST(SelectionArguments, AcceptedValues) {
    const LatLon p = std::get<LatLon>(parse_near("-90,180"));
    EXPECT_EQ(p.latitude, -90);
    EXPECT_EQ(p.longitude, 180);
    EXPECT_EQ(std::get<double>(parse_radius("0.5")), 0.5);
    EXPECT_EQ(std::get<std::int32_t>(parse_count("12", 12)), 12);
    const YearWindow w = std::get<YearWindow>(parse_years("1990:1990"));
    EXPECT_EQ(w.first, 1990);
    EXPECT_EQ(w.last, 1990);
    EXPECT_EQ(std::get<int>(parse_dataset("v3")), 3);
    EXPECT_TRUE(std::get<bool>(parse_qc_policy("keep")));
}

TEST(SelectionArguments, VariablesBelongToTheirVersion) {
    EXPECT_TRUE(variable_of_edition(4, "tavg-adj-est"));
    EXPECT_FALSE(variable_of_edition(3, "tavg-adj-est"));
    EXPECT_TRUE(variable_of_edition(3, "tmin-adj"));
    EXPECT_FALSE(variable_of_edition(4, "tmin"));
    EXPECT_TRUE(variable_of_edition(2, "prcp"));
    EXPECT_FALSE(variable_of_edition(2, "tavg"));
    EXPECT_TRUE(parsed_ok(parse_any_variable("tmax")));
    EXPECT_EQ(refusal(parse_any_variable("temp")).rfind("expected one of mean,", 0), 0u);
}

TEST(TableDecimals, ExactDecimalsOfTheFilesDigits) {
    struct Case {
        std::int64_t value;
        int decimals;
        std::string text;
    };
    const std::vector<Case> cases = {{1234, 2, "12.34"}, {-5, 2, "-0.05"}, {0, 2, "0.00"},     {-1234, 2, "-12.34"},
                                     {123, 1, "12.3"},   {-5, 1, "-0.5"},  {9999, 2, "99.99"}, {7, 0, "7"}};
    for (const Case& c : cases) EXPECT_EQ(decimal_text(c.value, c.decimals), c.text) << c.value;
}

}  // namespace
}  // namespace corvane::extract
