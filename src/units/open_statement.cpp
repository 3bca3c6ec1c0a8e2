// OPEN, and the implicit connection of a unit on its first data transfer.
#include <memory>
#include <optional>
#include <string>

#include "units/conditions.hpp"
#include "units/connection_statement.hpp"
#include "units/connection_statements.hpp"
#include "units/console_streams.hpp"
#include "units/file_layer.hpp"
#include "units/keyword_tables.hpp"
#include "units/record_io.hpp"
#include "units/runtime_options.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

using namespace condition;

// The keyword specifiers of one OPEN, checked against their tables.
struct OpenKeywords {
    OpenStatus status = OpenStatus::unknown;
    bool status_given = false;
    Access access = Access::sequential;
    bool access_given = false;
    bool append = false;
    Form form = Form::formatted;
    bool blank_zero = false;
    PositionMode position = PositionMode::as_is;
    bool position_given = false;
    ActionMeaning action;
    bool action_given = false;
    Delimiter delim = Delimiter::none;
    bool pad = true;
    ByteOrder byte_order = ByteOrder::native;
    bool carriage_control = false;
    bool carriage_given = false;
    bool delete_on_close = false;
};

// A keyword specifier's value, kept when its table holds it: false when it does not.
template <class T>
bool keep_value(const std::optional<T>& value, T& into) {
    if (value) into = *value;
    return value.has_value();
}

bool keep_status(std::string_view given, OpenKeywords& k) {
    return k.status_given = keep_value(status_keyword(given), k.status);
}
bool keep_access(std::string_view given, OpenKeywords& k) {
    return k.access_given = keep_value(access_keyword(given, k.append), k.access);
}
bool keep_form(std::string_view given, OpenKeywords& k) { return keep_value(form_keyword(given), k.form); }
bool keep_blank(std::string_view given, OpenKeywords& k) { return keep_value(blank_zero_keyword(given), k.blank_zero); }
bool keep_position(std::string_view given, OpenKeywords& k) {
    k.position_given = keep_value(position_keyword(given), k.position);
    if (k.position_given && k.position == PositionMode::append) k.append = true;
    return k.position_given;
}
bool keep_action(std::string_view given, OpenKeywords& k) {
    k.action_given = keep_value(action_keyword(given), k.action);
    if (k.action_given) {
        k.carriage_control = k.action.carriage_control;
        k.delete_on_close = k.action.delete_on_close;
    }
    return k.action_given;
}
bool keep_delim(std::string_view given, OpenKeywords& k) { return keep_value(delim_keyword(given), k.delim); }
bool keep_pad(std::string_view given, OpenKeywords& k) { return keep_value(pad_keyword(given), k.pad); }
bool keep_byte_order(std::string_view given, OpenKeywords& k) {
    return keep_value(byte_order_keyword(given), k.byte_order);
}
bool keep_carriage_control(std::string_view given, OpenKeywords& k) {
    return k.carriage_given = keep_value(carriage_control_keyword(given), k.carriage_control);
}
bool keep_dispose(std::string_view given, OpenKeywords& k) {
    const std::optional<ActionMeaning> v = dispose_keyword(given);
    if (v && v->delete_on_close) k.delete_on_close = true;
    return v.has_value();
}

// The keyword specifiers of OPEN in the order they are checked: where the text stands,
// how a value of its table is kept, and the condition for any other value.
struct KeywordRule {
    std::string_view OpenSpec::*text;
    bool (*keep)(std::string_view given, OpenKeywords& k);
    int condition;
};

constexpr KeywordRule keyword_rules[] = {
    {&OpenSpec::status, keep_status, bad_specifier},
    {&OpenSpec::access, keep_access, bad_specifier},
    {&OpenSpec::form, keep_form, bad_specifier},
    {&OpenSpec::blank, keep_blank, bad_specifier},
    {&OpenSpec::position, keep_position, bad_specifier},
    {&OpenSpec::action, keep_action, bad_specifier},
    {&OpenSpec::delim, keep_delim, bad_delim},
    {&OpenSpec::pad, keep_pad, bad_pad},
    {&OpenSpec::byte_order, keep_byte_order, bad_endian},
    {&OpenSpec::carriage_control, keep_carriage_control, bad_specifier},
    {&OpenSpec::dispose, keep_dispose, bad_specifier},
};

// The specifiers given (an empty text is one not given); 0 or the first one's condition.
int read_keywords(const OpenSpec& request, OpenKeywords& k) {
    for (const KeywordRule& rule : keyword_rules) {
        const std::string_view given = request.*rule.text;
        if (!given.empty() && !rule.keep(given, k)) return rule.condition;
    }
    return 0;
}

