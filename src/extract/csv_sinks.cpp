// Each table is connected to a unit of its own when the variable is known, and each row is
// built whole before it is written as one record.
#include "extract/csv_sinks.hpp"

#include <cstdio>

#include "extract/table_names.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int values_sink_unit = 30;
constexpr int failed_sink_unit = 31;
constexpr int stations_sink_unit = 32;

// Opens `file` on `unit` and writes its header; false when it cannot be opened.
bool open_table(int unit_number, const std::string& file, std::string_view header) {
    std::int32_t code = 0;
    if (units::open_unit(
            {.unit = unit_number, .control = units::with_iostat(code), .file = file, .status = "UNKNOWN"}) !=
        units::outcome_ok) {
        return false;
    }
    write(unit(unit_number), fmt<"(a)">, header);
    return true;
}

void write_row(int unit_number, std::string_view row) { write(unit(unit_number), fmt<"(a)">, row); }

bool close_table(int unit_number, bool open, const std::string& file, std::string& error) {
    if (!open) {
        error = file + ": cannot be written";
        return false;
    }
    units::close_unit(unit_number);
    return true;
}

std::string flag_text(char flag) { return flag == ' ' ? std::string() : std::string(1, flag); }

std::string value_header(const VariableInfo& v) { return "value_" + v.unit; }

std::string without_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string distance_text(double km) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", km);
    return text;
}

}  // namespace

void ValuesCsvSink::begin(const VariableInfo& v) {
    decimals_ = v.decimals;
    flags_ = v.has_flags;
    std::string header = "station,year,month," + value_header(v);
    if (flags_) header += ",dmflag,qcflag,dsflag";
    open_ = open_table(values_sink_unit, file_, header);
}

void ValuesCsvSink::value(const ValueRow& r) {
    if (!open_) return;
    std::string row = r.series + ',' + std::to_string(r.year) + ',' + std::to_string(r.month) + ',';
    if (r.trace) row += trace_marker;
    else if (r.value) row += decimal_text(*r.value, decimals_);
    if (flags_) row += ',' + flag_text(r.dmflag) + ',' + flag_text(r.qcflag) + ',' + flag_text(r.dsflag);
    write_row(values_sink_unit, row);
}

bool ValuesCsvSink::finish(std::string& error) { return close_table(values_sink_unit, open_, file_, error); }

void FailedValuesCsvSink::begin(const VariableInfo& v) {
    decimals_ = v.decimals;
    open_ = open_table(failed_sink_unit, file_, "station,year,month," + value_header(v) + ",qcflag,meaning,policy");
}

void FailedValuesCsvSink::value(const ValueRow& r) {
    if (!open_ || !r.failed_check || !r.file_value) return;
    write_row(failed_sink_unit, r.series + ',' + std::to_string(r.year) + ',' + std::to_string(r.month) + ',' +
                                    decimal_text(*r.file_value, decimals_) + ',' + flag_text(r.qcflag) + ',' +
                                    csv_field(meaning_(r.qcflag)) + ',' + (r.dropped ? "dropped" : "kept"));
}

bool FailedValuesCsvSink::finish(std::string& error) { return close_table(failed_sink_unit, open_, file_, error); }

void StationsCsvSink::begin(const VariableInfo&) {
    std::string header = "id,country_code,country_name,name,latitude,longitude,elevation,first_year,last_year,values";
    if (distance_) header += ",distance_km";
    open_ = open_table(stations_sink_unit, file_, header);
}

void StationsCsvSink::station(const StationRow& s) {
    if (!open_) return;
    const bool any = s.values > 0;
    std::string row = s.id + ',' + csv_field(s.country_code) + ',' + csv_field(s.country_name) + ',' +
                      csv_field(s.name) + ',' + without_blanks(s.latitude_text) + ',' +
                      without_blanks(s.longitude_text) + ',' + without_blanks(s.elevation_text) + ',' +
                      (any ? std::to_string(s.first_year) : "") + ',' + (any ? std::to_string(s.last_year) : "") + ',' +
                      std::to_string(s.values);
    if (distance_) row += ',' + (s.distance_km ? distance_text(*s.distance_km) : std::string());
    write_row(stations_sink_unit, row);
}

bool StationsCsvSink::finish(std::string& error) { return close_table(stations_sink_unit, open_, file_, error); }

}  // namespace corvane::extract
