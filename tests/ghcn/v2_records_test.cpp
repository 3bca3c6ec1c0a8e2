// Reading the data and failed-QC records: a whole record is data, with or without a line
// end at the end of the file; a record cut short of the columns its format reads is
// unreadable, wherever it stands, and never data with blanks for the missing fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ghcn/v2_records.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"
#include "units/statement_context.hpp"

namespace corvane::ghcn {
namespace {

constexpr int records_unit = 30;
const std::string whole_a = "5079378000001937  100  110  120  130  140  150  160  170  180  190  200-9999";
const std::string whole_b = "5079378000001938  101  111  121  131  141  151  161  171  181  191  201  211";
const std::string failed_a = "507937800000 1937  4   520";

const ReadOutcome record = units::outcome_ok, end = units::outcome_end, error = units::outcome_error;

struct Case {
    const char* name;
    std::string text;
    std::vector<ReadOutcome> reads;
    std::int32_t last_station;  // what the last READ stored
};

template <class Record, class Reader>
void run_case(const Case& c, Reader read_next, std::int32_t Record::*station) {
    SCOPED_TRACE(c.name);
    testing::ScratchDirectory dir;
    testing::write_file("records", c.text);
    open_records_file(records_unit, "records");
    Record r;
    for (std::size_t i = 0; i < c.reads.size(); ++i) {
        const auto outcome = read_next(records_unit, r);
        EXPECT_EQ(outcome, c.reads[i]) << "read " << i + 1;
        if (outcome != record) break;
    }
    EXPECT_EQ(r.*station, c.last_station);
    units::close_unit(records_unit);
}

TEST(V2Records, DataRecordsAreWholeOrUnreadable) {
    const Case cases[] = {
        {"two_lines", whole_a + "\n" + whole_b + "\n", {record, record, end}, 93780000},
        {"no_line_end_at_the_end", whole_a + "\n" + whole_b, {record, record, end}, 93780000},
        {"cr_lf_line_ends", whole_a + "\r\n" + whole_b + "\r\n", {record, record, end}, 93780000},
        {"longer_than_its_format", whole_a + "   EXTRA\n", {record, end}, 93780000},
        {"cut_at_40_in_the_middle", whole_a.substr(0, 40) + "\n" + whole_b + "\n", {error}, 93780000},
        {"cut_inside_the_last_value", whole_a.substr(0, 75) + "\n" + whole_b + "\n", {error}, 93780000},
        {"cut_at_the_end_of_the_file", whole_a + "\n" + whole_b.substr(0, 40), {record, error}, 93780000},
        {"empty_line_in_the_middle", whole_a + "\n\n" + whole_b + "\n", {record, error}, 93780000},
    };
    for (const Case& c : cases) run_case(c, read_data_record, &DataRecord::rec_station_id);
}

TEST(V2Records, AWholeDataRecordKeepsEveryField) {
    testing::ScratchDirectory dir;
    testing::write_file("records", whole_a);
    open_records_file(records_unit, "records");
    DataRecord r;
    ASSERT_EQ(read_data_record(records_unit, r), record);
    EXPECT_EQ(r.rec_country, 507);
    EXPECT_EQ(r.rec_station_id, 93780000);
    EXPECT_EQ(r.rec_duplicate, 0);
    EXPECT_EQ(r.rec_year, 1937);
    EXPECT_EQ(r.rec_values[0], 100);
    EXPECT_EQ(r.rec_values[11], missing_value);
    units::close_unit(records_unit);
}

TEST(V2Records, FailedQcRecordsAreWholeOrUnreadable) {
    const Case cases[] = {
        {"one_line", failed_a + "\n", {record, end}, 93780000},
        {"no_line_end_at_the_end", failed_a, {record, end}, 93780000},
        {"cut_in_the_value", failed_a.substr(0, 22) + "\n" + failed_a + "\n", {error}, 93780000},
        {"cut_in_the_year", failed_a + "\n" + failed_a.substr(0, 15) + "\n", {record, error}, 93780000},
    };
    for (const Case& c : cases) run_case(c, read_failed_record, &FailedRecord::fail_station_id);
}

TEST(V2Records, AnInventoryLineGivesItsFields) {
    std::string text = "50793780000 CHRISTCHURCH";
    text.resize(inventory_lat_first - 1, ' ');
    text += "-43.48  172.55   34   10U  334FLxxno-9x-9COOL FIELD/WOODS  C";
    const InventoryLine line(text);
    InventoryStation s;
    read_inventory_line(line, s);
    EXPECT_EQ(s.country, 507);
    EXPECT_EQ(s.id, 93780000);
    EXPECT_EQ(s.name.trimmed().substr(1), "CHRISTCHURCH");
    EXPECT_FLOAT_EQ(s.lat, -43.48f);
    EXPECT_FLOAT_EQ(s.lon, 172.55f);
    EXPECT_EQ(s.elevation, 34);
}

}  // namespace
}  // namespace corvane::ghcn
