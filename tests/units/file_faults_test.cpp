// Failures of the operating system beneath the file layer, injected one call at a time:
// a failing open, short writes, a full disk, a failing close, a read error. Each ends in the
// condition, branch or report the statement asks for, and files keep whole records.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/connection_record.hpp"
#include "units/file_system_calls.hpp"
#include "units/termination.hpp"

namespace corvane::testing {
namespace {

using units::file_calls;

constexpr std::int32_t disk_full = 112;   // "There is not enough space on the disk."
constexpr std::int32_t io_error = 1117;   // "... an I/O device error."
constexpr std::int32_t too_many_files = 4;

// How the injected calls behave; reset for every test.
struct Injected {
    std::size_t bytes_left = SIZE_MAX;  // what the disk still takes
    std::size_t largest_write = SIZE_MAX;
    int error = 0;
};
Injected injected;

ssize_t limited_pwrite(int fd, const void* data, size_t count, off_t offset) {
    count = std::min({count, injected.largest_write, injected.bytes_left});
    if (count == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t n = units::system_file_calls().pwrite(fd, data, count, offset);
    if (n > 0) injected.bytes_left -= static_cast<std::size_t>(n);
    return n;
}

int failing_close(int fd) {
    units::system_file_calls().close(fd);  // the descriptor goes, the error stays
    errno = injected.error;
    return -1;
}

ssize_t failing_pread(int, void*, size_t, off_t) {
    errno = injected.error;
    return -1;
}

int failing_open(const char*, int, mode_t) {
    errno = injected.error;
    return -1;
}

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override { injected = {}; }
    void TearDown() override {
        file_calls() = units::system_file_calls();
        for (std::int32_t u = 60; u <= 69; ++u) units::close_unit(u);
    }
    ScratchDirectory dir;
};

// Record i of the test files: 21 characters, 23 with the line end.
std::string record_text(int i) {
    char text[32];
    std::snprintf(text, sizeof text, "record %06d .......", i);
    return text;
}
constexpr std::size_t record_bytes = 23;

// Writes up to `count` records with an IOSTAT variable; returns how many WRITEs succeeded
// before the first failure, and its code in `code`.
int write_records(std::int32_t unit, int first, int count, std::int32_t& code) {
    for (int i = first; i < first + count; ++i) {
        const std::string text = record_text(i);
        code = 0;
        fmtio::write(units::unit(unit), units::with_iostat(code), fmtio::fmt<"(a)">, std::string_view(text));
        if (code != 0) return i - first;
    }
    return count;
}

// The file holds records 0, 1, ... each whole, and nothing else; returns how many.
int whole_records_in(const std::string& content) {
    int n = 0;
    std::size_t at = 0;
    while (at < content.size()) {
        const std::string expected = record_text(n) + "\r\n";
        if (content.compare(at, expected.size(), expected) != 0) return -1;
        at += expected.size();
        ++n;
    }
    return n;
}

TEST_F(FileFaults, AFullDiskKeepsTheWholeRecordsAndTheUnitGoesOnAfterThem) {
    // The disk fills at the start, inside a record, at a record's end, in a later buffer.
    const std::size_t buffer = units::disk_file_buffer_size;
    const int records = static_cast<int>(3 * buffer / record_bytes);  // more than the buffer holds
    for (std::size_t room : {std::size_t{0}, std::size_t{100}, record_bytes * 50, std::size_t{9000}, buffer + 100}) {
        SCOPED_TRACE(room);
        injected = {.bytes_left = room};
        file_calls().pwrite = limited_pwrite;
        ASSERT_EQ(open_file(60, "full.txt", "REPLACE"), 0);
        std::int32_t code = 0;
        const int written = write_records(60, 0, records, code);
        EXPECT_EQ(code, disk_full);
        EXPECT_LT(written, records);
        const int kept = whole_records_in(read_file("full.txt"));
        EXPECT_EQ(kept, static_cast<int>(room / record_bytes));  // every record that fitted whole, no part of another

        // Space again: later records follow the kept ones, and the unit closes cleanly.
        file_calls() = units::system_file_calls();
        std::int32_t later = 0;
        EXPECT_EQ(write_records(60, kept, 10, later), 10);
        EXPECT_EQ(units::close_unit(60), units::outcome_ok);
        EXPECT_EQ(whole_records_in(read_file("full.txt")), kept + 10);
    }
}

TEST_F(FileFaults, ShortWritesAreCompletedAndFailedWritesTakeTheErrBranch) {
    injected = {.largest_write = 7};
    file_calls().pwrite = limited_pwrite;
    ASSERT_EQ(open_file(61, "short.txt", "REPLACE"), 0);
    std::int32_t code = 0;
    EXPECT_EQ(write_records(61, 0, 1000, code), 1000);
    EXPECT_EQ(units::close_unit(61), units::outcome_ok);
    EXPECT_EQ(whole_records_in(read_file("short.txt")), 1000);

    // The full disk met by the CLOSE that writes the last buffer, caught by ERR.
    injected = {.bytes_left = 30};
    ASSERT_EQ(open_file(62, "late.txt", "REPLACE"), 0);
    EXPECT_EQ(write_records(62, 0, 3, code), 3);  // still in the buffer
    EXPECT_EQ(units::close_unit(62, units::on_err), units::outcome_error);
    EXPECT_FALSE(connected(62));
    EXPECT_EQ(whole_records_in(read_file("late.txt")), 1);
}

TEST_F(FileFaults, FailingOpenCloseAndReadEndInTheirConditions) {
    // Open: the system's code, the unit left unconnected, no file made.
    injected.error = EMFILE;
    file_calls().open = failing_open;
    EXPECT_EQ(open_file(63, "never.txt", "NEW"), too_many_files);
    EXPECT_FALSE(connected(63));
    EXPECT_FALSE(file_exists("never.txt"));
    file_calls() = units::system_file_calls();

    // Close: the data went out first; the error is the CLOSE's, and the unit is gone.
    ASSERT_EQ(open_file(64, "closed.txt", "REPLACE"), 0);
    std::int32_t code = 0;
    write_records(64, 0, 5, code);
    injected.error = EIO;
    file_calls().close = failing_close;
    EXPECT_EQ(units::close_unit(64, units::with_iostat(code)), units::outcome_error);
    EXPECT_EQ(code, io_error);
    EXPECT_FALSE(connected(64));
    file_calls() = units::system_file_calls();
    EXPECT_EQ(whole_records_in(read_file("closed.txt")), 5);

    // Read: the ERR branch, or the iostat variable.
    write_file("data.txt", "12\n34\n");
    ASSERT_EQ(open_file(65, "data.txt", "OLD", "READ"), 0);
    file_calls().pread = failing_pread;
    std::int32_t value = 0;
    EXPECT_EQ(fmtio::read(units::unit(65), units::on_err, fmtio::fmt<"(i2)">, value), units::outcome_error);
    EXPECT_EQ(fmtio::read(units::unit(65), units::with_iostat(code), fmtio::fmt<"(i2)">, value), units::outcome_error);
    EXPECT_EQ(code, io_error);
    file_calls() = units::system_file_calls();
    EXPECT_EQ(fmtio::read(units::unit(65), fmtio::fmt<"(i2)">, value), units::outcome_ok);
    EXPECT_EQ(value, 12);
}

TEST_F(FileFaults, UncaughtFailuresAreReportedAfterTheOtherFilesAreWritten) {
    // A read error without a branch: the report names the READ, and a file written on
    // another unit is complete.
    EXPECT_EXIT(
        {
            open_file(66, "other.txt", "REPLACE");
            std::int32_t code = 0;
            write_records(66, 0, 3, code);
            write_file("data.txt", "12\n");
            open_file(67, "data.txt", "OLD", "READ");
            injected.error = EIO;
            file_calls().pread = failing_pread;
            std::int32_t value = 0;
            fmtio::read(units::unit(67), fmtio::fmt<"(i2)">, value);
        },
        ::testing::ExitedWithCode(255),
        "^\\? System Error:\r?\n\\? The request could not be performed because of an I/O device error\\.\r?\n"
        "\\? READ\\(UNIT=67,\\.\\.\\.\r?\n$");
    EXPECT_EQ(whole_records_in(read_file("other.txt")), 3);

    // A full disk met while the end of the program writes the last buffers: reported
    // without a statement line, status 255, and the file ends with a whole record.
    EXPECT_EXIT(
        {
            open_file(68, "end.txt", "REPLACE");
            std::int32_t code = 0;
            write_records(68, 0, 40, code);
            injected = {.bytes_left = 500};
            file_calls().pwrite = limited_pwrite;
            units::stop_program();
        },
        ::testing::ExitedWithCode(255), "^\\? System Error:\r?\n\\? There is not enough space on the disk\\.\r?\n$");
    EXPECT_EQ(whole_records_in(read_file("end.txt")), static_cast<int>(500 / record_bytes));
}

TEST_F(FileFaults, AFullDiskMetBeforeAConsoleReadWaitsIsReportedThen) {
    // Before a console read waits, the files get what was written to them; a full disk met
    // there is reported as at the end of the program, and the file keeps whole records.
    EXPECT_EXIT(
        {
            open_file(69, "prompt.txt", "REPLACE");
            std::int32_t code = 0;
            write_records(69, 0, 40, code);
            injected = {.bytes_left = 500};
            file_calls().pwrite = limited_pwrite;
            std::int32_t value = 0;
            fmtio::read(units::default_unit, fmtio::fmt<"(i5)">, value);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(255), "^\\? System Error:\r?\n\\? There is not enough space on the disk\\.\r?\n$");
    EXPECT_EQ(whole_records_in(read_file("prompt.txt")), static_cast<int>(500 / record_bytes));
}

}  // namespace
}  // namespace corvane::testing
