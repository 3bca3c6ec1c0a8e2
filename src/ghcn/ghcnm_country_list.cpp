// A country line is one code and one name: read through the record run-time with the
// layout of the edition ("(a2,1x,a)" or "(a3,1x,a)"), after the code is checked.
#include "ghcn/ghcnm_country_list.hpp"

#include <algorithm>

#include "fmtio/statement_api.hpp"
#include "ghcn/ghcnm_line_source.hpp"

namespace corvane::ghcn {

namespace {

bool code_is_of_edition(Edition edition, std::string_view code) {
    for (char c : code) {
        const bool ok = edition == Edition::v4 ? (c >= 'A' && c <= 'Z') : (c >= '0' && c <= '9');
        if (!ok) return false;
    }
    return true;
}

}  // namespace

bool parse_country_line(Edition edition, std::string_view line, Country& country, std::string& what) {
    using namespace fmtio;
    const std::size_t width = edition == Edition::v4 ? 2 : 3;
    const std::string_view code = line.substr(0, width);
    if (line.size() < width + 2 || !code_is_of_edition(edition, code) || line[width] != ' ') {
        what = std::string("is not a ") + (edition == Edition::v4 ? "two-letter" : "three-digit") +
               " code, a blank and a name: \"" + std::string(line) + "\"";
        return false;
    }
    Text<3> code_text;
    Text<longest_line> name;
    Text<longest_line> record(line);  // a writable copy: the internal unit of a READ
    const UnitSpec u = internal_unit(record.data(), std::min(line.size(), longest_line));
    const auto outcome = edition == Edition::v4 ? read(u, on_err, fmt<"(a2,1x,a)">, code_text, name)
                                               : read(u, on_err, fmt<"(a3,1x,a)">, code_text, name);
    if (outcome != units::outcome_ok) {
        what = "cannot be read as a code and a name";
        return false;
    }
    country.code.assign(code_text.trimmed());
    country.name.assign(name.trimmed());
    return true;
}

bool read_country_list(Edition edition, const std::string& path, std::vector<Country>& countries,
                       ReadProblem& problem) {
    return for_each_line(path, problem, [&](const LineSource& lines, std::string_view line) {
        if (line.find_first_not_of(' ') == std::string_view::npos) return true;
        Country country;
        std::string what;
        if (!parse_country_line(edition, line, country, what)) {
            problem = {path, lines.line_number(), "CODE", what};
            return false;
        }
        countries.push_back(std::move(country));
        return true;
    });
}

}  // namespace corvane::ghcn
