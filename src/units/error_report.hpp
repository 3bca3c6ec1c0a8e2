// The single path of every I/O condition: into an iostat variable, to an ERR or END
// branch, or reported on the error output in "? " lines, after which the program ends.
#pragma once

#include <string>
#include <string_view>

#include "units/conditions.hpp"
#include "units/statement_context.hpp"

namespace corvane::units {

// Stores a code in an iostat variable at its width: end of file as -1, end of record as -2.
void store_iostat(const IostatTarget& target, int code);

// Returns the outcome the statement hands its caller (ERR, END or EOR), or does not return.
Outcome raise_io_condition(Condition code, const ConditionContext& context);

// The report lines for a condition, each with the given line end; without a context the
// statement line is left out (a condition met while the units were being closed).
std::string format_condition_report(Condition code, const ConditionContext* context, std::string_view line_end);

// Writes the report and ends the program with exit status -1.
[[noreturn]] void report_condition_and_end(Condition code, const ConditionContext* context);

}  // namespace corvane::units
