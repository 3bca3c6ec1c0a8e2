// Statements whose format or data would run for ever or without bound: a format with no
// data descriptor for an item, nested repeats of control descriptors, positions and
// records past the longest record. Each ends at once with its condition.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/record_limits.hpp"

namespace corvane::fmtio {
namespace {

using testing::ScriptedConsole;

struct BoundCase {
    std::string_view format;
    int condition;
};

// The condition a WRITE of one integer (to an internal unit of 100 characters) and a READ
// of one (from an internal record) meet under `format`.
int write_condition(std::string_view format) {
    Text<100> record;
    std::int32_t status = 0;
    write(internal_unit(record), units::with_iostat(status), runtime_format(format), 5);
    return status;
}

int read_condition(std::string_view format) {
    const Text<100> record("12345");
    std::int32_t value = 0, status = 0;
    read(internal_unit(record), units::with_iostat(status), runtime_format(format), value);
    return status;
}

TEST(StatementBounds, FormatsThatWouldWalkForEverFailAtOnce) {
    const BoundCase cases[] = {
        // No data descriptor for the item: known from the compiled format.
        {"(73(73(373(73(73(x))))))", 10006},
        {"(32767(32767(32767(32767('a')))))", 10006},
        {"('only text')", 10006},
        // Nested repeats of controls that move nothing, before the item or after it.
        {"(32767(32767(32767(tl1))),i1)", 10006},
        {"(32767(32767(32767(sp,s))),i1)", 10006},
        {"(i1,32767(32767(32767(bn))))", 10006},
        // Positions past the longest record.
        {"(32767(32767(tr1000)),i1)", 10004},
        {"(i1,32767(32767(100x)))", 10004},
        {"(i1,32767(32767('.',50x)))", 10004},
    };
    for (const BoundCase& c : cases) {
        SCOPED_TRACE(std::string(c.format));
        EXPECT_EQ(write_condition(c.format), c.condition);
        EXPECT_EQ(read_condition(c.format), c.condition);
    }
    // Large counts that do reach their items are no fault.
    EXPECT_EQ(write_condition("(32767(:),i2)"), 0);
    EXPECT_EQ(write_condition("(1x,10001(32767()),i2)"), 0);  // groups that hold nothing
    EXPECT_EQ(read_condition("(32767(32767(32767(()))),i2)"), 0);
    EXPECT_EQ(read_condition("(t3,i2)"), 0);
}

TEST(StatementBounds, RecordsStayWithinTheLongestRecord) {
    ScriptedConsole console;
    const std::string longest(units::max_record_length, 'x');
    const std::string_view half(longest.data(), units::max_record_length / 2 + 1);
    std::int32_t status = 0;
    struct {
        std::string_view text;
        FormatArg format;
        int condition;
    } cases[] = {
        {longest, fmt<"(a)">, 0},
        {std::string_view(longest.data(), longest.size() - 1), fmt<"(1x,a)">, 0},
        {longest, fmt<"(1x,a)">, 10004},
        {half, fmt<"(a,a)">, 10004},
        {half, fmt<"(2(/,a))">, 0},  // two records of half the length each
    };
    for (const auto& c : cases) {
        console.clear();
        write(default_unit, units::with_iostat(status), c.format, c.text, c.text);
        EXPECT_EQ(status, c.condition) << c.text.size();
        // A failed record is not written at all; a good one whole.
        if (c.condition != 0) EXPECT_EQ(console.output(), "");
        else EXPECT_GE(console.output().size(), c.text.size());
    }
    // A width alone can pass the bound too.
    EXPECT_EQ(write_condition("(t16777214,i5)"), 10004);
}

}  // namespace
}  // namespace corvane::fmtio
