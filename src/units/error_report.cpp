#include "units/error_report.hpp"

#include <cstdint>
#include <cstring>

#include "units/conditions.hpp"
#include "units/connection_record.hpp"
#include "units/file_layer.hpp"
#include "units/message_tables.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

constexpr std::string_view statement_names[] = {"REWIND", "BACKSPACE", "OPEN",  "CLOSE",
                                                "INQUIRE", "READ",     "WRITE", "ENDFILE"};

}  // namespace

void store_iostat(const IostatTarget& target, int code) {
    const std::int64_t value = code == condition::end_of_file ? -1
                             : code == condition::end_of_record_nonadvancing ? -2 : code;
    switch (target.width) {
        case 1: { auto v = static_cast<std::int8_t>(value); std::memcpy(target.address, &v, 1); break; }
        case 2: { auto v = static_cast<std::int16_t>(value); std::memcpy(target.address, &v, 2); break; }
        case 8: std::memcpy(target.address, &value, 8); break;
        default: { auto v = static_cast<std::int32_t>(value); std::memcpy(target.address, &v, 4); break; }
    }
}

namespace {

std::string unit_text(const UnitSpec& unit) {
    switch (unit.kind) {
        case UnitSpec::Kind::default_unit: return "*";
        case UnitSpec::Kind::internal: return "INTERNAL";
        case UnitSpec::Kind::number: break;
    }
    return unit.number == unit_default ? "*" : std::to_string(unit.number);
}

}  // namespace

Outcome raise_io_condition(Condition code, const ConditionContext& context) {
    const Control& control = context.control;
    if (control.iostat.present()) store_iostat(control.iostat, code);
    if (code == condition::end_of_file && (control.branches & branch_end)) return outcome_end;
    if (code == condition::end_of_record_nonadvancing && (control.branches & branch_eor)) return outcome_eor;
    if (control.branches & branch_err) return outcome_error;
    if (control.iostat.present()) return outcome_error;
    report_condition_and_end(code, &context);
}

std::string format_condition_report(Condition code, const ConditionContext* context, std::string_view line_end) {
    std::string report;
    report += "? ";
    report += condition::is_runtime_code(code) ? "FORTRAN Runtime Error:" : "System Error:";
    report += line_end;
    report += "? ";
    report += condition::is_runtime_code(code) ? runtime_message(code) : system_message(code);
    report += line_end;
    if (context) {
        report += "? ";
        report += statement_names[static_cast<int>(context->kind)];
        report += "(UNIT=";
        report += unit_text(context->unit);
        report += ",...";
        report += line_end;
    }
    return report;
}

// Line by line: a window console ends its line at each write's line end, and would show a
// line end in the middle of a write as a blank.
static void write_report(std::string_view report, std::string_view line_end) {
    while (!report.empty()) {
        const std::size_t end = report.find(line_end);
        const std::size_t length = end == std::string_view::npos ? report.size() : end + line_end.size();
        write_error_message(report.substr(0, length));
        report.remove_prefix(length);
    }
}

void report_condition_and_end(Condition code, const ConditionContext* context) {
    const int close_error = close_all_units(true);
    const std::string_view line_end = output_line_end(console_unit(unit_console_err));
    write_report(format_condition_report(code, context, line_end), line_end);
    if (close_error) write_report(format_condition_report(Condition{close_error}, nullptr, line_end), line_end);
    terminate_program(-1);
}

}  // namespace corvane::units
