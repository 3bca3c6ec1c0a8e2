// Interruption by SIGINT, SIGTERM and SIGHUP inside the run-time: a signal already noted
// ends the run at the start of the next statement, before it writes or opens anything; the
// first of two signals decides the status; and a system call that waits without end (the
// open of a FIFO, a read from a silent pipe, a write to a full one) still ends. Each run is
// a child process; a helper thread sends the signal only once the wait has begun.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "fmtio/statement_api.hpp"
#include "test_support.hpp"
#include "unit_test_support.hpp"
#include "units/interruption.hpp"

namespace corvane::testing {
namespace {

using ::testing::ExitedWithCode;

struct PendingCase {
    std::string_view statement;
    int signal_number;
};

// Runs one statement with a signal already noted; the unit it would write was opened before.
void statement_after_signal(const PendingCase& c) {
    units::install_interruption_handlers();
    open_file(30, "written.txt", "REPLACE");
    ::raise(c.signal_number);  // the handler notes it; nothing ends yet
    if (c.statement == "WRITE") {
        fmtio::write(units::unit(30), fmtio::fmt<"(a)">, std::string_view("a record"));
    } else if (c.statement == "OPEN") {
        open_file(31, "opened.txt", "NEW");
    } else {
        units::close_unit(30, {}, "DELETE");
    }
    std::_Exit(0);  // not reached when the statement's safe point ends the run
}

TEST(Interruption, APendingSignalEndsTheRunAtTheNextStatementBeforeItActs) {
    const PendingCase cases[] = {{"WRITE", SIGTERM}, {"WRITE", SIGINT}, {"OPEN", SIGHUP}, {"OPEN", SIGTERM},
                                 {"CLOSE", SIGINT}};
    for (const PendingCase& c : cases) {
        SCOPED_TRACE(std::string(c.statement) + " after " + strsignal(c.signal_number));
        ScratchDirectory dir;
        EXPECT_EXIT(statement_after_signal(c), ExitedWithCode(128 + c.signal_number), "");
        EXPECT_EQ(read_file("written.txt"), "") << "nothing was written";
        EXPECT_FALSE(file_exists("opened.txt")) << "nothing was opened";
        EXPECT_TRUE(file_exists("written.txt")) << "the CLOSE did not delete the file";
    }
}

TEST(Interruption, TheFirstOfTwoSignalsDecidesTheStatus) {
    const struct {
        int first, second;
    } cases[] = {{SIGINT, SIGTERM}, {SIGTERM, SIGHUP}, {SIGHUP, SIGINT}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.first)) + " then " + strsignal(c.second));
        EXPECT_EXIT(
            {
                units::install_interruption_handlers();
                ::raise(c.first);
                ::raise(c.second);
                units::end_if_interrupted();
                std::_Exit(0);
            },
            ExitedWithCode(128 + c.first), "");
    }
}

std::string waiting_in(pid_t thread) {
    return read_file("/proc/self/task/" + std::to_string(thread) + "/wchan");
}

// Sends the signal to the process once `thread` waits in a kernel function whose name holds
// `where`. The signal may reach either thread: the run-time passes it to the waiting one.
void signal_once_waiting(pid_t thread, std::string where, int signal_number) {
    std::thread([=] {
        while (waiting_in(thread).find(where) == std::string::npos) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(::getpid(), signal_number);
    }).detach();
}

enum class Wait { open_for_reading, open_for_writing, read_from_silent_pipe, write_to_full_pipe };

struct WaitCase {
    Wait wait;
    std::string_view waits_in;  // a part of the kernel function's name
    int signal_number;
};

void wait_on_fifo(const WaitCase& c) {
    ::alarm(20);  // a wait the signal did not end fails the case instead of holding the test
    units::install_interruption_handlers();
    ::mkfifo("fifo", 0600);
    if (c.wait == Wait::read_from_silent_pipe || c.wait == Wait::write_to_full_pipe) {
        ::open("fifo", O_RDWR | O_NONBLOCK);  // the other end: present, silent, never reading
    }
    const auto self = static_cast<pid_t>(::syscall(SYS_gettid));
    signal_once_waiting(self, std::string(c.waits_in), c.signal_number);
    switch (c.wait) {
        case Wait::open_for_reading:
        case Wait::read_from_silent_pipe: {
            open_file(40, "fifo", "OLD", "READ");
            std::int32_t value = 0;
            fmtio::read(units::unit(40), fmtio::fmt<"(i5)">, value);
            break;
        }
        case Wait::open_for_writing:
        case Wait::write_to_full_pipe:
            open_file(40, "fifo", "OLD", "WRITE");
            for (;;) fmtio::write(units::unit(40), fmtio::fmt<"(a)">, std::string_view("a record that fills the pipe"));
    }
    std::_Exit(0);
}

TEST(Interruption, EndsWaitsOnFifosAndPipes) {
    const WaitCase cases[] = {
        {Wait::open_for_reading, "wait_for_partner", SIGINT},
        {Wait::open_for_writing, "wait_for_partner", SIGTERM},
        {Wait::read_from_silent_pipe, "pipe_read", SIGHUP},
        {Wait::write_to_full_pipe, "pipe_write", SIGTERM},
    };
    for (const WaitCase& c : cases) {
        SCOPED_TRACE(std::string(c.waits_in) + ", " + strsignal(c.signal_number));
        ScratchDirectory dir;
        EXPECT_EXIT(wait_on_fifo(c), ExitedWithCode(128 + c.signal_number), "");
    }
}

}  // namespace
}  // namespace corvane::testing
