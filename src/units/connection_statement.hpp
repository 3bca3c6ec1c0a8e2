// The opening and closing that OPEN, CLOSE, INQUIRE, REWIND, BACKSPACE, ENDFILE and the
// pause statement share. Opening: the run-time is initialised (the options are read on the
// first statement of the program), the console handles its pending events, and an iostat
// variable starts at 0. Closing: the condition the statement's steps met, if any, takes the
// one error path, to the statement's catching specifiers or to the report that ends the
// program. The steps themselves return 0 or a condition and never raise one.
#pragma once

#include "units/console_streams.hpp"
#include "units/error_report.hpp"
#include "units/runtime_options.hpp"
#include "units/statement_context.hpp"

namespace corvane::units {

class ConnectionStatement {
public:
    ConnectionStatement(StatementKind kind, const UnitSpec& unit, const Control& control)
        : context_{kind, unit, control} {
        ensure_runtime_initialised();
        poll_events();
        if (control.iostat.present()) store_iostat(control.iostat, 0);
    }

    // The statement's outcome: 0 when `condition` is 0, else what its specifiers make of
    // the condition (an uncaught one does not return).
    Outcome finish(int condition) const {
        return condition ? raise_io_condition(Condition{condition}, context_) : outcome_ok;
    }

    // The pause statement writes as a WRITE and reads as a READ: a condition is reported
    // for the part that met it.
    void report_as(StatementKind kind) { context_.kind = kind; }

private:
    ConditionContext context_;
};

}  // namespace corvane::units