// The plain console's question for a file name: the answer up to the line end.
bool ask_console_for_name(int unit_number, std::string& name) {
    write_output_message("FORTRAN I/O LIBRARY - file name needed for OPEN(UNIT=" +
                         std::to_string(unit_number) + "? ");
    // The raw line: a carriage return ends the name, it is not dropped from inside it.
    RecordView answer;
    if (read_raw_record(console_unit(unit_console_in), answer) != record_ok) return false;
    const std::string_view line(answer.data, answer.length);
    name.assign(line.substr(0, line.find_first_of("\r\n")));
    return true;
}

bool prompt_for_name(int unit_number, OpenStatus status, std::string& name) {
    const RuntimeOptions& options = runtime_options();
    if (options.file_prompt && options.prompt_cursor < options.prompt_words.size()) {
        name = runtime_options_for_update().prompt_words[runtime_options_for_update().prompt_cursor++];
        return true;
    }
    bool asked = false;
    std::optional<std::string> chosen = file_name_dialog(unit_number, status, asked);
    if (!asked) return ask_console_for_name(unit_number, name);
    if (!chosen) return false;
    name = std::move(*chosen);
    return true;
}

// Whether a new OPEN of a connected unit asks for anything the connection does not have.
bool agrees_with_connection(const OpenSpec& request, const OpenKeywords& k, const ConnectionRecord& r) {
    if (k.action_given && (k.action.can_read != r.mode.can_read || k.action.can_write != r.mode.can_write))
        return false;
    if (request.recl && *request.recl != r.record_length) return false;
    if (request.block_size && *request.block_size != r.block_size) return false;
    if (request.max_record && *request.max_record != r.maximum_record) return false;
    if (k.position_given && k.position != r.mode.position) return false;
    if (k.status_given && k.status != OpenStatus::old_file && k.status != OpenStatus::unknown) return false;
    if (k.access_given && k.access != r.mode.access) return false;
    return true;
}

// Creates or opens the record's file as its status asks. Returns 0 or a condition code.
int open_file_by_status(ConnectionRecord& record, OpenStatus status, bool append) {
    bool create = false;
    switch (status) {
        case OpenStatus::old_file: break;
        case OpenStatus::new_file:
            if (file_exists(record.file_name)) return new_file_exists;
            create = true;
            break;
        case OpenStatus::replace:
            file_delete(record.file_name);
            create = true;
            break;
        case OpenStatus::scratch: create = true; break;
        case OpenStatus::unknown: create = !file_exists(record.file_name); break;
    }
    file_open(record, create, append);
    return record.error;
}

// A sequential disk file written from anywhere but its end is cut after the new data.
void settle_start_position(ConnectionRecord& record, bool append) {
    if (record.mode.is_character_device) return;
    if (record.mode.access != Access::direct && !append) record.mode.truncate_pending = true;
}

// Opens the connection's named file as `status` asks and gives it its buffer: the block
// size when one is given, else the file's default. 0 or the condition; on failure the file
// is not left open.
int open_file_with_buffer(ConnectionRecord& connection, OpenStatus status, bool append,
                          std::optional<std::int32_t> block_size) {
    if (int err = open_file_by_status(connection, status, append)) return err;
    settle_start_position(connection, append);
    allocate_buffer(connection, block_size && *block_size > 0 ? *block_size : default_buffer_size(connection));
    if (connection.buffer) return 0;
    file_close(connection, false);
    return buffer_allocation;
}

// The unit OPEN connects: the number itself when a file or a scratch file is named, else
// the number after the console mapping.
int unit_to_open(const OpenSpec& request, const OpenKeywords& k, int& number) {
    int error = 0;
    const bool named = k.status == OpenStatus::scratch || request.file;
    number = named ? request.unit : map_unit_number(request.unit, false, false, error);
    return (error || request.unit < 0) ? illegal_unit : 0;
}

// OPEN of a connected unit. Another file, or a scratch file, replaces the connection: it
// is closed, and `stays` is false. Otherwise the connection stays: what OPEN asks must
// agree with it, and BLANK, PAD, DELIM and the carriage control take their new values.
int reopen(const OpenSpec& request, const OpenKeywords& k, ConnectionRecord& existing, bool& stays) {
    if (k.access == Access::window) return bad_specifier;
    const std::string_view file = request.file ? trim_blanks(*request.file) : std::string_view{};
    stays = !(k.status == OpenStatus::scratch || (request.file && file != existing.file_name && !file.empty()));
    if (!stays) return close_connection(existing, false);
    if (!agrees_with_connection(request, k, existing)) return open_mismatch;
    existing.mode.blank_zero = k.blank_zero;
    existing.mode.pad = k.pad;
    existing.delimiter = k.delim;
    if (k.carriage_given || k.carriage_control) existing.mode.carriage_control = k.carriage_control;
    return 0;
}

