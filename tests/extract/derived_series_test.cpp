// annual.csv and anomalies.csv, driven with tables of value rows as an extraction hands
// them on: the completeness rule, sums for precipitation with traces as 0 mm, normals that
// need enough years, exact decimals, and a base period without data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/annual_sink.hpp"
#include "extract/anomaly_sink.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

using corvane::testing::read_file;
using corvane::testing::ScratchDirectory;

ValueRow row(const std::string& series, int year, int month, std::optional<std::int64_t> value) {
    return {.series = series, .station = series.substr(0, 11), .year = year, .month = month, .value = value};
}

// A year of the series with the same value every month, but for the months left empty.
void add_year(std::vector<ValueRow>& rows, const std::string& series, int year, std::int64_t value,
              std::vector<int> empty_months = {}) {
    for (int m = 1; m <= 12; ++m) {
        const bool empty = std::find(empty_months.begin(), empty_months.end(), m) != empty_months.end();
        rows.push_back(row(series, year, m, empty ? std::nullopt : std::optional<std::int64_t>(value)));
    }
}

VariableInfo temperature(int decimals) {
    return {.version = decimals == 1 ? 2 : 4, .name = "tavg", .label = "TAVG", .unit = "degC", .decimals = decimals};
}

std::string run(SeriesSink& sink, const VariableInfo& variable, const std::vector<ValueRow>& rows, bool expect_ok = true) {
    sink.begin(variable);
    for (const ValueRow& r : rows) sink.value(r);
    std::string error;
    EXPECT_EQ(sink.finish(error), expect_ok) << error;
    return error;
}

TEST(AnnualSink, AYearCountsOnlyWithEnoughMonthsAndItsMeanIsExact) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "USW00014771", 2000, 1402);
    add_year(rows, "USW00014771", 2001, 1402, {1, 2, 3, 4, 5, 6});  // six months: mean 14.02
    rows[0].value = 1403;  // 2000: 11 x 14.02 + 14.03 -> 14.02083.. -> 14.021
    add_year(rows, "CA001234567", 2000, -5, {12});
    AnnualSink sink(6);
    run(sink, temperature(2), rows);
    EXPECT_EQ(read_file("annual.csv"),
              "series,year,value,months\r\n"
              "USW00014771,2000,14.021,12\r\n"
              "USW00014771,2001,14.020,6\r\n"
              "CA001234567,2000,-0.050,11\r\n");
    EXPECT_EQ(sink.years_written(), 3);
}

TEST(AnnualSink, TheDefaultTwelveMonthsDropsAnIncompleteYear) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "101603550000", 1990, 123, {7});
    add_year(rows, "101603550000", 1991, 124);
    AnnualSink sink(12);
    run(sink, temperature(1), rows);
    EXPECT_EQ(read_file("annual.csv"), "series,year,value,months\r\n101603550000,1991,12.40,12\r\n");
}

TEST(AnnualSink, PrecipitationIsSummedWithATraceAsZeroAndADuplicatedMonthOnce) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "425000000001", 1950, 105);  // 10.5 mm a month
    rows[3].value.reset();
    rows[3].trace = true;
    rows.push_back(row("425000000001", 1950, 1, 999));  // the year again: January counts once
    VariableInfo prcp = temperature(1);
    prcp.quantity = Quantity::precipitation;
    prcp.unit = "mm";
    AnnualSink sink(12);
    run(sink, prcp, rows);
    EXPECT_EQ(read_file("annual.csv"), "series,year,value,months\r\n425000000001,1950,115.50,12\r\n");
}

TEST(AnomalySink, AnomaliesAgainstTheBasePeriodNormalsWhereAMonthHasEnoughYears) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "USW00014771", 1961, 1000);
    add_year(rows, "USW00014771", 1962, 1003, {2});  // February has one base year only
    add_year(rows, "USW00014771", 1963, 1100, {5});
    AnomalySink sink(BasePeriod{.first = 1961, .last = 1962, .min_years = 2});
    run(sink, temperature(2), rows);
    const std::string csv = read_file("anomalies.csv");
    // January's normal is 10.015: 1961 -> -0.015, 1962 -> +0.015, 1963 -> 0.985.
    EXPECT_NE(csv.find("USW00014771,1961,1,-0.015\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("USW00014771,1962,1,0.015\r\n"), std::string::npos);
    EXPECT_NE(csv.find("USW00014771,1963,1,0.985\r\n"), std::string::npos);
    EXPECT_NE(csv.find("USW00014771,1961,2,\r\n"), std::string::npos) << "no normal for February";
    EXPECT_NE(csv.find("USW00014771,1963,2,\r\n"), std::string::npos);
    EXPECT_NE(csv.find("USW00014771,1963,5,\r\n"), std::string::npos) << "a missing value";
    EXPECT_TRUE(csv.starts_with("series,year,month,anomaly\r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 36);
    EXPECT_EQ(sink.counts().months_without_normal, 1);
    EXPECT_EQ(sink.counts().series_without_any_normal, 0);
    EXPECT_NE(sink.log_line().find("1 series-months without a normal"), std::string::npos) << sink.log_line();
}

TEST(AnomalySink, ADuplicatedStationYearCountsOnceTowardsTheNormal) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "USW00014771", 1961, 1000);
    add_year(rows, "USW00014771", 1961, 2000);  // the same year again: not a second base year
    AnomalySink two_years(BasePeriod{.first = 1961, .last = 1990, .min_years = 2});
    run(two_years, temperature(2), rows);
    EXPECT_EQ(two_years.counts().months_without_normal, 12);
    AnomalySink one_year(BasePeriod{.first = 1961, .last = 1990, .min_years = 1});
    run(one_year, temperature(2), rows);
    const std::string csv = read_file("anomalies.csv");
    EXPECT_NE(csv.find("USW00014771,1961,1,0.000\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("USW00014771,1961,1,10.000\r\n"), std::string::npos) << csv;
}

TEST(AnomalySink, SeriesWithoutEnoughBaseYearsAreCountedForTheLog) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "AAA00000001", 1961, 10);
    add_year(rows, "BBB00000001", 1950, 10);
    AnomalySink sink(BasePeriod{.first = 1961, .last = 1990, .min_years = 20});
    run(sink, temperature(2), rows);
    EXPECT_EQ(sink.counts().series, 2);
    EXPECT_EQ(sink.counts().series_without_any_normal, 2);
    EXPECT_EQ(sink.counts().months_without_normal, 24);
}

TEST(AnomalySink, ABasePeriodWithoutAnyValueIsAnError) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "AAA00000001", 1900, 10);
    AnomalySink sink(BasePeriod{.first = 1961, .last = 1990, .min_years = 1});
    const std::string error = run(sink, temperature(2), rows, false);
    EXPECT_EQ(error, "--anomalies 1961:1990: no selected series has a value in the base period");
}

TEST(DerivedSeries, ASeriesSplitInTheDataFileIsReported) {
    ScratchDirectory scratch;
    std::vector<ValueRow> rows;
    add_year(rows, "AAA00000001", 1961, 10);
    add_year(rows, "BBB00000001", 1961, 10);
    add_year(rows, "AAA00000001", 1962, 10);
    AnnualSink sink(12);
    const std::string error = run(sink, temperature(2), rows, false);
    EXPECT_NE(error.find("AAA00000001 are not together"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvane::extract
