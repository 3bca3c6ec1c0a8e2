// BACKSPACE on sequential formatted files: stepping back one record, also over records that
// straddle the 8192-byte blocks, many records in a row, after writing and on CR LF files.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.hpp"
#include "unit_test_support.hpp"

namespace corvane::testing {
namespace {

using units::backspace_unit;
using units::close_unit;

// Records of uneven lengths (0 to 700 characters) over six blocks: many straddle a block
// boundary, and the first two line feeds are the last bytes of the first two blocks.
std::vector<std::string> uneven_records() {
    std::vector<std::string> records{std::string(8191, '<'), std::string(8191, '>')};
    std::size_t total = 2 * 8192;
    for (int i = 0; total < 6 * 8192; ++i) {
        std::string r = std::to_string(i) + ":";
        r.resize(std::max<std::size_t>(1 + (i * 379) % 700, r.size()), static_cast<char>('a' + i % 26));
        if (i % 17 == 5) r.clear();
        total += r.size() + 1;
        records.push_back(r);
    }
    return records;
}

TEST(BackspaceTest, AtTheStartAfterTheFirstRecordAndAfterAnOpenLastLine) {
    ScratchDirectory dir;
    write_file("b.txt", "first\nsecond\nlast");
    ASSERT_EQ(open_file(65, "b.txt", "OLD"), 0);
    ASSERT_EQ(backspace_unit(65), units::outcome_ok);  // at the start nothing changes
    EXPECT_EQ(next_record(65), "first");
    ASSERT_EQ(backspace_unit(65), units::outcome_ok);
    EXPECT_EQ(next_record(65), "first");
    EXPECT_EQ(next_record(65), "second");
    EXPECT_EQ(next_record(65), "last");
    ASSERT_EQ(backspace_unit(65), units::outcome_ok);
    EXPECT_EQ(next_record(65), "last");
    for (int i = 0; i < 4; ++i) ASSERT_EQ(backspace_unit(65), units::outcome_ok);  // more than there are records
    EXPECT_EQ(next_record(65), "first");
    close_unit(65);
    EXPECT_EQ(backspace_unit(65), units::outcome_ok);  // unconnected: nothing to do
    expect_units_closed(65, 65);
}

TEST(BackspaceTest, AcrossBlockBoundariesForwardAndBackward) {
    ScratchDirectory dir;
    const std::vector<std::string> records = uneven_records();
    const std::size_t n = records.size();
    for (const std::string line_end : {"\n", "\r\n"}) {
        std::string text;
        for (const auto& r : records) text += r + line_end;
        write_file("blocks.txt", text);
        // Read k records, step back over the last one, read it and the next one again.
        for (std::size_t k = 1; k <= n; ++k) {
            ASSERT_EQ(open_file(66, "blocks.txt", "OLD", "READ"), 0);
            for (std::size_t i = 0; i < k; ++i) ASSERT_EQ(next_record(66), records[i]);
            ASSERT_EQ(backspace_unit(66), units::outcome_ok);
            EXPECT_EQ(next_record(66), records[k - 1]) << "after " << k << " records";
            EXPECT_EQ(next_record(66), k < n ? std::optional(records[k]) : std::nullopt);
            close_unit(66);
        }
        // Walk the whole file backwards: two steps back, one record forward.
        ASSERT_EQ(open_file(66, "blocks.txt", "OLD", "READ"), 0);
        while (next_record(66)) {}
        for (std::size_t i = n; i-- > 0;) {
            ASSERT_EQ(backspace_unit(66), units::outcome_ok);
            ASSERT_EQ(next_record(66), records[i]) << "walking back, record " << i;
            ASSERT_EQ(backspace_unit(66), units::outcome_ok);
        }
        // Many steps back in a row: read up to records[n / 2], step back n / 3 records.
        for (std::size_t i = 0; i <= n / 2; ++i) ASSERT_EQ(next_record(66), records[i]);
        for (std::size_t i = 0; i < n / 3; ++i) ASSERT_EQ(backspace_unit(66), units::outcome_ok);
        EXPECT_EQ(next_record(66), records[n / 2 + 1 - n / 3]);
        close_unit(66);
    }
    expect_units_closed(66, 66);
}

TEST(BackspaceTest, AfterWriting) {
    ScratchDirectory dir;
    ASSERT_EQ(open_file(68, "w.txt", "REPLACE"), 0);
    put_record(68, "r1");
    put_record(68, "r2");
    put_record(68, "r3");
    ASSERT_EQ(backspace_unit(68), units::outcome_ok);
    EXPECT_EQ(next_record(68), "r3");
    EXPECT_EQ(next_record(68), std::nullopt);
    ASSERT_EQ(backspace_unit(68), units::outcome_ok);
    ASSERT_EQ(backspace_unit(68), units::outcome_ok);
    put_record(68, "new");  // in place of r2: the file ends after it
    close_unit(68);
    EXPECT_EQ(read_file("w.txt"), "r1\r\nnew\r\n");

    ASSERT_EQ(open_file(68, "many.txt", "REPLACE"), 0);  // more than one buffer written
    for (int i = 0; i < 2000; ++i) put_record(68, "record " + std::to_string(i));
    for (int i = 0; i < 1500; ++i) ASSERT_EQ(backspace_unit(68), units::outcome_ok);
    EXPECT_EQ(next_record(68), "record 500");
    close_unit(68);
    expect_units_closed(68, 68);
}

}  // namespace
}  // namespace corvane::testing
