// The pause statement: a console line, then a wait for the user's Return.
#include <string>

#include "units/connection_statements.hpp"
#include "units/console_streams.hpp"
#include "units/error_report.hpp"
#include "units/record_io.hpp"
#include "units/runtime_options.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

void pause_statement(std::string_view text) {
    ensure_runtime_initialised();
    poll_events();
    std::string line = " ";
    line += text;
    ConnectionRecord& out = console_unit(unit_console_out);
    if (int err = write_record(out, line.data(), line.size(), true)) {
        const ConditionContext context{StatementKind::write, default_unit, {}};
        raise_io_condition(Condition{err}, context);
    }
    RecordView answer;
    RecordScratch scratch;
    // With no input left there is nobody to wait for: the pause ends.
    const int rc = read_record(console_unit(unit_console_in), answer, scratch);
    if (rc > 0) {
        const ConditionContext context{StatementKind::read, default_unit, {}};
        raise_io_condition(Condition{rc}, context);
    }
}

}  // namespace corvane::units
