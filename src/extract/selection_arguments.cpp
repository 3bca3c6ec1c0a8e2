// Numbers are read with from_chars over the whole text, so that "12abc" or "1e400" is a
// refusal, never a prefix taken silently.
#include "extract/selection_arguments.hpp"

#include <charconv>
#include <cmath>

#include "ghcn/ghcnm_variables.hpp"

namespace corvane::extract {

namespace {

bool whole_text_number(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return !text.empty() && error == std::errc() && end == last && std::isfinite(value);
}

bool whole_text_integer(std::string_view text, std::int32_t& value) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return !text.empty() && error == std::errc() && end == last;
}

bool ghcnm_variable(int edition, std::string_view name) {
    return ghcn::find_variable(edition == 3 ? ghcn::Edition::v3 : ghcn::Edition::v4, name).has_value();
}

}  // namespace

Parsed<int> parse_dataset(std::string_view text) {
    if (text == "v2" || text == "2") return 2;
    if (text == "v3" || text == "3") return 3;
    if (text == "v4" || text == "4") return 4;
    return std::string("expected v2, v3 or v4");
}

bool variable_of_edition(int edition, std::string_view name) {
    if (edition == 2) return parsed_ok(parse_variable(name));
    return ghcnm_variable(edition, name);
}

std::string variables_accepted(int edition) {
    if (edition == 2) return "mean, mean-adj, min, min-adj, max, max-adj, prcp, prcp-adj, slp, or 1 to 9";
    std::string names;
    for (const ghcn::GhcnmVariable& v : ghcn::variables_of(edition == 3 ? ghcn::Edition::v3 : ghcn::Edition::v4))
        names += (names.empty() ? "" : ", ") + std::string(v.name);
    return names;
}

Parsed<Accepted> parse_any_variable(std::string_view text) {
    for (int edition : {2, 3, 4}) {
        if (variable_of_edition(edition, text)) return Accepted{};
    }
    return "expected one of " + variables_accepted(2) + " (version 2); " + variables_accepted(3) + " (version 3); " +
           variables_accepted(4) + " (version 4)";
}

Parsed<bool> parse_qc_policy(std::string_view text) {
    if (text == "drop") return false;
    if (text == "keep") return true;
    return std::string("expected drop or keep");
}

Parsed<LatLon> parse_near(std::string_view text) {
    const std::size_t comma = text.find(',');
    LatLon p;
    if (comma == std::string_view::npos || !whole_text_number(text.substr(0, comma), p.latitude) ||
        !whole_text_number(text.substr(comma + 1), p.longitude)) {
        return std::string("expected LAT,LON, two decimal numbers in degrees");
    }
    if (std::fabs(p.latitude) > 90) return std::string("expected a latitude from -90 to 90");
    if (std::fabs(p.longitude) > 180) return std::string("expected a longitude from -180 to 180");
    return p;
}

Parsed<double> parse_radius(std::string_view text) {
    double km = 0;
    if (!whole_text_number(text, km) || km <= 0) return std::string("expected a distance in kilometres above 0");
    return km;
}

Parsed<std::int32_t> parse_count(std::string_view text, std::int32_t most) {
    std::int32_t n = 0;
    if (!whole_text_integer(text, n) || n < 1 || n > most) {
        return "expected a whole number from 1 to " + std::to_string(most);
    }
    return n;
}

Parsed<YearWindow> parse_years(std::string_view text) {
    const std::string accepted = "expected FIRST:LAST, two years of four digits, FIRST not after LAST";
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon != 4 || text.size() != 9) return accepted;
    YearWindow w;
    if (!whole_text_integer(text.substr(0, 4), w.first) || !whole_text_integer(text.substr(5), w.last)) return accepted;
    if (w.first < 0 || w.last < 0 || w.first > w.last) return accepted;
    return w;
}

}  // namespace corvane::extract
