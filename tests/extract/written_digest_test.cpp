// Checksums made while the files are written or read on another thread: the manifest takes
// them only for the file exactly as it was summed, and reads any other file itself.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "extract/file_digest.hpp"
#include "extract/background_digests.hpp"
#include "extract/written_digest.hpp"
#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {
namespace {

namespace fs = std::filesystem;
using corvane::testing::ScratchDirectory;
using fmtio::fmt;

constexpr int table_unit = 41;

// Rows enough to pass through several of the unit's buffers.
void write_rows(int count) {
    for (int i = 0; i < count; ++i) fmtio::write(fmtio::unit(table_unit), fmt<"(a,',',i0)">, "row", i);
}

void open_table(const std::string& name) {
    ASSERT_EQ(units::open_unit({.unit = table_unit, .file = name, .status = "UNKNOWN"}), units::outcome_ok);
}

// Rewrites the file's first byte and puts its modification time back: a change that only
// the bytes tell, so that the checksum file_record gives shows whether it read them.
void change_behind_the_times_back(const fs::path& path) {
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.put('#');
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::string recorded_sum(const fs::path& path) { return file_record(path, "x").value().sha256; }

TEST(WrittenDigest, TheSumOfWhatTheUnitWroteIsTheFilesSum) {
    ScratchDirectory scratch;
    for (const int rows : {0, 3, 100000}) {  // nothing but the header, one buffer, many
        const std::string name = "table" + std::to_string(rows) + ".csv";
        WrittenDigest digest;
        open_table(name);
        digest.attach(table_unit);
        fmtio::write(fmtio::unit(table_unit), fmt<"(a)">, "header");
        write_rows(rows);
        units::close_unit(table_unit);
        digest.offer_for(name);
        const std::string offered = recorded_sum(name);
        EXPECT_EQ(offered, sha256_of_file(name)) << rows;
        change_behind_the_times_back(name);
        EXPECT_EQ(recorded_sum(name), offered) << "the offered sum stands for the file as it was written";
    }
}

TEST(WrittenDigest, NoSumIsOfferedForAFileNotWrittenInOrderOrChangedSince) {
    ScratchDirectory scratch;
    {  // written, rewound and written over: the tap saw more than the file holds
        WrittenDigest digest;
        open_table("rewound.csv");
        digest.attach(table_unit);
        write_rows(100000);
        units::rewind_unit(table_unit);
        write_rows(10);
        units::close_unit(table_unit);
        digest.offer_for("rewound.csv");
        change_behind_the_times_back("rewound.csv");
        EXPECT_EQ(recorded_sum("rewound.csv"), sha256_of_file("rewound.csv"));
    }
    {  // added to after the sum was offered: a longer, newer file
        WrittenDigest digest;
        open_table("grown.csv");
        digest.attach(table_unit);
        write_rows(10);
        units::close_unit(table_unit);
        digest.offer_for("grown.csv");
        std::ofstream("grown.csv", std::ios::app) << "more\r\n";
        EXPECT_EQ(recorded_sum("grown.csv"), sha256_of_file("grown.csv"));
    }
    {  // a tap that was never attached saw nothing
        WrittenDigest digest;
        open_table("unwatched.csv");
        write_rows(10);
        units::close_unit(table_unit);
        digest.offer_for("unwatched.csv");
        change_behind_the_times_back("unwatched.csv");
        EXPECT_EQ(recorded_sum("unwatched.csv"), sha256_of_file("unwatched.csv"));
    }
}

TEST(WrittenDigest, ATapGoneBeforeItsUnitIsClosedIsNotCalled) {
    ScratchDirectory scratch;
    open_table("early.csv");
    {
        WrittenDigest digest;
        digest.attach(table_unit);
        write_rows(10);
    }
    write_rows(100000);  // through the unit's buffer to the file, with no tap left to call
    units::close_unit(table_unit);
    EXPECT_EQ(recorded_sum("early.csv"), sha256_of_file("early.csv"));
}

TEST(BackgroundDigests, TheInputsSumsAreOfferedForTheFilesAsTheyWereRead) {
    ScratchDirectory scratch;
    {
        std::ofstream big("data.dat");
        for (int i = 0; i < 300000; ++i) big << i << '\n';
    }
    { std::ofstream("list.txt") << "AB Somewhere\n"; }
    const std::string data_sum = sha256_of_file("data.dat").value();
    {
        BackgroundDigests sums;
        sums.start({fs::absolute("data.dat"), fs::absolute("list.txt"), fs::absolute("absent")});
        sums.offer();
    }
    change_behind_the_times_back("data.dat");
    EXPECT_EQ(recorded_sum("data.dat"), data_sum);
    EXPECT_NE(sha256_of_file("data.dat"), data_sum);
    EXPECT_EQ(recorded_sum("list.txt"), sha256_of_file("list.txt"));
    {
        BackgroundDigests given_up;  // ended before the sums were asked for: nothing offered
        given_up.start({fs::absolute("list.txt")});
    }
}

}  // namespace
}  // namespace corvane::extract
