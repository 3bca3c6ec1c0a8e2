// A WRITE of texts counted while the program runs: the same records, byte for byte, as
// the WRITEs of the texts one by one, the format reverting for each.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::fmtio {
namespace {

constexpr int together_unit = 42, one_by_one_unit = 43;

TEST(WriteTexts, OneStatementWritesTheRecordsOfOneWritePerText) {
    testing::ScratchDirectory dir;
    const std::string long_row(70000, 'x');  // longer than a unit's first buffer
    const std::vector<std::vector<std::string_view>> runs = {
        {"station,year,month", "AB000000001,1990,1,12.34,,,", "", "last"}, {}, {long_row, "after"}};
    units::open_unit({.unit = together_unit, .file = "together.csv", .status = "REPLACE"});
    units::open_unit({.unit = one_by_one_unit, .file = "one_by_one.csv", .status = "REPLACE"});
    for (const auto& texts : runs) {
        EXPECT_EQ(write_texts(unit(together_unit), fmt<"(a)">, texts), units::outcome_ok);
        for (std::string_view text : texts) write(unit(one_by_one_unit), fmt<"(a)">, text);
        if (texts.empty()) write(unit(one_by_one_unit), fmt<"(a)">);  // no items: an empty record
        EXPECT_EQ(write_texts(unit(together_unit), fmt<"('[',a,']')">, texts), units::outcome_ok);
        for (std::string_view text : texts) write(unit(one_by_one_unit), fmt<"('[',a,']')">, text);
        if (texts.empty()) write(unit(one_by_one_unit), fmt<"('[',a,']')">);
    }
    units::close_unit(together_unit);
    units::close_unit(one_by_one_unit);
    EXPECT_EQ(testing::read_file("together.csv"), testing::read_file("one_by_one.csv"));
    EXPECT_NE(testing::read_file("together.csv").find("[AB000000001,1990,1,12.34,,,]"), std::string::npos);
}

TEST(WriteTexts, AFailedRecordEndsTheStatementWithItsCondition) {
    testing::ScratchDirectory dir;
    Text<8> target;
    const std::array<std::string_view, 2> texts = {"one", "two"};
    std::int32_t status = 0;
    // An internal unit is one record: the second text would need another.
    EXPECT_EQ(run_text_statement(internal_unit(target), units::with_iostat(status),
                                 FormatArg(fmt<"(a)">), texts),
              units::outcome_error);
    EXPECT_EQ(status, 10024);
}

}  // namespace
}  // namespace corvane::fmtio
