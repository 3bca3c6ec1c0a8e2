// The pause statement: a console line, then a wait for the user's Return.
#include <string>

#include "units/connection_statement.hpp"
#include "units/connection_statements.hpp"
#include "units/record_io.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

void pause_statement(std::string_view text) {
    ConnectionStatement statement(StatementKind::write, default_unit, {});
    std::string line = " ";
    line += text;
    statement.finish(write_record(console_unit(unit_console_out), line.data(), line.size(), true));
    RecordView answer;
    RecordScratch scratch;
    // With no input left there is nobody to wait for: the pause ends.
    const int rc = read_record(console_unit(unit_console_in), answer, scratch);
    statement.report_as(StatementKind::read);
    statement.finish(rc > 0 ? rc : 0);
}

}  // namespace corvane::units
