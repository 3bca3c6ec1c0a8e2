// The numbers are read through the record run-time with a constant format on an internal
// unit; each field is first checked to be a plain decimal number, because the real editing
// would take a blank field as 0 (a station on the equator) without a word.
#include "ghcn/ghcnm_inventory.hpp"

#include "fmtio/statement_api.hpp"
#include "ghcn/ghcnm_line_source.hpp"

namespace corvane::ghcn {

namespace {

constexpr std::size_t shortest_inventory_line = 37;  // through STNELEV; the name may be blank

std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, std::min(last, line.size()) - first + 1);
}

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Digits with at most one decimal point and an optional leading minus sign.
bool is_decimal(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

struct Field {
    const char* name;
    std::size_t first, last;
};
constexpr Field latitude_field{"LATITUDE", 13, 20}, longitude_field{"LONGITUDE", 22, 30},
    elevation_field{"STNELEV", 32, 37};

bool check_identifier(Edition edition, std::string_view id, std::string& what) {
    for (std::size_t i = 0; i < id.size(); ++i) {
        const char c = id[i];
        const bool digit = c >= '0' && c <= '9', letter = c >= 'A' && c <= 'Z';
        const bool country_part = edition == Edition::v4 && i < 2;
        if (country_part ? !letter : !(digit || (edition == Edition::v4 && letter))) {
            what = "is not a version " + std::to_string(static_cast<int>(edition)) + " identifier: \"" +
                   std::string(id) + "\"";
            return false;
        }
    }
    return true;
}

bool check_fields(Edition edition, std::string_view line, std::string& field, std::string& what) {
    if (line.size() < shortest_inventory_line) {
        field = line.size() < 11 ? "ID" : line.size() < 20 ? "LATITUDE" : line.size() < 30 ? "LONGITUDE" : "STNELEV";
        what = "the line is cut short after column " + std::to_string(line.size());
        return false;
    }
    if (!check_identifier(edition, line.substr(0, 11), what)) {
        field = "ID";
        return false;
    }
    for (const Field& f : {latitude_field, longitude_field, elevation_field}) {
        const std::string_view text = columns(line, f.first, f.last);
        if (!is_decimal(text)) {
            field = f.name;
            what = "is not a decimal number: \"" + std::string(text) + "\"";
            return false;
        }
    }
    return true;
}

bool check_ranges(const GhcnmStation& s, std::string& field, std::string& what) {
    if (s.latitude < -90 || s.latitude > 90) {
        field = "LATITUDE";
        what = "is beyond 90 degrees: " + s.latitude_text;
        return false;
    }
    if (s.longitude < -180 || s.longitude > 180) {
        field = "LONGITUDE";
        what = "is beyond 180 degrees: " + s.longitude_text;
        return false;
    }
    return true;
}

}  // namespace

bool is_missing_elevation(double metres) { return metres == -999.0 || metres == 9999.0; }

bool parse_inventory_line(Edition edition, char* chars, std::size_t length, GhcnmStation& station,
                          std::string& field, std::string& what) {
    using namespace fmtio;
    const std::string_view line(chars, length);
    if (!check_fields(edition, line, field, what)) return false;
    Text<11> id;
    Text<30> name;
    double elevation = 0;
    if (read(internal_unit(chars, std::min<std::size_t>(length, 68)), on_err,
             fmt<"(a11,1x,f8.0,1x,f9.0,1x,f6.0,1x,a30)">, id, station.latitude, station.longitude, elevation,
             name) != units::outcome_ok) {
        field.clear();
        what = "cannot be read with the inventory's layout";
        return false;
    }
    station.id.assign(id.view());
    station.country_code = station.id.substr(0, edition == Edition::v4 ? 2 : 3);
    station.latitude_text = trim(columns(line, 13, 20));
    station.longitude_text = trim(columns(line, 22, 30));
    station.elevation = is_missing_elevation(elevation) ? std::nullopt : std::optional<double>(elevation);
    station.elevation_text = station.elevation ? std::string(trim(columns(line, 32, 37))) : std::string();
    station.name.assign(name.trimmed());
    return check_ranges(station, field, what);
}

bool read_inventory(Edition edition, const std::string& path, std::vector<GhcnmStation>& stations,
                    ReadProblem& problem) {
    return for_each_line(path, problem, [&](LineSource& lines, std::string_view line) {
        GhcnmStation station;
        std::string field, what;
        if (!parse_inventory_line(edition, lines.line_chars(), line.size(), station, field, what)) {
            problem = {path, lines.line_number(), field, what};
            return false;
        }
        stations.push_back(std::move(station));
        return true;
    });
}

}  // namespace corvane::ghcn
