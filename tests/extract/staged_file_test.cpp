// Files placed under their final names that a run can still take back: a retracted file
// leaves the name as it found it (empty, or holding the earlier file), a settled one leaves
// no second name behind; and a run's files beside the output directory appear together or
// not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "extract/run_publication.hpp"
#include "extract/staged_file.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using corvane::testing::read_file;
using corvane::testing::ScratchDirectory;
using corvane::testing::write_file;

std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StagedFile, APlacedFileIsSettledOrTakenBackWithoutATrace) {
    struct Case {
        const char* name;
        bool earlier_file;  // x.nc holds a file before the run
        bool take_back;
        const char* left;   // what x.nc holds at the end; empty: no x.nc
    };
    const Case cases[] = {
        {"new name, settled", false, false, "new"},
        {"new name, taken back", false, true, ""},
        {"replaced, settled", true, false, "new"},
        {"replaced, taken back", true, true, "earlier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory scratch;
        if (c.earlier_file) write_file("x.nc", "earlier");
        {
            StagedFile file("x.nc", c.earlier_file);
            write_file(file.temporary().string(), "new");
            ASSERT_EQ(file.place(), "");
            EXPECT_EQ(read_file("x.nc"), "new");
            if (c.take_back) file.retract();
            else file.settle();
        }
        const bool left = !std::string(c.left).empty();
        EXPECT_EQ(names_in("."), left ? std::vector<std::string>{"x.nc"} : std::vector<std::string>{});
        EXPECT_EQ(left ? read_file("x.nc") : "", c.left);
    }
}

TEST(StagedFile, AFileTakenBackLeavesAFileOfTheSameNameThatIsNotItsOwn) {
    ScratchDirectory scratch;
    StagedFile file("x.nc", false);
    write_file(file.temporary().string(), "new");
    ASSERT_EQ(file.place(), "");
    fs::remove("x.nc");
    write_file("x.nc", "another program's");
    file.retract();
    EXPECT_EQ(read_file("x.nc"), "another program's");
}

TEST(RunPublication, TheFilesBesideTheOutputDirectoryAppearTogetherOrNotAtAll) {
    ScratchDirectory scratch;
    fs::create_directory("out");
    write_file("b.geojson", "taken");  // the second file's name is taken meanwhile
    StagedFile first("a.nc", false), second("b.geojson", false);
    write_file(first.temporary().string(), "netcdf");
    write_file(second.temporary().string(), "geojson");
    Staging staging;
    ASSERT_EQ(staging.create(fs::absolute("out"), fs::absolute("."), {}), "");
    write_file((staging.dir() / "annual.csv").string(), "series,year,value,months\n");
    MoreOutputs more;
    more.files = {"annual.csv"};
    more.placed_files = {"a.nc", "b.geojson"};
    more.staged = {&first, &second};

    const Publication p = publish_run(staging, {"annual.csv"}, more, RunEnd::complete, false);
    ASSERT_EQ(p.failures.size(), 1u);
    EXPECT_NE(p.failures[0].find("b.geojson: File exists; not written"), std::string::npos) << p.failures[0];
    EXPECT_EQ(names_in("."), (std::vector<std::string>{"b.geojson", "out"})) << "a.nc taken back";
    EXPECT_EQ(read_file("b.geojson"), "taken");
    EXPECT_EQ(names_in("out"), std::vector<std::string>{}) << "nothing published, the working directory gone";
    EXPECT_TRUE(p.placed.empty());
}

}  // namespace
}  // namespace corvane::extract
