#include "units/console_streams.hpp"

#include <cerrno>

#include "units/conditions.hpp"
#include "units/error_report.hpp"
#include "units/file_layer.hpp"
#include "units/message_tables.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

// An answer may be long in coming: the files get what was written so far, so that a user
// who looks at one meanwhile (or a power cut) finds it all. A write the system refuses ends
// the run as one at the end of the program would.
void write_out_before_waiting() {
    if (const int err = write_out_file_units()) {
        write_error_message(format_condition_report(Condition{err}, nullptr, output_line_end(ConnectionRecord{})));
        terminate_program(-1);
    }
}

// The standard streams, through read_line and write_bytes with their handle codes.
class ConsoleStream : public Stream {
public:
    explicit constexpr ConsoleStream(int handle_code) : Stream(true), handle_code_(handle_code) {}

    std::int64_t read(ConnectionRecord& record, char* into, std::size_t room, std::int64_t) override {
        write_out_before_waiting();
        return static_cast<std::int64_t>(console_hooks().read_line(into, room, record));
    }

    std::size_t write(ConnectionRecord& record, const char* bytes, std::size_t count, std::int64_t) override {
        if (console_hooks().write_bytes(bytes, count, handle_code_, &record) != 0) return count;
        record.error = system_code_from_errno(EIO);
        return 0;
    }

    void close(ConnectionRecord&, bool) override {}

private:
    int handle_code_;
};

// A text window of the frame: read and written like the console; CLOSE tells the frame.
class WindowStream final : public ConsoleStream {
public:
    constexpr WindowStream() : ConsoleStream(handle_window) {}
    void close(ConnectionRecord& record, bool) override { console_hooks().close_window(record); }
};

ConsoleStream standard_input{handle_stdin};
ConsoleStream standard_output{handle_stdout};
ConsoleStream standard_error{handle_stderr};
WindowStream window;

// What open_window answers when there is no window frame.
constexpr int no_window_frame = -10;

}  // namespace

Stream& console_stream(int unit_code) {
    if (unit_code == unit_console_in) return standard_input;
    if (unit_code == unit_console_out) return standard_output;
    return standard_error;
}

int connect_window(ConnectionRecord& record, std::string_view title, std::string_view window_spec) {
    const int status = console_hooks().open_window(record, title, window_spec);
    if (status != 0) return status == no_window_frame ? condition::windows_required : condition::bad_window;
    record.stream = &window;
    return 0;
}

void write_console_message(std::string_view text, bool error_output) {
    if (text.empty()) return;
    console_hooks().write_bytes(text.data(), text.size(), error_output ? handle_stderr : handle_stdout, nullptr);
}

std::optional<std::string> file_name_dialog(int unit, OpenStatus status, bool& asked) {
    auto* dialog = console_hooks().prompt_file_name;
    asked = dialog != nullptr;
    if (!dialog) return std::nullopt;
    std::string name;
    if (!dialog(unit, status, name)) return std::nullopt;
    return name;
}

void console_program_end(int exit_code) { console_hooks().program_end(exit_code); }

}  // namespace corvane::units
