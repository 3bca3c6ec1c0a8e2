// CLOSE, and the closing of one connection that termination shares.
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

int close_connection(ConnectionRecord& record, bool delete_file) {
    const int flush_error = flush_unit(record);
    file_close(record, delete_file || record.mode.delete_on_close);
    const int close_error = record.error;
    unit_table().remove(&record);
    return flush_error ? flush_error : close_error;
}

Outcome close_unit(std::int32_t unit_number, Control control, std::string_view status) {
    ensure_runtime_initialised();
    poll_events();
    const ConditionContext context{StatementKind::close, unit(unit_number), control};
    if (control.iostat.present()) store_iostat(control.iostat, 0);
    if (unit_number < 0) return raise_io_condition(condition::illegal_unit, context);
    ConnectionRecord* record = unit_table().find(unit_number);
    if (!record) return outcome_ok;  // closing an unconnected unit does nothing
    bool delete_file = false;
    if (!status.empty()) {
        if (keyword_is(status, "DELETE")) delete_file = true;
        else if (!keyword_is(status, "KEEP")) return raise_io_condition(condition::bad_specifier, context);
    }
    if (int err = close_connection(*record, delete_file)) return raise_io_condition(Condition{err}, context);
    return outcome_ok;
}

}  // namespace corvane::units
