// CLOSE, and the closing of one connection that termination shares.
#include "units/conditions.hpp"
#include "units/connection_statement.hpp"
#include "units/connection_statements.hpp"
#include "units/file_layer.hpp"
#include "units/keyword_tables.hpp"
#include "units/record_io.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

int close_connection(ConnectionRecord& record, bool delete_file) {
    const int flush_error = flush_unit(record);
    file_close(record, delete_file || record.mode.delete_on_close);
    const int close_error = record.error;
    unit_table().remove(&record);
    return flush_error ? flush_error : close_error;
}

namespace {

// CLOSE's steps: an unconnected unit is not an error, nothing happens.
int close_named_unit(std::int32_t unit_number, std::string_view status) {
    if (unit_number < 0) return condition::illegal_unit;
    ConnectionRecord* record = unit_table().find(unit_number);
    if (!record) return 0;
    bool delete_file = false;
    if (!status.empty()) {
        if (keyword_is(status, "DELETE")) delete_file = true;
        else if (!keyword_is(status, "KEEP")) return condition::bad_specifier;
    }
    return close_connection(*record, delete_file);
}

}  // namespace

Outcome close_unit(std::int32_t unit_number, Control control, std::string_view status) {
    const ConnectionStatement statement(StatementKind::close, unit(unit_number), control);
    return statement.finish(close_named_unit(unit_number, status));
}

}  // namespace corvane::units
