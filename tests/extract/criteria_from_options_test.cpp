// The criteria corvane-extract hands to the search: what the dialogue would hold after the
// equivalent answers, and the country name its country step would take.
#include <gtest/gtest.h>

#include <string>

#include "extract/criteria_from_options.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

ExtractOptions options(std::optional<std::int32_t> country, std::optional<Box> box,
                       std::optional<ElevationRange> elevation) {
    ExtractOptions o;
    o.variable_choice = 1;
    o.country = country;
    o.box = box;
    o.elevation = elevation;
    return o;
}

TEST(CriteriaFromOptions, DigitsScoreAndFlagsInTheOrderCountryAreaElevation) {
    struct Case {
        const char* name;
        ExtractOptions o;
        std::string digits;
        int use_country, use_area, use_elevation;
    };
    const Case cases[] = {
        {"country", options(507, {}, {}), "1  ", 1, 0, 0},
        {"area", options({}, Box{100, -100, 200, -200}, {}), "2  ", 0, 1, 0},
        {"elevation", options({}, {}, ElevationRange{0, 100}), "3  ", 0, 0, 1},
        {"elevation and country", options(507, {}, ElevationRange{0, 100}), "13 ", 1, 0, 1},
        {"all three", options(700, Box{-6000, -8000, -13500, 13500}, ElevationRange{0, 100}), "123", 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const app::SelectionCriteria s = criteria_from(c.o, "NEW ZEALAND");
        EXPECT_EQ(std::string(s.criteria_digits.view()), c.digits);
        EXPECT_EQ(s.selection_score, c.use_country + c.use_area + c.use_elevation);
        EXPECT_EQ(s.use_country, c.use_country);
        EXPECT_EQ(s.use_area, c.use_area);
        EXPECT_EQ(s.use_elevation, c.use_elevation);
        EXPECT_EQ(s.country_name.trimmed(), c.use_country ? "NEW ZEALAND" : "");
    }
}

TEST(CriteriaFromOptions, BoundsAsTheDialogueReadsThem) {
    const app::SelectionCriteria dateline = criteria_from(options({}, Box{7500, -5000, -13500, 13500}, {}), "");
    EXPECT_EQ(dateline.max_lat, 75.0f);
    EXPECT_EQ(dateline.min_lat, -50.0f);
    EXPECT_EQ(dateline.max_lon, -135.0f);
    EXPECT_EQ(dateline.min_lon, 135.0f);
    EXPECT_EQ(dateline.crosses_dateline, 1) << "east below west";

    const app::SelectionCriteria odd = criteria_from(options({}, Box{2457, -1, -11653, -17999}, {}), "");
    EXPECT_EQ(odd.max_lat, 24.57f);
    EXPECT_EQ(odd.min_lat, -0.01f);
    EXPECT_EQ(odd.max_lon, -116.53f);
    EXPECT_EQ(odd.min_lon, -179.99f);
    EXPECT_EQ(odd.crosses_dateline, 0);

    EXPECT_EQ(criteria_from(options({}, Box{0, 0, 17000, 17000}, {}), "").crosses_dateline, 0) << "equal bounds";

    ExtractOptions o = options({}, {}, ElevationRange{-999, 9999});
    o.reject_missing_elevation = false;
    o.lon360 = true;
    const app::SelectionCriteria e = criteria_from(o, "");
    EXPECT_EQ(e.min_elevation, -999);
    EXPECT_EQ(e.max_elevation, 9999);
    EXPECT_FALSE(e.reject_missing_elevation);
    EXPECT_TRUE(e.transform_longitude);
    EXPECT_TRUE(criteria_from(options(1, {}, {}), "").reject_missing_elevation) << "rejecting is the default";
}

TEST(CriteriaFromOptions, CountryNameOfTheLastEntryWithTheCode) {
    testing::ScratchDirectory scratch;
    testing::write_file("v2.country.codes",
                        "507 NEW ZEALAND\n"
                        "541 SAMOA\n"
                        "507 NEW ZEALAND (ISLANDS)                   kept\n");
    testing::write_file("v2.slp.country.codes", "507 AOTEAROA\n");
    EXPECT_EQ(country_name(1, 507), "NEW ZEALAND (ISLANDS)                   ") << "characters 5 to 44";
    EXPECT_EQ(country_name(1, 541).value_or("").substr(0, 5), "SAMOA");
    EXPECT_EQ(country_name(1, 620), std::nullopt);
    EXPECT_EQ(country_name(9, 507).value_or("").substr(0, 8), "AOTEAROA") << "sea-level pressure has its own list";
}

}  // namespace
}  // namespace corvane::extract
