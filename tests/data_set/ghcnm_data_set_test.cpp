// The bundled version 3 and 4 sample sets are what the generator writes with seed 17, so
// that they can be made again after a change and every reader test sees the cases the
// generator promises; the full-size set is left to the benchmark.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "data_set/ghcnm_data_set.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

void expect_same_files(const fs::path& bundled, const fs::path& made) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(bundled)) {
        const std::string name = entry.path().filename().string();
        if (name == "README.md") continue;
        ++files;
        ASSERT_TRUE(fs::exists(made / name)) << name;
        EXPECT_TRUE(read_file(entry.path().string()) == read_file((made / name).string())) << name;
    }
    EXPECT_EQ(files + 1, std::distance(fs::directory_iterator(bundled), fs::directory_iterator{}));
    EXPECT_EQ(files, std::distance(fs::directory_iterator(made), fs::directory_iterator{}));
}

TEST(GeneratedGhcnmSet, TheBundledSamplesAreTheGeneratorsOutput) {
    ScratchDirectory scratch;
    for (int edition : {3, 4}) {
        const std::string name = "ghcn-v" + std::to_string(edition) + "-sample";
        data_set::GhcnmSetOptions options{
            .directory = name,
            .edition = edition,
            .country_codes = std::string(CORVANE_EXAMPLES_DIR) + "/ghcn-v2-sample/v2.country.codes",
            .seed = 17,
            .gzip_copy = true};
        data_set::GhcnmSetSummary summary;
        std::string error;
        ASSERT_TRUE(data_set::generate_ghcnm_set(options, summary, error)) << error;
        EXPECT_EQ(summary.stations, 24);
        expect_same_files(fs::path(CORVANE_EXAMPLES_DIR) / name, name);
    }
}

}  // namespace
}  // namespace corvane::testing
