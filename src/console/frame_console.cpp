#include "console/frame_console.hpp"

#include <algorithm>
#include <cstring>

#include "console/text_window.hpp"
#include "console/window_spec.hpp"
#include "fmtio/statement_api.hpp"
#include "units/console_hooks.hpp"
#include "units/interruption.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

namespace corvane::console {

namespace {

FrameConsole* active = nullptr;
EventPump* active_pump = nullptr;

// Any status but the default hook's -10 makes the OPEN report a bad window.
constexpr int window_refused = 1;
constexpr std::size_t fatal_text_length = 100;
constexpr std::int32_t console_output_unit = -3;

std::size_t hook_read_line(char* buffer, std::size_t size, units::ConnectionRecord& record) {
    return active->read_line(buffer, size, record);
}
std::size_t hook_write_bytes(const char* bytes, std::size_t count, int handle_code, units::ConnectionRecord* record) {
    return active->write_bytes(bytes, count, handle_code, record);
}
void hook_poll() {
    if (active_pump->events_pending()) active_pump->drain();
}
void hook_program_end(int exit_code) { active->program_end(exit_code); }
int hook_open_window(units::ConnectionRecord& record, std::string_view title, std::string_view size_text) {
    return active->open_window(record, title, size_text);
}
int hook_close_window(units::ConnectionRecord& record) { return active->close_window(record); }
bool hook_prompt_file_name(int unit, units::OpenStatus status, std::string& name) {
    return active->prompt_file_name(unit, status, name);
}

}  // namespace

std::string fatal_error_text(std::string_view text) {
    const std::size_t kept = text.find_last_not_of(' ');
    text = kept == std::string_view::npos ? std::string_view{} : text.substr(0, kept + 1);
    std::string built = "System Error found! \"";
    built += text;
    built += "\", program stop";
    built.resize(fatal_text_length, ' ');
    return built;
}

FrameConsole::FrameConsole(EventPump& pump, FrameHost& host) : pump_(pump), host_(host) {}

FrameConsole::~FrameConsole() {
    if (active != this) return;
    units::install_console_hooks(units::default_console_hooks());
    active = nullptr;
    active_pump = nullptr;
}

void FrameConsole::start() {
    active = this;
    active_pump = &pump_;
    units::install_console_hooks({hook_read_line, hook_write_bytes, hook_poll, hook_program_end, hook_open_window,
                                  hook_close_window, hook_prompt_file_name, &pump_.pending_flag()});
    registry_.take_slot(-1);
}

void FrameConsole::attach_console(TextWindow& console) { register_new_window(console); }

void FrameConsole::window_closed(const TextWindow& window) { registry_.window_closed(window); }

void FrameConsole::register_new_window(TextWindow& window) {
    // At most 99 text windows can be open at once.
    if (registry_.register_window(window) >= WindowRegistry::slot_count)
        fatal_error("Maximun window allowed to open is 100 ", 0);
}

void FrameConsole::fatal_error(std::string_view text, std::int32_t code) {
    fmtio::write(fmtio::default_unit, fmtio::list_directed, "error code = ", code);
    host_.show_message("System Error", fatal_error_text(text), MessageIcon::error);
    pump_.request_quit(-1);
    units::terminate_program(-1);
}

void FrameConsole::window_gone() {
    host_.show_message("Window Handler Error", "Not a valid window, program exited.", MessageIcon::error);
    pump_.request_quit(-1);
    // The run did not finish: it ends as after any fatal condition.
    units::terminate_program(-1);
}

std::size_t FrameConsole::read_line(char* buffer, std::size_t size, units::ConnectionRecord& record) {
    const std::int32_t unit = record.unit_number;
    TextWindow* window = registry_.find(unit);
    if (window) {
        // The program reads here: from now on what the user types between its reads waits
        // for the next one.
        window->set_holds_type_ahead(true);
        window->set_reading_line(true);
        if (window->state().reading_line) host_.program_state_changed(ProgramState::waiting_for_answer);
        // The window is looked up again after every event: the user may have closed it.
        while ((window = registry_.find(unit)) && window->state().reading_line && !pump_.quit_requested()) {
            pump_.wait_and_handle();
            units::end_if_interrupted();  // a wait for an answer is a safe point
        }
        window = registry_.find(unit);
    }
    if (!window) window_gone();
    const bool entered = !window->state().reading_line;
    window->set_reading_line(false);
    host_.program_state_changed(ProgramState::working);
    if (size < 2) return 0;

    // The answer is what stood right of the prompt when Enter was pressed (or stands there
    // now when the loop was told to quit), cut so that it and CR LF fit.
    const std::string_view answer = entered ? std::string_view(window->state().answer) : window->typed_answer();
    std::size_t placed = std::min(answer.size(), size - 2);
    std::memcpy(buffer, answer.data(), placed);
    buffer[placed++] = '\r';
    buffer[placed++] = '\n';
    window->set_input_start_column(0);
    return placed;
}

std::size_t FrameConsole::write_bytes(const char* bytes, std::size_t count, int, units::ConnectionRecord* record) {
    // Run-time messages come without a record: they belong to the error output's console.
    TextWindow* window = registry_.find(record ? record->unit_number : console_output_unit);
    if (!window) {
        pump_.request_quit(-1);
        return 0;
    }
    window->write_text(bytes, count);
    pump_.drain();
    return count;
}

void FrameConsole::program_end(int) {
    if (state_.program_ended) return;
    state_.program_ended = true;
    host_.program_state_changed(ProgramState::finished);
    // Nothing reads any more: input held for a read is typed into its window now.
    for (int slot = 0; slot < registry_.slots_used(); ++slot) {
        if (TextWindow* window = registry_.window(slot)) window->set_holds_type_ahead(false);
    }
    while (!pump_.quit_requested()) {
        pump_.wait_and_handle();
        units::end_if_interrupted();  // the units are closed: this only exits with 128 + n
    }
}

int FrameConsole::open_window(units::ConnectionRecord& record, std::string_view title, std::string_view window_spec) {
    if (registry_.take_slot(record.unit_number) < 0) return window_refused;  // all slots have been taken
    if (record.unit_number <= 0) return 0;
    TextWindow* window = host_.create_text_window(title, parse_window_size(window_spec));
    if (!window) return window_refused;
    register_new_window(*window);
    return 0;
}

int FrameConsole::close_window(units::ConnectionRecord&) { return 0; }  // the window stays open

bool FrameConsole::prompt_file_name(int unit, units::OpenStatus status, std::string& name) {
    FileNameRequest request;
    request.open_existing = status == units::OpenStatus::old_file;
    request.overwrite_prompt = status == units::OpenStatus::new_file;
    request.title = (request.open_existing ? "Open file on FORTRAN UNIT " : "Create file on FORTRAN UNIT ") +
                    std::to_string(unit);
    request.initial_name = units::default_file_name(unit);
    std::optional<std::string> chosen = host_.choose_file_name(request);
    if (!chosen) return false;
    name = std::move(*chosen);
    return true;
}

}  // namespace corvane::console
