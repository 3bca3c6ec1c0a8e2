// Every line is a record on the log's own unit, as the tables' rows are.
#include "extract/run_log.hpp"

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int log_sink_unit = 33;

}  // namespace

bool RunLog::open(const std::string& file_name) {
    file_ = file_name;
    std::int32_t code = 0;
    open_ = units::open_unit(
                {.unit = log_sink_unit, .control = units::with_iostat(code), .file = file_, .status = "UNKNOWN"}) ==
            units::outcome_ok;
    return open_;
}

void RunLog::line(const std::string& text) {
    if (open_) write(unit(log_sink_unit), fmt<"(a)">, std::string_view(text));
}

void RunLog::value(const ValueRow& row) { values({&row, 1}); }

void RunLog::values(std::span<const ValueRow> rows) {
    for (const ValueRow& row : rows) {
        if (row.value) ++values_;
        if (row.dropped) ++dropped_;
    }
}

void RunLog::station(const StationRow& row) {
    ++selected_;
    if (row.first_year != 0) ++found_;
}

bool RunLog::finish(std::string& error) {
    if (!open_) {
        error = file_ + ": cannot be written";
        return false;
    }
    if (!stopped_.empty()) line("The run stopped at " + stopped_ + "; the files end before it.");
    line("Stations selected: " + std::to_string(selected_));
    line("Stations found in the data file: " + std::to_string(found_));
    line("Values written: " + std::to_string(values_));
    line("Values dropped by the QC policy: " + std::to_string(dropped_));
    units::close_unit(log_sink_unit);
    return true;
}

}  // namespace corvane::extract
