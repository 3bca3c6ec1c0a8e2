// The selection rules that the dialogue, corvane-extract and the station map share: the
// area test across the 180 degree meridian, the missing elevations, the 0..360 longitudes.
#include <gtest/gtest.h>

#include "ghcn/selection_rules.hpp"

namespace corvane::ghcn {
namespace {

TEST(SelectionRules, ABoxCrossesTheDatelineWhenItsEastBoundLiesBelowItsWestBound) {
    const struct {
        float max_lon, min_lon;
        bool crosses;
    } cases[] = {
        {-135.0f, 135.0f, true},  // the dialogue's own example
        {10.0f, -10.0f, false},
        {5.0f, 5.0f, false},      // a box of one meridian
        {-180.0f, 180.0f, true},
        {180.0f, -180.0f, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(crosses_dateline(c.max_lon, c.min_lon), c.crosses) << c.max_lon << " " << c.min_lon;
    }
}

TEST(SelectionRules, LongitudesInABoxIncludeItsBoundsOnEitherSideOfTheDateline) {
    const struct {
        float lon, min_lon, max_lon;
        bool crosses, inside;
    } cases[] = {
        {0.0f, -10.0f, 10.0f, false, true},
        {-10.0f, -10.0f, 10.0f, false, true},
        {10.0f, -10.0f, 10.0f, false, true},
        {10.01f, -10.0f, 10.0f, false, false},
        {170.0f, -10.0f, 10.0f, false, false},
        // 135 east to 135 west, across 180.
        {135.0f, 135.0f, -135.0f, true, true},
        {180.0f, 135.0f, -135.0f, true, true},
        {-180.0f, 135.0f, -135.0f, true, true},
        {-135.0f, 135.0f, -135.0f, true, true},
        {0.0f, 135.0f, -135.0f, true, false},
        {134.99f, 135.0f, -135.0f, true, false},
        {-134.99f, 135.0f, -135.0f, true, false},
        // A longitude beyond 180 (already shifted) is outside a crossing box's eastern half.
        {190.0f, 135.0f, -135.0f, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(longitude_in_box(c.lon, c.min_lon, c.max_lon, c.crosses), c.inside)
            << c.lon << " in " << c.min_lon << ".." << c.max_lon << (c.crosses ? " across 180" : "");
    }
}

TEST(SelectionRules, OnlyTheMarkerStaysOutOfTheRangeTestWhileAllBelowMinus900AreUnknown) {
    const struct {
        std::int32_t elevation;
        bool unknown, range_tested;
    } cases[] = {
        {-999, true, false}, {-950, true, true}, {-901, true, true},
        {-900, false, true}, {0, false, true},   {4000, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(elevation_unknown(c.elevation), c.unknown) << c.elevation;
        EXPECT_EQ(elevation_takes_range_test(c.elevation), c.range_tested) << c.elevation;
    }
}

TEST(SelectionRules, OnlyWesternLongitudesMoveInto0To360) {
    const std::pair<float, float> cases[] = {
        {0.0f, 0.0f}, {0.01f, 0.01f}, {-0.01f, 359.99f}, {-75.5f, 284.5f}, {-180.0f, 180.0f}, {180.0f, 180.0f},
    };
    for (const auto& [lon, shifted] : cases) EXPECT_FLOAT_EQ(longitude_360(lon), shifted) << lon;
}

}  // namespace
}  // namespace corvane::ghcn
