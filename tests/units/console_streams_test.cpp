// Console units through their streams: records are handed to the hooks one by one with the
// stream's handle code, positioning statements leave them alone, and a refused write is
// an I/O error of the statement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/console_hooks.hpp"
#include "units/file_layer.hpp"
#include "units/message_tables.hpp"

namespace corvane::testing {
namespace {

struct Handed {
    int handle_code;
    int unit;  // 0 when the hook got no record
    std::string bytes;
};
std::vector<Handed> handed;
bool refuse_writes = false;

std::size_t recording_write(const char* bytes, std::size_t count, int handle_code, units::ConnectionRecord* record) {
    if (refuse_writes) return 0;
    handed.push_back({handle_code, record ? record->unit_number : 0, std::string(bytes, count)});
    return count;
}

class ConsoleStreams : public ::testing::Test {
protected:
    void SetUp() override {
        handed.clear();
        refuse_writes = false;
        drop_console_units();
        units::ConsoleHooks hooks = units::default_console_hooks();
        hooks.write_bytes = recording_write;
        units::install_console_hooks(hooks);
    }
    void TearDown() override {
        drop_console_units();
        units::install_console_hooks(units::default_console_hooks());
    }
};

TEST_F(ConsoleStreams, EachRecordReachesTheHookWithItsStreamsHandleCode) {
    fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "to the output");
    fmtio::write(units::unit(0), fmtio::fmt<"(a)">, "to the error output");
    fmtio::write(units::default_unit, fmtio::fmt<"(a,$)">, "prompt> ");
    units::write_error_message("? message\r\n");
    const std::vector<std::pair<int, std::string>> expected{
        {units::handle_stdout, "to the output\r\n"},
        {units::handle_stderr, "to the error output\r\n"},
        {units::handle_stdout, "prompt> "},
        {units::handle_stderr, "? message\r\n"},
    };
    ASSERT_EQ(handed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(handed[i].handle_code, expected[i].first) << i;
        EXPECT_EQ(handed[i].bytes, expected[i].second) << i;
    }
    EXPECT_EQ(handed[0].unit, units::unit_console_out);
    EXPECT_EQ(handed[1].unit, units::unit_console_err);
    EXPECT_EQ(handed[3].unit, 0);  // run-time messages come without a record
}

TEST_F(ConsoleStreams, PositioningLeavesAConsoleUnitAsItIs) {
    fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "one");
    for (auto statement : {units::rewind_unit, units::backspace_unit, units::endfile_unit})
        EXPECT_EQ(statement(6, {}), units::outcome_ok);
    fmtio::write(units::unit(6), fmtio::fmt<"(a)">, "two");
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[1].bytes, "two\r\n");
}

TEST_F(ConsoleStreams, ARefusedWriteIsAnInputOutputError) {
    refuse_writes = true;
    std::int32_t status = 0;
    EXPECT_EQ(fmtio::write(units::unit(6), units::with_iostat(status), fmtio::fmt<"(a)">, "lost"),
              units::outcome_error);
    EXPECT_EQ(status, units::system_code_from_errno(EIO));
}

}  // namespace
}  // namespace corvane::testing
