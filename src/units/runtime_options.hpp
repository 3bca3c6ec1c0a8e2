// Run-time options from VORNEX_RT_FLAGS and the tab width from TABSIZE, read once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "units/connection_record.hpp"

namespace corvane::units {

struct LineEnd {
    char terminator = '\n';
    char companion = '\r';
    int length = 1;  // line-end characters a record occupies when stepping back over it
};

struct RuntimeOptions {
    bool read = false;
    bool default_carriage = false;
    bool file_prompt = false;
    bool vax_names = false;
    bool unix_names = false;
    ByteOrder byte_order = ByteOrder::native;
    bool no_lead_zero = false;
    bool reclen32 = false;
    bool f90_namelist_extensions = false;
    bool print_stop = false;
    bool unit9_not_preconnected = true;
    bool hex_uppercase = false;
    bool unix_eol = false;  // formatted output records end with the terminator alone
    LineEnd line_end;
    char record_end[2] = {'\r', '\n'};  // what ends a formatted output record
    std::size_t record_end_length = 2;

    // -fileprompt: the words of the command line still to be used as file names.
    std::vector<std::string> prompt_words;
    std::size_t prompt_cursor = 0;
};

// Parses an option text into `options`; unknown words come back in `warnings` as the
// complete warning lines (without line end).
void parse_runtime_flags(std::string_view text, RuntimeOptions& options,
                         std::vector<std::string>& warnings);

namespace detail {
extern RuntimeOptions options_in_force;
void read_options();
}  // namespace detail

// The options in force; the first call reads VORNEX_RT_FLAGS and writes its warnings.
// Every statement asks, so the check is inline.
inline const RuntimeOptions& runtime_options() {
    if (!detail::options_in_force.read) detail::read_options();
    return detail::options_in_force;
}
RuntimeOptions& runtime_options_for_update();
void ensure_runtime_initialised();
// Forgets the options read, so that the next statement reads them again (tests).
void reset_runtime_options();

// TABSIZE: a value of 0 or more is the width; unset or negative, 8; anything else, 0.
int parse_tab_size(const char* value);
int tab_size();

// The process's command-line words after the program name (kept at start-up).
void set_command_line_words(std::vector<std::string> words);
const std::vector<std::string>& command_line_words();

// "fort.N", or "FORnnn.DAT" under -vaxnames.
std::string default_file_name(int unit_number);

// The bytes that end a formatted output record on this unit.
std::string_view output_line_end(const ConnectionRecord& record);

}  // namespace corvane::units
