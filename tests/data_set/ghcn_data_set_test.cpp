// The benchmark's generated data set must be the same for the same seed (figures measured
// on it are compared across machines) and must have the features the extraction depends
// on: sorted series, failed values that name a missing value of their data file, duplicate
// series and stations that the inventory does not list.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "data_set/ghcn_data_set.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

data_set::DataSetOptions small_set(const fs::path& dir, std::uint64_t seed) {
    return {.directory = dir.string(),
            .country_list = std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v2-sample/v2.country.codes",
            .seed = seed,
            .scale = data_set::Scale::small};
}

std::vector<std::string> lines_of(const fs::path& path) {
    const std::string text = read_file(path.string());
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(GeneratedDataSet, DependsOnlyOnTheSeed) {
    ScratchDirectory scratch;
    const fs::path root = scratch.path();
    data_set::DataSetSummary summary;
    std::string error;
    for (auto [name, seed] : {std::pair{"a", 5}, std::pair{"b", 5}, std::pair{"c", 6}})
        ASSERT_TRUE(data_set::generate_data_set(small_set(root / name, seed), summary, error)) << error;
    int files = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(root / "a")) {
        const fs::path name = e.path().filename();
        EXPECT_EQ(read_file(e.path().string()), read_file((root / "b" / name).string())) << name;
        ++files;
    }
    EXPECT_EQ(files, 20);
    EXPECT_NE(read_file((root / "a" / "v2.mean").string()), read_file((root / "c" / "v2.mean").string()));
}

TEST(GeneratedDataSet, HasTheFeaturesOfTheRealOne) {
    ScratchDirectory scratch;
    data_set::DataSetSummary summary;
    std::string error;
    ASSERT_TRUE(data_set::generate_data_set(small_set(scratch.path(), 1), summary, error)) << error;
    const fs::path dir = scratch.path();
    EXPECT_EQ(lines_of(dir / "v2.prcp.inv").size(), 200u);

    const char* data_files[] = {"v2.mean", "v2.min", "v2.max", "v2.prcp", "v2.slp"};
    for (const char* name : data_files) {
        SCOPED_TRACE(name);
        std::set<std::string> inventory_ids;
        const std::string inventory = std::string(name) == "v2.prcp" ? "v2.prcp.inv"
                                    : std::string(name) == "v2.slp"  ? "v2.slp.inv" : "v2.temperature.inv";
        for (const std::string& line : lines_of(dir / inventory)) inventory_ids.insert(line.substr(0, 11));

        std::map<std::tuple<std::string, char, std::string>, std::string> records;  // id, digit, year
        std::string previous;
        int duplicates = 0, orphans = 0;
        for (const std::string& line : lines_of(dir / name)) {
            ASSERT_EQ(line.size(), 76u) << line;
            EXPECT_LT(previous, line.substr(0, 16)) << "out of order: " << line;
            if (previous.substr(0, 11) == line.substr(0, 11) && previous[11] != line[11]) ++duplicates;
            if (previous.substr(0, 11) != line.substr(0, 11) && !inventory_ids.contains(line.substr(0, 11))) ++orphans;
            previous = line.substr(0, 16);
            records[{line.substr(0, 11), line[11], line.substr(12, 4)}] = line;
        }
        EXPECT_GT(duplicates, 0);
        EXPECT_GT(orphans, 0);

        const std::vector<std::string> failed = lines_of(dir / (std::string(name) + ".failed.qc"));
        EXPECT_FALSE(failed.empty());
        for (const std::string& line : failed) {
            ASSERT_EQ(line.size(), 26u) << line;
            const auto record = records.find({line.substr(0, 11), line[11], line.substr(13, 4)});
            ASSERT_NE(record, records.end()) << "names no record: " << line;
            const int month = std::stoi(line.substr(17, 3));
            EXPECT_EQ(record->second.substr(16 + 5 * (month - 1), 5), "-9999") << line;
        }
    }
}

}  // namespace
}  // namespace corvane::testing
