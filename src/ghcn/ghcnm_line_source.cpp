// Each line is read with its length (Q, the characters the record holds), so that a record
// cut short is named, not taken padded with blanks that the integer editing would read as 0.
#include "ghcn/ghcnm_line_source.hpp"

#include "fmtio/statement_api.hpp"
#include "units/connection_statements.hpp"
#include "units/message_tables.hpp"

namespace corvane::ghcn {

namespace {

// The units the readers use: above those the programs name, below the console's.
constexpr std::int32_t first_reader_unit = 60;
constexpr std::int32_t last_reader_unit = 89;

std::int32_t free_unit() {
    for (std::int32_t u = first_reader_unit; u <= last_reader_unit; ++u) {
        units::InquireResult result;
        std::int32_t code = 0;
        if (units::inquire_unit(u, result, units::with_iostat(code)) == units::outcome_ok && !result.opened) return u;
    }
    return -1;
}

// "condition N" with the run-time's or the system's text for it, when it has one.
std::string condition_text(std::int32_t code) {
    std::string_view text = units::runtime_message(units::Condition{code});
    if (text.empty()) text = units::system_message(units::Condition{code});
    std::string out = "condition " + std::to_string(code);
    if (!text.empty()) out += ": " + std::string(text);
    return out;
}

}  // namespace

LineSource::~LineSource() {
    if (unit_ >= 0) {
        std::int32_t code = 0;
        units::close_unit(unit_, units::with_iostat(code));
    }
}

bool LineSource::open(const std::string& path, ReadProblem& problem) {
    path_ = path;
    const std::int32_t u = free_unit();
    if (u < 0) {
        problem = {path, 0, {}, "cannot be opened: no free unit"};
        return false;
    }
    std::int32_t code = 0;
    if (units::open_unit({.unit = u, .control = units::with_iostat(code), .file = path_, .status = "OLD",
                          .action = "READ"}) != units::outcome_ok) {
        problem = {path, 0, {}, "cannot be opened (" + condition_text(code) + ")"};
        return false;
    }
    unit_ = u;
    return true;
}

ReadStatus LineSource::next(std::string_view& line, ReadProblem& problem) {
    using namespace fmtio;
    std::int32_t length = 0, code = 0;
    const auto outcome =
        read(unit(unit_), units::with_iostat(code) | on_end | on_err, fmt<"(q,a)">, length, buffer_);
    if (outcome == units::outcome_end) return ReadStatus::end_of_file;
    ++line_number_;
    if (outcome == units::outcome_error) {
        problem = problem_here({}, "cannot be read (" + condition_text(code) + ")");
        return ReadStatus::problem;
    }
    // The whole record was read past, so a caller that goes on finds the next line where
    // it begins.
    if (static_cast<std::size_t>(length) > longest_line) {
        problem = problem_here({}, "is longer than " + std::to_string(longest_line) + " columns");
        return ReadStatus::problem;
    }
    auto size = static_cast<std::size_t>(length);
    if (size > 0 && buffer_.chars[size - 1] == '\r') --size;
    line = std::string_view(buffer_.chars, size);
    return ReadStatus::record;
}

ReadProblem LineSource::problem_here(std::string field, std::string what) const {
    return {path_, line_number_, std::move(field), std::move(what)};
}

}  // namespace corvane::ghcn
