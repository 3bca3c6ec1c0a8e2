// The working directory of a run: links to the inputs under their own names, and outputs
// moved into place without replacing a file that appeared meanwhile, unless asked to.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "extract/staging.hpp"
#include "test_support.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::write_file;

TEST(Staging, LinksInputsAndMovesOutputsIntoPlace) {
    testing::ScratchDirectory scratch;
    const fs::path data = fs::path(scratch.path()) / "data";
    const fs::path out = fs::path(scratch.path()) / "out";
    fs::create_directories(data);
    fs::create_directories(out);
    write_file((data / "v2.mean").string(), "records\n");

    Staging staging;
    ASSERT_EQ(staging.create(out, data, {"v2.mean"}), "");
    EXPECT_EQ(staging.dir().parent_path(), out);
    EXPECT_EQ(read_file((staging.dir() / "v2.mean").string()), "records\n");

    write_file((staging.dir() / "GHCNv2_tsf").string(), "new series\n");
    write_file((staging.dir() / "GHCNv2_Log_File").string(), "new log\n");
    write_file((out / "GHCNv2_tsf").string(), "someone else's\n");  // appeared during the run

    // One name taken: the set moves as a whole or not at all.
    const std::vector<std::string> refused = staging.publish({"GHCNv2_Log_File", "GHCNv2_tsf", "absent"}, false);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find((out / "GHCNv2_tsf").string() + ": File exists; nothing was moved, the new files are in " +
                              staging.dir().string()),
              std::string::npos)
        << refused[0];
    EXPECT_EQ(staging.in_place(), 0);
    EXPECT_EQ(read_file((out / "GHCNv2_tsf").string()), "someone else's\n");
    EXPECT_FALSE(fs::exists(out / "GHCNv2_Log_File")) << "neither the log nor the claim's empty file";
    EXPECT_TRUE(fs::exists(staging.dir() / "GHCNv2_tsf")) << "the new files stay where the message says";
    EXPECT_TRUE(fs::exists(staging.dir() / "GHCNv2_Log_File"));
    EXPECT_TRUE(fs::exists(data / "v2.mean")) << "an input is never touched";

    EXPECT_TRUE(staging.publish({"GHCNv2_Log_File", "GHCNv2_tsf"}, true).empty());
    EXPECT_EQ(staging.in_place(), 2);
    EXPECT_EQ(read_file((out / "GHCNv2_tsf").string()), "new series\n");
    EXPECT_EQ(read_file((out / "GHCNv2_Log_File").string()), "new log\n");
    EXPECT_FALSE(fs::exists(staging.dir())) << "the working directory and its links are gone";
    EXPECT_EQ(read_file((data / "v2.mean").string()), "records\n");
}

TEST(Staging, DoesNotReplaceTheFilesOfADialogueRunningInTheOutputDirectory) {
    testing::ScratchDirectory scratch;
    const fs::path out = fs::path(scratch.path()) / "out";
    fs::create_directories(out);
    write_file((out / "GHCNv2_Log_File").string(), "the dialogue's log\n");
    // The dialogue's claim: an exclusive lock on its log, held while it runs.
    const int dialogue = ::open((out / "GHCNv2_Log_File").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(dialogue, 0);
    ASSERT_EQ(::flock(dialogue, LOCK_EX | LOCK_NB), 0);

    Staging staging;
    ASSERT_EQ(staging.create(out, scratch.path(), {}), "");
    write_file((staging.dir() / "GHCNv2_Log_File").string(), "new log\n");
    const std::vector<std::string> refused = staging.publish({"GHCNv2_Log_File"}, true);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("another run is writing the output files there; the new files are in " +
                              staging.dir().string()),
              std::string::npos)
        << refused[0];
    EXPECT_EQ(read_file((out / "GHCNv2_Log_File").string()), "the dialogue's log\n");
    EXPECT_EQ(read_file((staging.dir() / "GHCNv2_Log_File").string()), "new log\n");

    // Once the dialogue has ended, the files are replaced.
    ::close(dialogue);
    EXPECT_TRUE(staging.publish({"GHCNv2_Log_File"}, true).empty());
    EXPECT_EQ(read_file((out / "GHCNv2_Log_File").string()), "new log\n");
}

TEST(Staging, TheClaimsEmptyLogGivesWayToTheRunsLogAndToNoOneElses) {
    testing::ScratchDirectory scratch;
    const fs::path out = fs::path(scratch.path()) / "out";
    fs::create_directories(out);
    Staging staging;
    ASSERT_EQ(staging.create(out, scratch.path(), {}), "");
    EXPECT_EQ(read_file((out / "GHCNv2_Log_File").string()), "") << "the claim's lock makes the name";
    const int other_run = ::open((out / "GHCNv2_Log_File").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other_run, 0);
    EXPECT_NE(::flock(other_run, LOCK_EX | LOCK_NB), 0) << "the claim is held from the start of the run";
    ::close(other_run);
    write_file((staging.dir() / "GHCNv2_Log_File").string(), "new log\n");
    write_file((staging.dir() / "GHCNv2_tsf").string(), "new series\n");
    EXPECT_TRUE(staging.publish({"GHCNv2_Log_File", "GHCNv2_tsf"}, false).empty());
    EXPECT_EQ(staging.in_place(), 2);
    EXPECT_EQ(read_file((out / "GHCNv2_Log_File").string()), "new log\n");
    EXPECT_EQ(read_file((out / "GHCNv2_tsf").string()), "new series\n");
    EXPECT_FALSE(fs::exists(staging.dir()));
}

TEST(Staging, RefusesAnUnwritableOrMissingPlace) {
    testing::ScratchDirectory scratch;
    Staging staging;
    const std::string failure = staging.create(fs::path(scratch.path()) / "missing", scratch.path(), {});
    EXPECT_NE(failure.find("cannot make a working directory in"), std::string::npos) << failure;
}

}  // namespace
}  // namespace corvane::extract
