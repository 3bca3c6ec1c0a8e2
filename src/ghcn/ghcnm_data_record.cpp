// The record is first checked field by field, so that a malformed one is named by its field
// and so that what the integer editing would take silently (a blank value field read as
// 0, blanks inside a number) is refused; the values are then read through the record
// run-time with the record's constant format.
#include "ghcn/ghcnm_data_record.hpp"

#include <tuple>
#include <utility>

#include "fmtio/statement_api.hpp"

namespace corvane::ghcn {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Right-aligned digits with an optional minus sign: what the layout writes.
bool is_right_aligned_integer(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i < field.size() && field[i] == '-') ++i;
    if (i == field.size()) return false;
    for (; i < field.size(); ++i) {
        if (!is_digit(field[i])) return false;
    }
    return true;
}

std::string value_field_name(std::size_t month) { return "VALUE" + std::to_string(month + 1); }

bool check_identity(std::string_view line, std::string& field, std::string& what) {
    for (char c : line.substr(0, 11)) {
        if (!(is_digit(c) || (c >= 'A' && c <= 'Z'))) {
            field = "ID";
            what = "is not 11 letters and digits: \"" + std::string(line.substr(0, 11)) + "\"";
            return false;
        }
    }
    const std::string_view year = line.substr(11, 4);
    for (char c : year) {
        if (!is_digit(c)) {
            field = "YEAR";
            what = "is not a 4-digit year: \"" + std::string(year) + "\"";
            return false;
        }
    }
    const std::string_view element = line.substr(15, 4);
    if (element != "TAVG" && element != "TMAX" && element != "TMIN") {
        field = "ELEMENT";
        what = "is not TAVG, TMAX or TMIN: \"" + std::string(element) + "\"";
        return false;
    }
    return true;
}

// The field a line of `length` columns is cut short in.
std::string field_at_column(std::size_t column) {
    if (column <= 11) return "ID";
    if (column <= 15) return "YEAR";
    if (column <= 19) return "ELEMENT";
    const std::size_t month = (column - 20) / 8;
    const std::size_t within = (column - 20) % 8;
    const char* flags[] = {"DMFLAG", "QCFLAG", "DSFLAG"};
    if (within < 5) return value_field_name(month);
    return flags[within - 5] + std::to_string(month + 1);
}

bool check_layout(std::string_view line, std::string& field, std::string& what) {
    if (line.size() < data_record_length) {
        field = field_at_column(line.size() + 1);
        what = "the record is cut short after column " + std::to_string(line.size()) + " (" +
               std::to_string(data_record_length) + " expected)";
        return false;
    }
    if (line.find_first_not_of(' ', data_record_length) != std::string_view::npos) {
        field.clear();
        what = "the record goes on past column " + std::to_string(data_record_length);
        return false;
    }
    if (!check_identity(line, field, what)) return false;
    for (std::size_t m = 0; m < 12; ++m) {
        const std::string_view value = line.substr(19 + 8 * m, 5);
        if (!is_right_aligned_integer(value)) {
            field = value_field_name(m);
            what = "is not a whole number: \"" + std::string(value) + "\"";
            return false;
        }
    }
    return true;
}

// The values and the flags in one statement over the line, each month's value and its
// three flags (one three-character field) as two items of their own: one statement costs
// less than a statement for the values and one for the flags, with the columns between
// them passed over twice.
using FlagTexts = std::array<fmtio::Text<3>, 12>;

template <std::size_t... Month>
units::Outcome read_record(char* line, fmtio::Text<11>& id, std::int32_t& year, fmtio::Text<4>& element,
                           std::array<std::int32_t, 12>& values, FlagTexts& flags,
                           std::index_sequence<Month...>) {
    using namespace fmtio;
    const UnitSpec record = internal_unit(line, data_record_length);
    auto months = std::tuple_cat(std::tie(values[Month], flags[Month])...);
    return std::apply(
        [&](auto&... items) {
            return read(record, on_err, fmt<"(a11,i4,a4,12(i5,a3))">, id, year, element, items...);
        },
        months);
}

}  // namespace

bool parse_data_record(char* line, std::size_t length, GhcnmRecord& record, std::string& field, std::string& what) {
    if (!check_layout(std::string_view(line, length), field, what)) return false;
    fmtio::Text<11> id;
    fmtio::Text<4> element;
    std::array<std::int32_t, 12> values{};
    FlagTexts flags;
    if (read_record(line, id, record.year, element, values, flags, std::make_index_sequence<12>()) !=
        units::outcome_ok) {
        field.clear();
        what = "cannot be read with the data record's layout";
        return false;
    }
    // A station's records follow one another: its id and element stay as they are.
    if (record.id != id.view()) record.id.assign(id.view());
    if (record.element != element.view()) record.element.assign(element.view());
    for (std::size_t m = 0; m < 12; ++m)
        record.months[m] = {values[m], flags[m].chars[0], flags[m].chars[1], flags[m].chars[2]};
    return true;
}

// Written from the right into a small buffer: one string made, within its inline storage.
std::string degrees_text(std::int32_t hundredths) {
    if (hundredths == missing_value) return {};
    char text[16];
    char* const end = text + sizeof text;
    char* p = end;
    const auto magnitude = hundredths < 0 ? 0u - static_cast<std::uint32_t>(hundredths)
                                          : static_cast<std::uint32_t>(hundredths);
    *--p = static_cast<char>('0' + magnitude % 10);
    *--p = static_cast<char>('0' + magnitude / 10 % 10);
    *--p = '.';
    std::uint32_t whole = magnitude / 100;
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (hundredths < 0) *--p = '-';
    return std::string(p, end);
}

}  // namespace corvane::ghcn
