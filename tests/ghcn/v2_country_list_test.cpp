// The country-code list: reading it, and the entry whose name a selection by code takes
// when the list repeats the code.
#include <gtest/gtest.h>

#include <memory>

#include "ghcn/v2_country_list.hpp"
#include "test_support.hpp"

namespace corvane::ghcn {
namespace {

TEST(CountryList, TheLastEntryWithACodeWinsAndAnAbsentCodeHasNone) {
    testing::ScratchDirectory dir;
    testing::write_file("v2.country.codes",
                        "101 ALGERIA\n"
                        "507 NEW ZEALAND\n"
                        "620 ICELAND\n"
                        "507 NEW ZEALAND (SECOND)\n"
                        " 42 SHORT CODE\n"
                        "507 NEW ZEALAND (LAST)\n");
    auto list = std::make_unique<CountryList>();
    read_country_list(*list, 1);
    ASSERT_EQ(list->count, 6);
    EXPECT_EQ(list->left_out, 0);
    const struct {
        std::int32_t code;
        int entry;
    } cases[] = {{507, 5}, {101, 0}, {620, 2}, {42, 4}, {999, no_entry}, {0, no_entry}};
    for (const auto& c : cases) EXPECT_EQ(winning_country_entry(*list, c.code), c.entry) << c.code;
    EXPECT_EQ(country_name_of(list->entries[5]).substr(0, 22), "NEW ZEALAND (LAST)    ");
}

TEST(CountryList, LinesBeyondTheCapacityAreCountedNotKept) {
    testing::ScratchDirectory dir;
    std::string text;
    for (int i = 0; i < country_capacity + 3; ++i) text += std::to_string(100 + i % 800) + " COUNTRY\n";
    testing::write_file("v2.slp.country.codes", text);
    auto list = std::make_unique<CountryList>();
    read_country_list(*list, 9);
    EXPECT_EQ(list->count, country_capacity);
    EXPECT_EQ(list->left_out, 3);
}

}  // namespace
}  // namespace corvane::ghcn
