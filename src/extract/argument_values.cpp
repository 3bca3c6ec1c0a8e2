#include "extract/argument_values.hpp"

#include <array>
#include <charconv>
#include <vector>

namespace corvane::extract {

namespace {

// A whole decimal number with an optional sign and nothing else.
bool whole_number(std::string_view text, std::int32_t& value) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return !text.empty() && error == std::errc() && end == last;
}

std::vector<std::string_view> split_commas(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) return parts;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

Parsed<std::int32_t> parse_variable(std::string_view text) {
    for (std::size_t i = 0; i < variable_names.size(); ++i) {
        if (text == variable_names[i]) return static_cast<std::int32_t>(i + 1);
    }
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '9') return text[0] - '0';
    return std::string("expected one of mean, mean-adj, min, min-adj, max, max-adj, prcp, prcp-adj, slp, or 1 to 9");
}

Parsed<std::int32_t> parse_country(std::string_view text) {
    std::int32_t code = 0;
    if (text.size() <= 3 && text.find_first_not_of("0123456789") == std::string_view::npos &&
        whole_number(text, code) && code >= 1 && code <= 998) {
        return code;
    }
    return std::string("expected a country code of up to three digits, 1 to 998");
}

Parsed<std::int32_t> parse_hundredths(std::string_view text, std::int32_t limit) {
    const std::string accepted = "expected a number from -" + std::to_string(limit) + " to " + std::to_string(limit) +
                                 " with at most two decimals";
    bool negative = false;
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::size_t point = rest.find('.');
    const std::string_view whole = rest.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : rest.substr(point + 1);
    const auto all_digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string_view::npos; };
    if (whole.empty() && fraction.empty()) return accepted;
    if (!all_digits(whole) || !all_digits(fraction) || fraction.size() > 2 || whole.size() > 3) return accepted;
    std::int32_t value = 0;
    for (char c : whole) value = value * 10 + (c - '0');
    value *= 100;
    if (!fraction.empty()) value += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) value += fraction[1] - '0';
    if (value > limit * 100) return accepted;
    return negative ? -value : value;
}

Parsed<Box> parse_box(std::string_view text) {
    const std::vector<std::string_view> parts = split_commas(text);
    if (parts.size() != 4) return std::string("expected NORTH,SOUTH,EAST,WEST, four numbers separated by commas");
    constexpr std::array<std::string_view, 4> names = {"NORTH", "SOUTH", "EAST", "WEST"};
    std::array<std::int32_t, 4> v{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int32_t limit = i < 2 ? 90 : 180;
        const Parsed<std::int32_t> p = parse_hundredths(parts[i], limit);
        if (!parsed_ok(p)) return std::string(names[i]) + ": " + std::get<std::string>(p);
        v[i] = std::get<std::int32_t>(p);
    }
    if (v[0] < v[1]) return std::string("expected NORTH not below SOUTH");
    return Box{v[0], v[1], v[2], v[3]};
}

Parsed<ElevationRange> parse_elevation(std::string_view text) {
    const std::string accepted = "expected MIN,MAX, two whole numbers from -999 to 9999, MIN not above MAX";
    const std::vector<std::string_view> parts = split_commas(text);
    if (parts.size() != 2) return accepted;
    ElevationRange r;
    if (!whole_number(parts[0], r.min) || !whole_number(parts[1], r.max)) return accepted;
    if (r.min < -999 || r.min > 9999 || r.max < -999 || r.max > 9999 || r.min > r.max) return accepted;
    return r;
}

Parsed<bool> parse_missing_elevation(std::string_view text) {
    if (text == "reject") return true;
    if (text == "keep") return false;
    return std::string("expected reject or keep");
}

std::string hundredths_text(std::int32_t hundredths, std::size_t width) {
    const std::int32_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    std::string text = hundredths < 0 ? "-" : "";
    text += std::to_string(magnitude / 100);
    text += '.';
    text += static_cast<char>('0' + magnitude / 10 % 10);
    text += static_cast<char>('0' + magnitude % 10);
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

}  // namespace corvane::extract
