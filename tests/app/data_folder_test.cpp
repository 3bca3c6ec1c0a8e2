// Whether a folder holds the data set, and whether the output files can be made in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/data_folder.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, AnyInputFileOfTheDataSetMakesADataFolder) {
    struct Case {
        const char* file;   // made in an empty folder; empty: none
        bool as_folder;     // a folder of that name, not a file
        bool holds;
    };
    const Case cases[] = {
        {"", false, false},
        {"v2.temperature.inv", false, true},
        {"v2.slp.country.codes", false, true},
        {"v2.prcp_adj", false, true},
        {"v2.max.failed.qc", false, true},
        {"GHCNv2_Log_File", false, false},  // an output file alone is not the data set
        {"v2.mean", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ScratchDirectory scratch;
        const fs::path folder = fs::path(scratch.path()) / "data";
        fs::create_directory(folder);
        if (*c.file && c.as_folder) fs::create_directory(folder / c.file);
        else if (*c.file) std::ofstream(folder / c.file) << "x\n";
        EXPECT_EQ(app::holds_data_files(folder), c.holds);
    }
}

TEST(DataFolder, OutputFilesNeedAWritableFolderAndWritableOldOutputs) {
    ScratchDirectory scratch;
    const fs::path folder = fs::path(scratch.path()) / "data";
    fs::create_directory(folder);
    EXPECT_TRUE(app::output_files_writable(folder));
    EXPECT_FALSE(app::output_files_writable(folder / "missing"));
    std::ofstream(folder / "v2.mean") << "x\n";
    EXPECT_FALSE(app::output_files_writable(folder / "v2.mean"));  // a file is no folder
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    std::ofstream(folder / "GHCNv2_tsf") << "old\n";
    fs::permissions(folder / "GHCNv2_tsf", fs::perms::owner_read);
    EXPECT_FALSE(app::output_files_writable(folder));
    fs::permissions(folder / "GHCNv2_tsf", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(app::output_files_writable(folder));
    fs::permissions(folder, fs::perms::owner_all);
}

}  // namespace
}  // namespace corvane::testing
