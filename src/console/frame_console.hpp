// The frame's console hooks: the record layer's reads, writes, polls and the end of the
// program, served by text windows instead of the standard streams. Every hook that waits
// runs the frame's event pump itself, so the windows stay alive while the program is
// inside a READ, and menu commands run from inside whichever hook is pumping.
//
// One frame console is installed at a time (the hook table holds plain functions). Start-up:
// construct it, start() it (this installs the hooks and reserves registry slot 0), create
// the console window "Input/Output" and attach_console() it; then run the application.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/event_pump.hpp"
#include "console/frame_host.hpp"
#include "console/frame_state.hpp"
#include "console/window_registry.hpp"
#include "units/connection_record.hpp"
#include "units/console_hooks.hpp"

namespace corvane::console {

class FrameConsole {
public:
    FrameConsole(EventPump& pump, FrameHost& host);
    ~FrameConsole();  // the default hooks come back if this console is installed
    FrameConsole(const FrameConsole&) = delete;
    FrameConsole& operator=(const FrameConsole&) = delete;

    // Installs the hooks and takes registry slot 0 for the console (unit code -1).
    void start();
    // The console window goes into slot 0.
    void attach_console(TextWindow& console);
    // The user closed a text window: it is no longer found for its unit.
    void window_closed(const TextWindow& window);

    WindowRegistry& registry() { return registry_; }
    FrameState& state() { return state_; }
    EventPump& pump() { return pump_; }
    bool program_ended() const { return state_.program_ended; }

    // The frame's own fatal condition: "error code = " and the code on the console, a
    // "System Error" box quoting the text, then the program ends with status -1.
    [[noreturn]] void fatal_error(std::string_view text, std::int32_t code);

    // The hooks themselves (see units/console_hooks.hpp for their contracts).
    std::size_t read_line(char* buffer, std::size_t size, units::ConnectionRecord& record);
    std::size_t write_bytes(const char* bytes, std::size_t count, int handle_code, units::ConnectionRecord* record);
    void program_end(int exit_code);
    int open_window(units::ConnectionRecord& record, std::string_view title, std::string_view window_spec);
    int close_window(units::ConnectionRecord& record);
    bool prompt_file_name(int unit, units::OpenStatus status, std::string& name);

private:
    void register_new_window(TextWindow& window);
    [[noreturn]] void window_gone();

    EventPump& pump_;
    FrameHost& host_;
    WindowRegistry registry_;
    FrameState state_;
};

// The text of the frame's fatal error box: the given text quoted without its trailing
// blanks, cut or blank-padded to 100 characters.
std::string fatal_error_text(std::string_view text);

}  // namespace corvane::console
