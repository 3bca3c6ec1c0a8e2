#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "app/search_report.hpp"
#include "app/select_stations.hpp"
#include "test_support.hpp"

namespace corvane::app {
namespace {

TEST(SelectStations, ACountryFileLongerThanTheListIsCutWithANote) {
    testing::ScratchDirectory dir;
    std::string codes;
    char line[64];
    for (int code = 100; code < 100 + 240; ++code) {
        std::snprintf(line, sizeof line, "%03d COUNTRY NUMBER %d\n", code, code);
        codes += line;
    }
    testing::write_file("v2.country.codes", codes);
    // Criterion 1; Return at the two pauses of the listing; country 333, the last one kept
    // (the 234th line); no longitude change; accept.
    testing::ScriptedConsole console("1\n\n\n333\nF\nT\n");
    auto criteria = std::make_unique<SelectionCriteria>();
    select_stations(*criteria, 1);

    EXPECT_EQ(criteria->country_code, 333);
    EXPECT_EQ(criteria->country_name.trimmed(), "COUNTRY NUMBER 333");
    EXPECT_EQ(criteria->selection_score, 1);
    const std::string& out = console.output();
    EXPECT_NE(out.find("\r\n    6 further lines of the country file are not listed\r\n"), std::string::npos);
    EXPECT_EQ(out.find("COUNTRY NUMBER 334"), std::string::npos);
    // 234 entries make 78 lines of three: the pauses come after the 40th and the 70th.
    EXPECT_NE(out.find(" Hit Return to see more"), std::string::npos);
}

// The answers of one pass that selects by area: the box, its confirmation, no longitude
// change, and the answer to the summary.
std::string area_pass(std::string_view max_lon, std::string_view min_lon, bool accept) {
    return "2\n10.00\n-10.00\n" + std::string(max_lon) + "\n" + std::string(min_lon) + "\nT\nF\n" +
           (accept ? "T\n" : "F\n");
}

TEST(SelectStations, TheDatelineFlagBelongsToTheAcceptedBox) {
    const struct {
        std::string answers;
        std::int32_t crosses_dateline;
        bool passes_at_100;  // a station at longitude 100, latitude 0
    } cases[] = {
        {area_pass("-135.00", "135.00", true), 1, false},
        // A dateline box rejected at the summary leaves nothing behind for the next box.
        {area_pass("-135.00", "135.00", false) + area_pass("20.00", "0.00", true), 0, false},
        // Equal bounds are a box of no width, not one around the world.
        {area_pass("100.00", "100.00", true), 0, true},
        {area_pass("20.00", "0.00", false) + area_pass("-135.00", "135.00", true), 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        testing::ScratchDirectory dir;
        testing::ScriptedConsole console(c.answers);
        auto criteria = std::make_unique<SelectionCriteria>();
        select_stations(*criteria, 1);
        EXPECT_EQ(criteria->crosses_dateline, c.crosses_dateline);
        EXPECT_EQ(criteria->selection_score, 1);
        EXPECT_EQ(station_selected(*criteria, 0, 0.0f, 100.0f, 0, StationName("TEST")), c.passes_at_100);
    }
}

}  // namespace
}  // namespace corvane::app
