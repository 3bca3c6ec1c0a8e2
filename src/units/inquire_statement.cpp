// INQUIRE by unit or by file name.
#include "units/conditions.hpp"
#include "units/connection_statement.hpp"
#include "units/connection_statements.hpp"
#include "units/file_layer.hpp"
#include "units/keyword_tables.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

const char* yes_no(bool b) { return b ? "YES" : "NO"; }

void describe_connection(const ConnectionRecord& r, InquireResult& result) {
    result.opened = true;
    result.exists = true;
    result.number = r.unit_number;
    result.named = !r.file_name.empty();
    result.name = r.file_name;
    const bool direct = r.mode.access == Access::direct;
    result.access = direct ? "DIRECT" : r.special.transparent_access ? "TRANSPARENT" : "SEQUENTIAL";
    result.sequential = yes_no(!direct);
    result.direct = yes_no(direct);
    result.form = r.mode.form == Form::formatted ? "FORMATTED"
                : r.mode.form == Form::binary ? "BINARY" : "UNFORMATTED";
    result.formatted = yes_no(r.mode.form == Form::formatted);
    result.unformatted = yes_no(r.mode.form != Form::formatted);
    result.recl = r.record_length;
    result.next_record = r.record_number + 1;
    result.blank = r.mode.blank_zero ? "ZERO" : "NULL";
    result.position = r.mode.position == PositionMode::append ? "APPEND"
                    : r.mode.position == PositionMode::rewind ? "REWIND" : "ASIS";
    result.action = r.mode.can_read && r.mode.can_write ? "READWRITE" : r.mode.can_read ? "READ" : "WRITE";
    result.read = yes_no(r.mode.can_read);
    result.write = yes_no(r.mode.can_write);
    result.readwrite = yes_no(r.mode.can_read && r.mode.can_write);
    result.delim = r.delimiter == Delimiter::apostrophe ? "APOSTROPHE"
                 : r.delimiter == Delimiter::quote ? "QUOTE" : "NONE";
    result.pad = yes_no(r.mode.pad);
    result.carriage_control = r.mode.carriage_control ? "FORTRAN" : "LIST";
    result.block_size = r.buffer_size;
}

// What INQUIRE tells of a unit number (the console mapping applied); 0 or the condition.
int describe_unit(std::int32_t unit_number, InquireResult& result) {
    if (unit_number < 0) return condition::illegal_unit;
    result.exists = true;  // every non-negative unit number can be connected
    int error = 0;
    const int mapped = map_unit_number(unit_number, false, false, error);
    ConnectionRecord* record = mapped < 0 ? &console_unit(mapped) : unit_table().find(mapped);
    if (record) {
        describe_connection(*record, result);
        result.number = unit_number;
    }
    return 0;
}

}  // namespace

Outcome inquire_unit(std::int32_t unit_number, InquireResult& result, Control control) {
    const ConnectionStatement statement(StatementKind::inquire, unit(unit_number), control);
    result = InquireResult{};
    return statement.finish(describe_unit(unit_number, result));
}

Outcome inquire_file(std::string_view name, InquireResult& result, Control control) {
    const ConnectionStatement opening(StatementKind::inquire, default_unit, control);
    result = InquireResult{};
    const std::string file(trim_blanks(name));
    result.name = file;
    result.named = true;
    result.exists = file_exists(file);
    for (const auto& record : unit_table().records()) {
        if (record->unit_number >= 0 && record->file_name == file) {
            describe_connection(*record, result);
            break;
        }
    }
    return outcome_ok;  // INQUIRE by name meets no condition
}

}  // namespace corvane::units
