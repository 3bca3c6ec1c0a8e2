// Label steps at several edge lengths and label sizes: neighbouring labels never touch, and
// typical edges get the steps a reader expects.
#include "app/axis_labels.hpp"

#include <gtest/gtest.h>

namespace corvane::app {
namespace {

TEST(AxisLabels, NeighboursStandApartAtEverySize) {
    for (double span : {360.0, 180.0, 90.0, 12.0}) {
        for (double length : {80.0, 150.0, 300.0, 600.0, 1200.0, 4800.0}) {
            for (double extent : {12.0, 30.0, 45.0}) {
                const int step = label_step(span, length, extent);
                if (step == 0) {  // not even two labels at the ends fit: none
                    EXPECT_LT(length, extent * 1.2);
                    continue;
                }
                const std::vector<int> degrees = label_degrees(-span / 2, span / 2, step);
                for (std::size_t i = 1; i < degrees.size(); ++i) {
                    const double apart = (degrees[i] - degrees[i - 1]) * length / span;
                    EXPECT_GE(apart, extent * 1.2) << span << ' ' << length << ' ' << extent;
                }
            }
        }
    }
}

TEST(AxisLabels, StepsForTypicalEdges) {
    const struct { double span, length, extent; int step; } cases[] = {
        {360, 1200, 40, 15}, {360, 600, 40, 30}, {360, 300, 40, 60}, {360, 150, 40, 180}, {360, 40, 40, 0}, {180, 400, 14, 10},
        {180, 100, 14, 45}, {20, 600, 40, 2}, {0, 100, 10, 0}, {360, 70, 40, 360}};
    for (const auto& c : cases) EXPECT_EQ(label_step(c.span, c.length, c.extent), c.step) << c.length;
}

TEST(AxisLabels, DegreesAreTheMultiplesOfTheStepInRange) {
    EXPECT_EQ(label_degrees(-180, 180, 90), (std::vector<int>{-180, -90, 0, 90, 180}));
    EXPECT_EQ(label_degrees(-47, 47, 30), (std::vector<int>{-30, 0, 30}));
    EXPECT_EQ(label_degrees(100, 260, 60), (std::vector<int>{120, 180, 240}));
    EXPECT_TRUE(label_degrees(1, 2, 0).empty());
    EXPECT_EQ(label_degrees(-89.9999999999, 89.9999999999, 90), (std::vector<int>{-90, 0, 90}));  // edges rounded inwards
}

}  // namespace
}  // namespace corvane::app
