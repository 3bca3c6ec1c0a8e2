// The fields of the CSV tables: station ids and quoting.
#include <gtest/gtest.h>

#include "extract/csv_tables.hpp"

namespace corvane::extract {
namespace {

TEST(CsvTables, StationIdIsCountryAndNumberInElevenDigits) {
    EXPECT_EQ(station_id_text(507, 93436001), "50793436001");
    EXPECT_EQ(station_id_text(101, 60355000), "10160355000");
    EXPECT_EQ(station_id_text(42, 5), "04200000005");
}

TEST(CsvTables, FieldsAreQuotedOnlyWhenTheyMustBe) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"WELLINGTON", "WELLINGTON"},
        {"CHATHAM ISLAN", "CHATHAM ISLAN"},
        {"", ""},
        {"ST. PAUL, ISLAND", "\"ST. PAUL, ISLAND\""},
        {"THE \"POINT\"", "\"THE \"\"POINT\"\"\""},
        {"A\nB", "\"A\nB\""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(csv_field(text), field) << text;
}

TEST(CsvTables, ALoneLineEndCharacterCommaOrQuoteAnywhereIsQuoted) {
    // A lone CR left bare would end the row for a reader that takes CR, LF or CR LF as a line end.
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"\r", "\"\r\""},          {"A\rB", "\"A\rB\""}, {"AB\r", "\"AB\r\""}, {"\rAB", "\"\rAB\""},
        {"A\r\nB", "\"A\r\nB\""}, {"\n", "\"\n\""},    {",", "\",\""},         {"\"", "\"\"\"\""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(csv_field(text), field) << text.size();
}

}  // namespace
}  // namespace corvane::extract
