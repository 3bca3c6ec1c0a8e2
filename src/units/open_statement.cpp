// OPEN, and the implicit connection of a unit on its first data transfer.
#include <memory>
#include <optional>
#include <string>

#include "units/conditions.hpp"
#include "units/connection_statements.hpp"
#include "units/console_streams.hpp"
#include "units/error_report.hpp"
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

int read_keywords(const OpenSpec& request, OpenKeywords& k) {
    if (!request.status.empty()) {
        auto v = status_keyword(request.status);
        if (!v) return bad_specifier;
        k.status = *v;
        k.status_given = true;
    }
    if (!request.access.empty()) {
        auto v = access_keyword(request.access, k.append);
        if (!v) return bad_specifier;
        k.access = *v;
        k.access_given = true;
    }
    if (!request.form.empty()) {
        auto v = form_keyword(request.form);
        if (!v) return bad_specifier;
        k.form = *v;
    }
    if (!request.blank.empty()) {
        auto v = blank_zero_keyword(request.blank);
        if (!v) return bad_specifier;
        k.blank_zero = *v;
    }
    if (!request.position.empty()) {
        auto v = position_keyword(request.position);
        if (!v) return bad_specifier;
        k.position = *v;
        k.position_given = true;
        if (*v == PositionMode::append) k.append = true;
    }
    if (!request.action.empty()) {
        auto v = action_keyword(request.action);
        if (!v) return bad_specifier;
        k.action = *v;
        k.action_given = true;
        k.carriage_control = v->carriage_control;
        k.delete_on_close = v->delete_on_close;
    }
    if (!request.delim.empty()) {
        auto v = delim_keyword(request.delim);
        if (!v) return bad_delim;
        k.delim = *v;
    }
    if (!request.pad.empty()) {
        auto v = pad_keyword(request.pad);
        if (!v) return bad_pad;
        k.pad = *v;
    }
    if (!request.byte_order.empty()) {
        auto v = byte_order_keyword(request.byte_order);
        if (!v) return bad_endian;
        k.byte_order = *v;
    }
    if (!request.carriage_control.empty()) {
        auto v = carriage_control_keyword(request.carriage_control);
        if (!v) return bad_specifier;
        k.carriage_control = *v;
        k.carriage_given = true;
    }
    if (!request.dispose.empty()) {
        auto v = dispose_keyword(request.dispose);
        if (!v) return bad_specifier;
        if (v->delete_on_close) k.delete_on_close = true;
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

}  // namespace

Outcome open_unit(const OpenSpec& request) {
    ensure_runtime_initialised();
    poll_events();
    const ConditionContext context{StatementKind::open, unit(request.unit), request.control};
    if (request.control.iostat.present()) store_iostat(request.control.iostat, 0);
    auto fail = [&](int code) { return raise_io_condition(Condition{code}, context); };

    OpenKeywords k;
    if (int err = read_keywords(request, k)) return fail(err);
    const bool scratch = k.status == OpenStatus::scratch;

    int error = 0;
    const int number = (scratch || request.file) ? request.unit : map_unit_number(request.unit, false, false, error);
    if (error || request.unit < 0) return fail(illegal_unit);

    ConnectionRecord* existing = number < 0 ? &console_unit(number) : unit_table().find(number);
    if (existing) {
        if (k.access == Access::window) return fail(bad_specifier);
        const bool other_file = request.file && trim_blanks(*request.file) != existing->file_name &&
                                !trim_blanks(*request.file).empty();
        if (other_file || scratch) {
            if (int err = close_connection(*existing, false)) return fail(err);
        } else {
            if (!agrees_with_connection(request, k, *existing)) return fail(open_mismatch);
            existing->mode.blank_zero = k.blank_zero;
            existing->mode.pad = k.pad;
            existing->delimiter = k.delim;
            if (k.carriage_given || k.carriage_control) existing->mode.carriage_control = k.carriage_control;
            return outcome_ok;
        }
    }

    // A window has no records to size: RECL there is a bad specifier, not a sequential RECL.
    if (k.access == Access::window && (request.recl || request.block_size || request.max_record))
        return fail(bad_specifier);
    if (k.access == Access::direct && !request.recl) return fail(record_length_bad);
    if (request.recl && *request.recl <= 0) return fail(record_length_bad);
    if (request.recl && k.access != Access::direct) return fail(recl_not_direct);

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
    record->mode.delete_on_close = k.delete_on_close || scratch;
    record->delimiter = k.delim;
    record->special.binary_form = k.form == Form::binary;
    record->special.transparent_access = k.access == Access::transparent;
    if (request.recl) record->record_length = *request.recl;
    if (request.max_record) record->maximum_record = *request.max_record;
    if (request.block_size) record->block_size = *request.block_size;
    ConnectionRecord& connection = unit_table().append(std::move(record));
    auto fail_and_forget = [&](int code) {
        unit_table().remove(&connection);
        return fail(code);
    };

    if (k.access == Access::window) {
        if (int err = connect_window(connection, request.title, request.window_spec)) return fail_and_forget(err);
        connection.mode.is_character_device = true;
        allocate_buffer(connection, console_buffer_size);
        return outcome_ok;
    }

    if (scratch) {
        if (request.file) return fail_and_forget(bad_file_specification);
        connection.file_name = temporary_name();
    } else if (request.file && request.file->empty()) {
        if (!prompt_for_name(number, k.status, connection.file_name)) return fail_and_forget(bad_file_specification);
    } else if (request.file) {
        const std::string_view name = trim_blanks(*request.file);
        if (name.empty()) return fail_and_forget(bad_file_specification);
        connection.file_name = name;
    } else {
        connection.file_name = default_file_name(number);
    }

    if (int err = open_file_by_status(connection, k.status, k.append)) return fail_and_forget(err);
    settle_start_position(connection, k.append);
    const std::int32_t size = request.block_size && *request.block_size > 0 ? *request.block_size
                                                                             : default_buffer_size(connection);
    allocate_buffer(connection, size);
    if (!connection.buffer) {
        file_close(connection, false);
        return fail_and_forget(buffer_allocation);
    }
    return outcome_ok;
}

ConnectionRecord* connect_implicitly(int unit_number, int& error) {
    auto record = std::make_unique<ConnectionRecord>();
    record->unit_number = unit_number;
    ConnectionRecord& connection = unit_table().append(std::move(record));
    if (runtime_options().file_prompt) {
        if (!prompt_for_name(unit_number, OpenStatus::unknown, connection.file_name)) {
            unit_table().remove(&connection);
            error = bad_file_specification;
            return nullptr;
        }
    } else {
        connection.file_name = default_file_name(unit_number);
    }
    if (int err = open_file_by_status(connection, OpenStatus::unknown, false)) {
        unit_table().remove(&connection);
        error = err;
        return nullptr;
    }
    settle_start_position(connection, false);
    allocate_buffer(connection, default_buffer_size(connection));
    if (!connection.buffer) {
        file_close(connection, false);
        unit_table().remove(&connection);
        error = buffer_allocation;
        return nullptr;
    }
    return &connection;
}

}  // namespace corvane::units
