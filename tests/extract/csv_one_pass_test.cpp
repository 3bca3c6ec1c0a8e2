// The CSV tables of corvane-extract, run in a child of the test: their rows come from the
// extraction's one pass over the data file, and they are written through the record
// run-time, so that a full disk under either table is the run-time's report and status
// 255, and the table in place ends on a whole row. The system calls beneath the file layer
// are watched (and, for the full disk, made to fail) through its seam.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>

#include "extract/extract_run.hpp"
#include "fixture_data.hpp"
#include "test_support.hpp"
#include "units/file_system_calls.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

// What the seam does in the child.
struct Watch {
    std::string opens_log;     // one byte appended for each open of the data file
    std::string full_file;     // the file whose disk fills up ...
    std::size_t room = 0;      // ... after this many bytes
    int full_fd = -1;
    int signal_at_write = 0;   // instead, this signal arrives as the file is first written
};
Watch watch;

int watching_open(const char* path, int flags, mode_t mode) {
    const int fd = units::system_file_calls().open(path, flags, mode);
    const std::string name = fs::path(path).filename().string();
    if (name == "v2.mean") {
        const int log = ::open(watch.opens_log.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        [[maybe_unused]] const ssize_t n = ::write(log, "o", 1);
        ::close(log);
    }
    if (name == watch.full_file) watch.full_fd = fd;
    return fd;
}

ssize_t filling_pwrite(int fd, const void* data, size_t count, off_t offset) {
    if (fd != watch.full_fd) return units::system_file_calls().pwrite(fd, data, count, offset);
    if (watch.signal_at_write != 0) {
        std::raise(std::exchange(watch.signal_at_write, 0));
        return units::system_file_calls().pwrite(fd, data, count, offset);
    }
    count = std::min(count, watch.room);
    if (count == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t n = units::system_file_calls().pwrite(fd, data, count, offset);
    if (n > 0) watch.room -= static_cast<std::size_t>(n);
    return n;
}

extract::ExtractOptions csv_run() {
    extract::ExtractOptions o;
    o.variable_choice = 1;
    o.country = 507;
    o.data_dir = "data";
    o.out_dir = "out";
    o.csv = true;
    return o;
}

[[noreturn]] void run_in_child(const extract::ExtractOptions& o) {
    units::file_calls().open = watching_open;
    units::file_calls().pwrite = filling_pwrite;
    char program[] = "corvane-extract";
    extract::run_extraction(o, program);
    std::_Exit(99);  // not reached: the run ends the program
}

std::vector<std::string> rows_of(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream in(text);
    for (std::string row; std::getline(in, row);) rows.push_back(row);
    return rows;
}

class CsvTablesRun : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory("data");
        copy_data_files(base_data_dir(), "data");
        watch = {.opens_log = (fs::path(dir.path()) / "data_opens").string()};
    }
    ScratchDirectory dir;
};

TEST_F(CsvTablesRun, TheDataFileIsReadOnceForTheSeriesAndTheTables) {
    EXPECT_EXIT(run_in_child(csv_run()), ::testing::ExitedWithCode(0), "; 5 files written in out\n");
    EXPECT_EQ(read_file("data_opens"), "o") << "the data file is opened once";
    const std::vector<std::string> values = rows_of(read_file("out/values.csv"));
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(), "station,duplicate,year,month,value_degC\r");
    EXPECT_EQ(values.size(), 1 + 8 * 12u) << "twelve rows for each of the 8 records of country 507";
}

TEST_F(CsvTablesRun, AFullDiskUnderEitherTableIsReportedAndTheTableEndsOnAWholeRow) {
    const struct {
        std::string_view file;
        std::size_t room;
        std::size_t commas;
    } cases[] = {{"values.csv", 100, 4}, {"values.csv", 0, 4}, {"stations.csv", 120, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " with room for " + std::to_string(c.room));
        fs::remove_all("out");
        watch.full_file = c.file;
        watch.room = c.room;
        EXPECT_EXIT(run_in_child(csv_run()), ::testing::ExitedWithCode(255),
                    "\\? System Error:\r?\n\\? There is not enough space on the disk\\.\r?\n");
        const std::string text = read_file("out/" + std::string(c.file));
        if (c.room > 0) EXPECT_TRUE(text.ends_with("\r\n")) << "the rows that fitted whole are in place: " << text;
        else EXPECT_EQ(text, "");
        for (const std::string& row : rows_of(text)) {
            EXPECT_EQ(static_cast<std::size_t>(std::count(row.begin(), row.end(), ',')), c.commas) << row;
        }
        EXPECT_LE(text.size(), c.room);
    }
}

TEST_F(CsvTablesRun, TablesCutBeforeAnUnreadableRecordAreNotCountedAsWritten) {
    // The extraction's own files are complete before the record; the tables are not.
    write_file("data/v2.mean", read_file("data/v2.mean") + "80099914001195O    0\n");
    EXPECT_EXIT(run_in_child(csv_run()), ::testing::ExitedWithCode(1),
                "values.csv ends before it\n.*; 3 files written in out\n");
    EXPECT_EQ(read_file("data_opens"), "o");
}

TEST_F(CsvTablesRun, AnInterruptionWhileATableIsWrittenEndsTheRunWithTheTableWhole) {
    watch.full_file = "values.csv";
    watch.signal_at_write = SIGTERM;
    EXPECT_EXIT(run_in_child(csv_run()), ::testing::ExitedWithCode(128 + SIGTERM), "the extraction stopped");
    const std::string text = read_file("out/values.csv");
    EXPECT_TRUE(text.ends_with("\r\n"));
    EXPECT_EQ(rows_of(text).size(), 1 + 8 * 12u);
    EXPECT_FALSE(fs::exists("out/stations.csv"));
}

}  // namespace
}  // namespace corvane::testing
