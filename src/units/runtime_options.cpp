#include "units/runtime_options.hpp"

#include <cstdlib>
#include <cstring>

#include "units/file_layer.hpp"
#include "units/interruption.hpp"

namespace corvane::units {

constinit RuntimeOptions detail::options_in_force{};

namespace {

RuntimeOptions& options_storage() { return detail::options_in_force; }

std::vector<std::string>& command_words_storage() {
    static std::vector<std::string> words;
    return words;
}

using OptionAction = void (*)(RuntimeOptions&);

struct OptionName {
    std::string_view name;
    OptionAction apply;
};

// Compared in this order; the text only has to begin with the name.
constexpr OptionName option_names[] = {
    {"-defaultcarriage", [](RuntimeOptions& o) { o.default_carriage = true; }},
    {"-fileprompt", [](RuntimeOptions& o) {
         o.file_prompt = true;
         o.prompt_words = command_line_words();
         o.prompt_cursor = 0;
     }},
    {"-vaxnames", [](RuntimeOptions& o) { o.vax_names = true; o.unix_names = false; }},
    {"-unixnames", [](RuntimeOptions& o) { o.unix_names = true; o.vax_names = false; }},
    {"-bigendian", [](RuntimeOptions& o) { o.byte_order = ByteOrder::big_endian; }},
    {"-littleendian", [](RuntimeOptions& o) { o.byte_order = ByteOrder::little_endian; }},
    {"-noleadzero", [](RuntimeOptions& o) { o.no_lead_zero = true; }},
    {"-reclen32", [](RuntimeOptions& o) { o.reclen32 = true; }},
    {"-f90nlexts", [](RuntimeOptions& o) { o.f90_namelist_extensions = true; }},
    {"-printstop", [](RuntimeOptions& o) { o.print_stop = true; }},
    {"-nounit9", [](RuntimeOptions& o) { o.unit9_not_preconnected = true; }},
    {"-connectunit9", [](RuntimeOptions& o) { o.unit9_not_preconnected = false; }},
    {"-maceol", [](RuntimeOptions& o) { o.line_end = {'\r', '\n', 1}; o.unix_eol = false; }},
    {"-doseol", [](RuntimeOptions& o) { o.line_end = {'\n', '\r', 2}; o.unix_eol = false; }},
    {"-unixeol", [](RuntimeOptions& o) { o.line_end = {'\n', '\r', 1}; o.unix_eol = true; }},
    {"-hex_uppercase", [](RuntimeOptions& o) { o.hex_uppercase = true; }},
};

constexpr std::size_t max_flags_length = 128;

// Formatted output records end with the companion character and the terminator; under
// -unixeol with the terminator alone, which is what that option is for.
void settle_record_end(RuntimeOptions& options) {
    const LineEnd& end = options.line_end;
    if (options.unix_eol) {
        options.record_end[0] = end.terminator;
        options.record_end_length = 1;
    } else {
        options.record_end[0] = end.companion;
        options.record_end[1] = end.terminator;
        options.record_end_length = 2;
    }
}
constexpr std::size_t max_tabsize_length = 20;

}  // namespace

void parse_runtime_flags(std::string_view text, RuntimeOptions& options,
                         std::vector<std::string>& warnings) {
    std::size_t pos = 0;
    auto skip_blanks = [&] {
        while (pos < text.size() && text[pos] == ' ') ++pos;
    };
    skip_blanks();
    while (pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        const OptionName* match = nullptr;
        for (const OptionName& option : option_names) {
            if (rest.substr(0, option.name.size()) == option.name) {
                match = &option;
                break;
            }
        }
        if (match) {
            match->apply(options);
            pos += match->name.size();
        } else {
            std::size_t end = rest.find(' ');
            if (end == std::string_view::npos) end = rest.size();
            warnings.push_back("Warning: unknown runtime option " + std::string(rest.substr(0, end)));
            pos += end;
        }
        skip_blanks();
    }
    if (!options.vax_names) options.unix_names = true;
    settle_record_end(options);
}

RuntimeOptions& runtime_options_for_update() {
    ensure_runtime_initialised();
    return options_storage();
}

void ensure_runtime_initialised() {
    end_if_interrupted();  // every connection statement starts here: a safe point
    if (!detail::options_in_force.read) detail::read_options();
}

void detail::read_options() {
    RuntimeOptions& options = options_storage();
    options = RuntimeOptions{};
    options.read = true;
    std::vector<std::string> warnings;
    if (const char* flags = std::getenv("VORNEX_RT_FLAGS")) {
        parse_runtime_flags(std::string_view(flags, strnlen(flags, max_flags_length)), options, warnings);
    } else {
        options.unix_names = true;
    }
    for (const std::string& warning : warnings) {
        write_error_message(warning);
        write_error_message(output_line_end(ConnectionRecord{}));
    }
}

void reset_runtime_options() { options_storage() = RuntimeOptions{}; }

int parse_tab_size(const char* value) {
    if (value == nullptr) return 8;
    std::string_view text(value, strnlen(value, max_tabsize_length));
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long width = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;  // not a number: tabs are kept
        if (width < 1000000) width = width * 10 + (text[i] - '0');
    }
    if (negative && width > 0) return 8;
    return static_cast<int>(width);
}

int tab_size() {
    static const int width = parse_tab_size(std::getenv("TABSIZE"));
    return width;
}

void set_command_line_words(std::vector<std::string> words) { command_words_storage() = std::move(words); }
const std::vector<std::string>& command_line_words() { return command_words_storage(); }

std::string default_file_name(int unit_number) {
    if (runtime_options().vax_names) {
        std::string digits = std::to_string(unit_number);
        if (unit_number >= 0 && digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
        return "FOR" + digits + ".DAT";
    }
    return "fort." + std::to_string(unit_number);
}

std::string_view output_line_end(const ConnectionRecord& record) {
    const RuntimeOptions& options = options_storage();
    if (record.mode.carriage_control) return {&options.line_end.companion, 1};
    return {options.record_end, options.record_end_length};
}

}  // namespace corvane::units
