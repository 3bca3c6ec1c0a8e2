// corvane-extract and its output directory: the run holds the directory's claim and moves
// its files into place as one set or not at all; a path is used as the user gave it; a
// file that cannot be checked is an error, never taken for absent; a symbolic link or a
// FIFO at a file's name is a file there; files of the set this run does not write are named.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixture_data.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// A scratch directory with the test data set in data/.
class Directories : public ScratchDirectory {
public:
    Directories() {
        fs::create_directory(data());
        copy_data_files(base_data_dir(), data());
    }
    fs::path data() const { return fs::path(path()) / "data"; }
    fs::path out() const { return fs::path(path()) / "out"; }
};

RunResult extract(const std::string& out_dir, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--variable", "mean", "--country", "507", "--data-dir", "data", "--out-dir", out_dir};
    args.insert(args.end(), more.begin(), more.end());
    return run_program(CORVANE_EXTRACT_PROGRAM, args);
}

// The working directories a run left in `out`.
std::vector<fs::path> working_directories(const fs::path& out) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& e : fs::directory_iterator(out)) {
        if (e.path().filename().string().starts_with(".corvane-extract-")) found.push_back(e.path());
    }
    return found;
}

TEST(OutputDirectory, AFileThatCannotBeCheckedIsAnErrorAndNothingIsMoved) {
    Directories dirs;
    // An output directory of 4,050 characters: the working directory's path to the
    // failed-values file is longer than the system takes (4,100), the others are not.
    fs::path out = dirs.path();
    while (out.string().size() < 4050 - 201) out /= std::string(200, 'd');
    out /= std::string(4050 - out.string().size() - 1, 'e');
    ASSERT_EQ(out.string().size(), 4050u);

    const RunResult run = extract(out.string());
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("/GHCNv2_Failed_Values_File: File name too long; nothing was moved"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("; 0 files written in " + out.string() + ", 3 not moved there\n"), std::string::npos)
        << run.err;
    fs::current_path(out);  // the paths below are too long for the system: relative from here
    EXPECT_FALSE(fs::exists("GHCNv2_Log_File")) << "the set moves as a whole";
    EXPECT_FALSE(fs::exists("GHCNv2_tsf"));
    const std::vector<fs::path> left = working_directories(".");
    ASSERT_EQ(left.size(), 1u);
    fs::current_path(left[0]);
    EXPECT_TRUE(fs::is_regular_file("GHCNv2_Failed_Values_File")) << "the new file is kept where the line says";
    EXPECT_TRUE(fs::is_regular_file("GHCNv2_tsf"));
    fs::remove("GHCNv2_Failed_Values_File");  // the scratch directory's removal cannot reach it
    fs::current_path(dirs.path());
}

TEST(OutputDirectory, APathIsResolvedByTheSystemNotAsText) {
    Directories dirs;
    fs::create_directories("a/b");
    fs::create_directory_symlink("a/b", "lnk");
    const RunResult run = extract("lnk/../outx");
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 0) << run.err;
    // lnk/.. is a, where the link leads; as text it would be the scratch directory itself.
    EXPECT_TRUE(fs::is_regular_file("a/outx/GHCNv2_tsf"));
    EXPECT_FALSE(fs::exists("outx"));
}

TEST(OutputDirectory, ARunThatLosesTheClaimMovesNothingAndSaysWhereItsFilesAre) {
    Directories dirs;
    fs::create_directory(dirs.out());
    write_file((dirs.out() / "GHCNv2_Log_File").string(), "the other run's log\n");
    // The other run: the claim held from here for as long as the run below lasts.
    const int held = ::open((dirs.out() / "GHCNv2_Log_File").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const RunResult lost = extract("out", {"--force", "--csv"});
    ::close(held);
    ASSERT_TRUE(lost.failure.empty()) << lost.failure;
    EXPECT_EQ(lost.status, 1);
    EXPECT_NE(lost.err.find(dirs.out().string() + ": another run is writing the output files there; the new files are in " +
                            dirs.out().string() + "/.corvane-extract-"),
              std::string::npos)
        << lost.err;
    EXPECT_NE(lost.err.find("; 0 files written in out, 5 not moved there\n"), std::string::npos) << lost.err;
    EXPECT_EQ(read_file((dirs.out() / "GHCNv2_Log_File").string()), "the other run's log\n");
    for (const char* name : {"GHCNv2_tsf", "GHCNv2_Failed_Values_File", "stations.csv", "values.csv"}) {
        EXPECT_FALSE(fs::exists(dirs.out() / name)) << name;
    }
    const std::vector<fs::path> left = working_directories(dirs.out());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(left[0] / "values.csv"));

    // The claim free, the same run moves its set; the tables of the earlier --csv run that
    // a run without --csv does not write are named.
    fs::remove_all(left[0]);
    ASSERT_EQ(extract("out", {"--force", "--csv"}).status, 0);
    const RunResult again = extract("out", {"--force"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find("; 3 files written in out; stations.csv, values.csv left from an earlier run\n"),
              std::string::npos)
        << again.err;
    EXPECT_TRUE(working_directories(dirs.out()).empty());
}

TEST(OutputDirectory, ADanglingLinkAtAnOutputNameIsAnExistingFile) {
    Directories dirs;
    fs::create_directory(dirs.out());
    fs::create_symlink("nowhere", dirs.out() / "GHCNv2_tsf");
    const RunResult run = extract("out");
    ASSERT_TRUE(run.failure.empty()) << run.failure;
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find((dirs.out() / "GHCNv2_tsf").string() + ": exists; give --force to replace it"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(fs::is_symlink(dirs.out() / "GHCNv2_tsf"));
    EXPECT_FALSE(fs::exists(dirs.out() / "nowhere"));
    EXPECT_FALSE(fs::exists(dirs.out() / "GHCNv2_Log_File"));
}

TEST(OutputDirectory, AFifoAtAFileNameNeverHoldsTheRun) {
    // Inputs must be regular files; a FIFO at the log's name is a file like any other: kept
    // without --force, replaced with it. None of these runs waits for the FIFO's other end.
    const struct {
        const char* fifo;  // relative to the scratch directory
        std::vector<std::string> more;
        int status;
        const char* message;
    } cases[] = {
        {"data/v2.temperature.inv", {}, 1, "/data/v2.temperature.inv: not a regular file"},
        {"data/v2.mean", {}, 1, "/data/v2.mean: not a regular file"},
        {"data/v2.mean.failed.qc", {}, 1, "/data/v2.mean.failed.qc: not a regular file"},
        {"data/v2.country.codes", {}, 1, "/data/v2.country.codes: not a regular file"},
        {"out/GHCNv2_Log_File", {}, 1, "/out/GHCNv2_Log_File: exists; give --force"},
        {"out/GHCNv2_Log_File", {"--force"}, 0, "; 3 files written in out\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fifo + std::string(" ") + (c.more.empty() ? "" : c.more[0]));
        Directories dirs;
        fs::create_directory(dirs.out());
        fs::remove(c.fifo);
        ASSERT_EQ(::mkfifo(c.fifo, 0600), 0);
        const RunResult run = extract("out", c.more);
        ASSERT_TRUE(run.failure.empty()) << run.failure;
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        if (c.status == 0) {
            EXPECT_TRUE(fs::is_regular_file(dirs.out() / "GHCNv2_Log_File"));
        }
    }
}

}  // namespace
}  // namespace corvane::testing
