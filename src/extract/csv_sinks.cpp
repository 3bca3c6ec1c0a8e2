// Each table is connected to a unit of its own when the variable is known, and each row is
// built whole before it is written as one record.
#include "extract/csv_sinks.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "extract/table_names.hpp"
#include "fmtio/short_copy.hpp"
#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"

namespace corvane::extract {

namespace {

using namespace fmtio;

constexpr int values_sink_unit = 30;
constexpr int failed_sink_unit = 31;
constexpr int stations_sink_unit = 32;

// Opens `file` on `unit` and writes its header, its checksum made as it is written; false
// when it cannot be opened.
bool open_table(int unit_number, const std::string& file, std::string_view header, WrittenDigest& digest) {
    std::int32_t code = 0;
    if (units::open_unit(
            {.unit = unit_number, .control = units::with_iostat(code), .file = file, .status = "UNKNOWN"}) !=
        units::outcome_ok) {
        return false;
    }
    digest.attach(unit_number);
    write(unit(unit_number), fmt<"(a)">, header);
    return true;
}

void write_row(int unit_number, std::string_view row) { write(unit(unit_number), fmt<"(a)">, row); }

bool close_table(int unit_number, bool open, const std::string& file, std::string& error, WrittenDigest& digest) {
    if (!open) {
        error = file + ": cannot be written";
        return false;
    }
    units::close_unit(unit_number);
    digest.offer_for(file);
    return true;
}

[[gnu::always_inline]] inline char* put_text(char* at, std::string_view text) {
    fmtio::copy_chars(at, text.data(), text.size());
    return at + text.size();
}

// The two digits of a month, or two of a year's four.
[[gnu::always_inline]] inline char* put_pair(char* at, std::int32_t two_digits) {
    std::memcpy(at, &digit_pairs[static_cast<std::size_t>(2 * two_digits)], 2);
    return at + 2;
}

// Years and months take the short ways; any other number is written in full.
[[gnu::always_inline]] inline char* put_integer(char* at, std::int32_t value) {
    if (value >= 0 && value < 10) {
        *at = static_cast<char>('0' + value);
        return at + 1;
    }
    if (value >= 10 && value < 100) return put_pair(at, value);
    if (value >= 1000 && value < 10000) return put_pair(put_pair(at, value / 100), value % 100);
    return std::to_chars(at, at + 11, value).ptr;
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
    open_ = open_table(values_sink_unit, file_, header, digest_);
}

// The longest row of a value: its series, the year and the month (at most 11 characters
// each), the value and the three flags, with their commas.
std::size_t ValuesCsvSink::row_room(const ValueRow& r) {
    return r.series.size() + 2 * 11 + std::max(max_decimal_length, trace_marker.size()) + 10;
}

char* ValuesCsvSink::put_row(char* at, const ValueRow& r) const {
    at = put_text(at, r.series);
    *at++ = ',';
    at = put_integer(at, r.year);
    *at++ = ',';
    at = put_integer(at, r.month);
    *at++ = ',';
    if (r.trace) at = put_text(at, trace_marker);
    else if (r.value) at = decimals_ == 2 ? put_hundredths(at, *r.value) : put_decimal(at, *r.value, decimals_);
    if (!flags_) return at;
    for (const char flag : {r.dmflag, r.qcflag, r.dsflag}) {
        *at++ = ',';
        if (flag != ' ') *at++ = flag;
    }
    return at;
}

void ValuesCsvSink::value(const ValueRow& r) { values({&r, 1}); }

// The rows are made in one buffer that the sink keeps, and written in one statement, each
// row a record of its own.
void ValuesCsvSink::values(std::span<const ValueRow> rows) {
    if (!open_) return;
    std::size_t room = 0;
    for (const ValueRow& r : rows) room += row_room(r);
    if (text_.size() < room) text_.resize(room);
    row_views_.clear();
    char* at = text_.data();
    for (const ValueRow& r : rows) {
        char* const end = put_row(at, r);
        row_views_.emplace_back(at, static_cast<std::size_t>(end - at));
        at = end;
    }
    write_texts(unit(values_sink_unit), fmt<"(a)">, row_views_);
}

bool ValuesCsvSink::finish(std::string& error) { return close_table(values_sink_unit, open_, file_, error, digest_); }

void FailedValuesCsvSink::begin(const VariableInfo& v) {
    decimals_ = v.decimals;
    open_ = open_table(failed_sink_unit, file_, "station,year,month," + value_header(v) + ",qcflag,meaning,policy",
                       digest_);
}

void FailedValuesCsvSink::value(const ValueRow& r) {
    if (!open_ || !r.failed_check || !r.file_value) return;
    write_row(failed_sink_unit, r.series + ',' + std::to_string(r.year) + ',' + std::to_string(r.month) + ',' +
                                    decimal_text(*r.file_value, decimals_) + ',' + flag_text(r.qcflag) + ',' +
                                    csv_field(meaning_(r.qcflag)) + ',' + (r.dropped ? "dropped" : "kept"));
}

// Most records have no failed value: they cost a test a month.
void FailedValuesCsvSink::values(std::span<const ValueRow> rows) {
    for (const ValueRow& r : rows) {
        if (r.failed_check) FailedValuesCsvSink::value(r);
    }
}

bool FailedValuesCsvSink::finish(std::string& error) { return close_table(failed_sink_unit, open_, file_, error, digest_); }

void StationsCsvSink::begin(const VariableInfo&) {
    std::string header = "id,country_code,country_name,name,latitude,longitude,elevation,first_year,last_year,values";
    if (distance_) header += ",distance_km";
    open_ = open_table(stations_sink_unit, file_, header, digest_);
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

bool StationsCsvSink::finish(std::string& error) { return close_table(stations_sink_unit, open_, file_, error, digest_); }

}  // namespace corvane::extract
