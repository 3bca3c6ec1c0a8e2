#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

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

}  // namespace
}  // namespace corvane::app
