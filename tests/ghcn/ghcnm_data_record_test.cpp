// The data record: values and flags as the file holds them, exact decimals, and every kind
// of malformed record named by its field rather than read as something else.
#include <gtest/gtest.h>

#include <string>

#include "ghcn/ghcnm_data_record.hpp"

namespace corvane::testing {
namespace {

using ghcn::GhcnmRecord;

// A well-formed record: January 12.34 flagged a/O/W, February missing with blank flags,
// the rest 0.05 below zero with a source flag only.
std::string good_record() {
    std::string line = "GME71968102" "1998" "TAVG" " 1234aOW" "-9999   ";
    for (int m = 2; m < 12; ++m) line += "   -5  U";
    return line;
}

bool parse(std::string line, GhcnmRecord& record, std::string& field, std::string& what) {
    return ghcn::parse_data_record(line.data(), line.size(), record, field, what);
}

TEST(GhcnmDataRecord, ReadsValuesAndTheThreeFlagsOfEveryMonth) {
    GhcnmRecord r;
    std::string field, what;
    ASSERT_TRUE(parse(good_record(), r, field, what)) << field << ": " << what;
    EXPECT_EQ(r.id, "GME71968102");
    EXPECT_EQ(r.year, 1998);
    EXPECT_EQ(r.element, "TAVG");
    EXPECT_EQ(r.months[0].hundredths, 1234);
    EXPECT_EQ(std::string({r.months[0].dmflag, r.months[0].qcflag, r.months[0].dsflag}), "aOW");
    EXPECT_EQ(r.months[1].hundredths, ghcn::missing_value);
    EXPECT_EQ(std::string({r.months[1].dmflag, r.months[1].qcflag, r.months[1].dsflag}), "   ");
    EXPECT_EQ(r.months[11].hundredths, -5);
    EXPECT_EQ(r.months[11].dsflag, 'U');
}

TEST(GhcnmDataRecord, MalformedRecordsNameTheirField) {
    struct Case {
        const char* label;
        std::size_t column;  // 1-based column where `text` replaces the record's characters
        std::string text;
        std::size_t cut;  // 0: keep the length; else the record's length
        const char* field;
    };
    const Case cases[] = {
        {"letters in a value", 28, "12a4 ", 0, "VALUE2"},
        {"a blank value field", 20, "     ", 0, "VALUE1"},
        {"a blank inside a value", 100, "1 234", 0, "VALUE11"},
        {"a lone minus sign", 108, "    -", 0, "VALUE12"},
        {"a plus sign", 36, "+1234", 0, "VALUE3"},
        {"a blank between the minus and the digits", 44, " - 12", 0, "VALUE4"},
        {"a minus after the digits", 52, "  12-", 0, "VALUE5"},
        {"a blank after the digits", 60, " 123 ", 0, "VALUE6"},
        {"two minus signs", 68, " --12", 0, "VALUE7"},
        {"letters in the year", 12, "19X8", 0, "YEAR"},
        {"an unknown element", 16, "PRCP", 0, "ELEMENT"},
        {"a lower-case identifier", 1, "gm", 0, "ID"},
        {"cut short inside a value", 1, "", 60, "VALUE6"},
        {"cut short before a flag", 1, "", 80, "DMFLAG8"},
        {"cut short after the element", 1, "", 19, "VALUE1"},
        {"cut short inside the identifier", 1, "", 5, "ID"},
        {"an empty line", 1, "", -1u, "ID"},
    };
    for (const Case& c : cases) {
        std::string line = good_record();
        line.replace(c.column - 1, c.text.size(), c.text);
        if (c.cut == -1u) line.clear();
        else if (c.cut) line.resize(c.cut);
        GhcnmRecord r;
        std::string field, what;
        EXPECT_FALSE(parse(line, r, field, what)) << c.label;
        EXPECT_EQ(field, c.field) << c.label << ": " << what;
        EXPECT_FALSE(what.empty()) << c.label;
    }
}

TEST(GhcnmDataRecord, EveryRightAlignedShapeOfAValueIsTaken) {
    const std::pair<const char*, std::int32_t> values[] = {
        {"    0", 0}, {"    7", 7}, {"   -7", -7}, {"-9999", -9999}, {"99999", 99999}, {" -123", -123}, {"00012", 12},
    };
    for (const auto& [text, hundredths] : values) {
        std::string line = good_record();
        line.replace(19, 5, text);
        GhcnmRecord r;
        std::string field, what;
        ASSERT_TRUE(parse(line, r, field, what)) << text << ": " << field << ' ' << what;
        EXPECT_EQ(r.months[0].hundredths, hundredths) << text;
    }
}

TEST(GhcnmDataRecord, TextPastTheLastFlagIsRefusedButTrailingBlanksAreNot) {
    GhcnmRecord r;
    std::string field, what;
    EXPECT_TRUE(parse(good_record() + "   ", r, field, what)) << what;
    EXPECT_FALSE(parse(good_record() + "  7", r, field, what));
    EXPECT_NE(what.find("past column 115"), std::string::npos) << what;
}

TEST(GhcnmDataRecord, HundredthsAreWrittenAsTheirExactDecimal) {
    const std::pair<int, const char*> cases[] = {
        {1234, "12.34"}, {-5, "-0.05"}, {5, "0.05"}, {0, "0.00"}, {-1230, "-12.30"},
        {-100, "-1.00"}, {99999, "999.99"}, {-9998, "-99.98"}, {ghcn::missing_value, ""},
    };
    for (auto [hundredths, text] : cases) EXPECT_EQ(ghcn::degrees_text(hundredths), text) << hundredths;
}

}  // namespace
}  // namespace corvane::testing