// RECL, the block size and the maximum record against the access of a new connection.
int check_record_sizes(const OpenSpec& request, const OpenKeywords& k) {
    // A window has no records to size: RECL there is a bad specifier, not a sequential RECL.
    if (k.access == Access::window && (request.recl || request.block_size || request.max_record))
        return bad_specifier;
    if (k.access == Access::direct && !request.recl) return record_length_bad;
    if (request.recl && *request.recl <= 0) return record_length_bad;
    if (request.recl && k.access != Access::direct) return recl_not_direct;
    return 0;
}

// The record of a new connection with the modes OPEN gives it, not yet connected.
std::unique_ptr<ConnectionRecord> new_connection(const OpenSpec& request, const OpenKeywords& k, int number) {
    auto record = std::make_unique<ConnectionRecord>();
    record->unit_number = number;
    record->mode.can_read = k.action.can_read;
    record->mode.can_write = k.action.can_write;
    record->mode.form = k.form;
    record->mode.access = k.access;
    record->mode.status = k.status;
    record->mode.position = k.append ? PositionMode::append : k.position;
    record->mode.blank_zero = k.blank_zero;
    record->mode.pad = k.pad;
    record->mode.carriage_control = k.carriage_control;
    record->mode.byte_order = k.byte_order != ByteOrder::native ? k.byte_order : runtime_options().byte_order;
    record->mode.delete_on_close = k.delete_on_close || k.status == OpenStatus::scratch;
    record->delimiter = k.delim;
    record->special.transparent_access = k.access == Access::transparent;
    if (request.recl) record->record_length = *request.recl;
    if (request.max_record) record->maximum_record = *request.max_record;
    if (request.block_size) record->block_size = *request.block_size;
    return record;
}

int connect_to_window(ConnectionRecord& connection, const OpenSpec& request) {
    if (int err = connect_window(connection, request.title, request.window_spec)) return err;
    connection.mode.is_character_device = true;
    allocate_buffer(connection, console_buffer_size);
    return 0;
}

// The file of a new connection: the trimmed FILE, the user's answer for an empty FILE, a
// temporary name for a scratch file, or the unit's default name.
int name_file(ConnectionRecord& connection, const OpenSpec& request, OpenStatus status) {
    if (status == OpenStatus::scratch) {
        if (request.file) return bad_file_specification;
        connection.file_name = temporary_name();
    } else if (request.file && request.file->empty()) {
        if (!prompt_for_name(connection.unit_number, status, connection.file_name)) return bad_file_specification;
    } else if (request.file) {
        const std::string_view name = trim_blanks(*request.file);
        if (name.empty()) return bad_file_specification;
        connection.file_name = name;
    } else {
        connection.file_name = default_file_name(connection.unit_number);
    }
    return 0;
}

int connect_to_file(ConnectionRecord& connection, const OpenSpec& request, const OpenKeywords& k) {
    if (int err = name_file(connection, request, k.status)) return err;
    return open_file_with_buffer(connection, k.status, k.append, request.block_size);
}

// OPEN's steps; 0 or the condition. A new connection that fails is dropped again.
int connect_unit(const OpenSpec& request) {
    OpenKeywords k;
    if (int err = read_keywords(request, k)) return err;
    int number = 0;
    if (int err = unit_to_open(request, k, number)) return err;
    if (ConnectionRecord* existing = number < 0 ? &console_unit(number) : unit_table().find(number)) {
        bool stays = false;
        if (int err = reopen(request, k, *existing, stays); err || stays) return err;
    }
    if (int err = check_record_sizes(request, k)) return err;
    ConnectionRecord& connection = unit_table().append(new_connection(request, k, number));
    const int err = k.access == Access::window ? connect_to_window(connection, request)
                                               : connect_to_file(connection, request, k);
    if (err) unit_table().remove(&connection);
    return err;
}

// The name of a unit connected on its first data transfer: the next word of the command
// line or the user's answer under -fileprompt, else the default name.
int name_implicit_file(ConnectionRecord& connection) {
    if (runtime_options().file_prompt) {
        const bool named = prompt_for_name(connection.unit_number, OpenStatus::unknown, connection.file_name);
        return named ? 0 : bad_file_specification;
    }
    connection.file_name = default_file_name(connection.unit_number);
    return 0;
}

}  // namespace

Outcome open_unit(const OpenSpec& request) {
    const ConnectionStatement statement(StatementKind::open, unit(request.unit), request.control);
    return statement.finish(connect_unit(request));
}

ConnectionRecord* connect_implicitly(int unit_number, int& error) {
    auto record = std::make_unique<ConnectionRecord>();
    record->unit_number = unit_number;
    ConnectionRecord& connection = unit_table().append(std::move(record));
    error = name_implicit_file(connection);
    if (!error) error = open_file_with_buffer(connection, OpenStatus::unknown, false, std::nullopt);
    if (!error) return &connection;
    unit_table().remove(&connection);
    return nullptr;
}

}  // namespace corvane::units
