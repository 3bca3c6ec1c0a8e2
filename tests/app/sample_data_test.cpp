// The bundled sample data set must stay complete and consistent: a failed-QC line that
// names no record, or a data file out of order, would make extractions on the sample
// silently lose series or failed values.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path sample_dir = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample";

std::vector<std::string> lines_of(std::string_view name) {
    const std::string text = read_file((sample_dir / name).string());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

TEST(SampleDataSet, HasAllTwentyFiles) {
    for (std::string_view name :
         {"v2.temperature.inv", "v2.prcp.inv", "v2.prcp.adj.inv", "v2.slp.inv", "v2.country.codes",
          "v2.slp.country.codes", "v2.mean", "v2.mean_adj", "v2.min", "v2.min_adj", "v2.max", "v2.max_adj",
          "v2.prcp", "v2.prcp_adj", "v2.slp", "v2.mean.failed.qc", "v2.min.failed.qc", "v2.max.failed.qc",
          "v2.prcp.failed.qc", "v2.slp.failed.qc"}) {
        EXPECT_FALSE(lines_of(name).empty()) << name;
    }
}

TEST(SampleDataSet, InventoriesListEachStationOnceInOrder) {
    for (std::string_view name : {"v2.temperature.inv", "v2.prcp.inv", "v2.prcp.adj.inv", "v2.slp.inv"}) {
        std::string previous;
        for (const std::string& line : lines_of(name)) {
            ASSERT_GE(line.size(), 62u) << name;
            const std::string id = line.substr(0, 11);
            EXPECT_LT(previous, id) << name << ": " << line;
            previous = id;
        }
    }
}

// Each data file sorted by station, duplicate digit and year; each failed-QC line names a
// record of its data file whose value in that month is missing, in data-file order.
TEST(SampleDataSet, FailedValuesNameMissingValuesOfTheirDataFile) {
    for (std::string_view variable : {"v2.mean", "v2.min", "v2.max", "v2.prcp", "v2.slp"}) {
        SCOPED_TRACE(std::string(variable));
        using Key = std::tuple<std::string, char, std::string>;  // station, duplicate digit, year
        std::map<Key, std::size_t> index;
        const std::vector<std::string> records = lines_of(variable);
        Key previous;
        for (std::size_t r = 0; r < records.size(); ++r) {
            const std::string& line = records[r];
            ASSERT_EQ(line.size(), 76u) << line;
            const Key key{line.substr(0, 11), line[11], line.substr(12, 4)};
            if (r > 0) {
                EXPECT_LT(previous, key) << line;
            }
            previous = key;
            index[key] = r;
        }
        std::size_t last_record = 0;
        int last_month = 0;
        for (const std::string& line : lines_of(std::string(variable) + ".failed.qc")) {
            ASSERT_EQ(line.size(), 26u) << line;
            const auto at = index.find(Key{line.substr(0, 11), line[11], line.substr(13, 4)});
            ASSERT_NE(at, index.end()) << "no record for " << line;
            const int month = std::stoi(line.substr(17, 3));
            ASSERT_TRUE(month >= 1 && month <= 12) << line;
            EXPECT_EQ(records[at->second].substr(16 + 5 * (month - 1), 5), "-9999") << line;
            EXPECT_TRUE(at->second > last_record || (at->second == last_record && month > last_month)) << line;
            last_record = at->second;
            last_month = month;
        }
    }
}

}  // namespace
}  // namespace corvane::testing
