// The sizes the file layer works in: a record of exactly 16,777,216 characters (and its
// CR LF) is read and written whole, one more character is condition 10004; a disk file's
// buffer goes to the system in transfers of 262,144 bytes, a pipe's in transfers of 8,192,
// counted through the system-call seam.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/file_system_calls.hpp"

namespace corvane::testing {
namespace {

constexpr std::size_t longest_record = 16'777'216;
constexpr int buffer_allocation_failed = 10004;

// The result of reading the first record of a file: its length, or the condition.
struct FirstRecord {
    int code = 0;
    std::size_t length = 0;
};

FirstRecord first_record_of(const std::string& name) {
    EXPECT_EQ(open_file(50, name, "OLD", "READ"), 0);
    units::RecordView view;
    units::RecordScratch scratch;
    FirstRecord first;
    first.code = units::read_record(record_of(50), view, scratch);
    first.length = view.length;
    units::close_unit(50);
    return first;
}

TEST(RecordBound, ARecordOfExactlyTheBoundIsReadAndWrittenOneMoreIs10004) {
    ScratchDirectory dir;
    const struct {
        std::size_t length;
        const char* line_end;
        int code;
    } cases[] = {
        {longest_record, "\n", units::record_ok},
        {longest_record, "\r\n", units::record_ok},  // the buffer keeps room for CR LF after it
        {longest_record + 1, "\n", buffer_allocation_failed},
        {longest_record + 1, "\r\n", buffer_allocation_failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + (c.line_end[0] == '\r' ? " CR LF" : " LF"));
        write_file("long.txt", std::string(c.length, 'r') + c.line_end + "next\n");
        const FirstRecord first = first_record_of("long.txt");
        EXPECT_EQ(first.code, c.code);
        if (c.code == units::record_ok) {
            EXPECT_EQ(first.length, c.length);
        }
    }

    // Written to a disk file: the record and its CR LF, then read back.
    ASSERT_EQ(open_file(51, "written.txt", "REPLACE"), 0);
    const std::string record(longest_record, 'w');
    EXPECT_EQ(units::write_record(record_of(51), record.data(), record.size(), true), 0);
    EXPECT_EQ(units::write_record(record_of(51), "x", 1, true), 0);
    units::close_unit(51);
    struct stat st {};
    ASSERT_EQ(::stat("written.txt", &st), 0);
    EXPECT_EQ(static_cast<std::size_t>(st.st_size), longest_record + 2 + 3);
    const FirstRecord back = first_record_of("written.txt");
    EXPECT_EQ(back.code, units::record_ok);
    EXPECT_EQ(back.length, longest_record);
    expect_units_closed(50, 51);
}

std::vector<std::size_t> transfers;

ssize_t counted_pwrite(int fd, const void* data, size_t count, off_t offset) {
    transfers.push_back(count);
    return units::system_file_calls().pwrite(fd, data, count, offset);
}

ssize_t counted_write(int fd, const void* data, size_t count) {
    transfers.push_back(count);
    return units::system_file_calls().write(fd, data, count);
}

// Writes `records` records of 126 characters (128 bytes with CR LF) to unit 52, counting
// the transfers the file layer hands the system.
std::vector<std::size_t> transfers_writing(const std::string& name, int records) {
    transfers.clear();
    units::file_calls().pwrite = counted_pwrite;
    units::file_calls().write = counted_write;
    EXPECT_EQ(open_file(52, name, "UNKNOWN", "WRITE"), 0);
    const std::string record(126, 'p');
    for (int i = 0; i < records; ++i) put_record(52, record);
    units::close_unit(52);
    units::file_calls() = units::system_file_calls();
    return transfers;
}

TEST(TransferSizes, ADiskFileIsWrittenIn262144ByteTransfersAPipeIn8192) {
    ScratchDirectory dir;
    // 5,000 records: two full buffers and the rest at CLOSE.
    const std::vector<std::size_t> disk = transfers_writing("disk.txt", 5000);
    EXPECT_EQ(disk, (std::vector<std::size_t>{262'144, 262'144, 5000 * 128 - 2 * 262'144}));

    // A FIFO whose reader (this test) takes everything: 200 records fit the pipe.
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    const int reader = ::open("pipe", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::vector<std::size_t> pipe = transfers_writing("pipe", 200);
    ::close(reader);
    EXPECT_EQ(pipe, (std::vector<std::size_t>{8192, 8192, 8192, 200 * 128 - 3 * 8192}));
    expect_units_closed(52, 52);
}

}  // namespace
}  // namespace corvane::testing
