// The hard cases come first in the drawing order and keep fixed places, so that the
// bundled sets and the tests can name them.
#include "ghcnm_stations.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace corvane::data_set {

namespace {

std::string elevation_text(double metres) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", metres);
    return text;
}

std::string v4_identifier(Random& r, const std::string& country) {
    static constexpr char networks[] = {'0', '1', 'C', 'E', 'M', 'N', 'W'};
    char digits[12];
    std::snprintf(digits, sizeof digits, "%08d", r.between(0, 99999999));
    return country + networks[r.next() % std::size(networks)] + digits;
}

std::string v3_identifier(Random& r, int country) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d%05d%03d", country, r.between(10000, 99999), r.chance(0.5) ? 0 : r.between(1, 999));
    return text;
}

std::string identifier(Random& r, int edition, const std::vector<Country>& v3_countries) {
    if (edition == 4) return v4_identifier(r, v4_countries()[r.next() % v4_countries().size()].code);
    return v3_identifier(r, r.pick(v3_countries).code);
}

void set_elevation(GhcnmStation& st, double metres) {
    st.elevation_text = elevation_text(metres);
    st.climate_elevation = metres;
}

void set_years(Random& r, GhcnmStation& st, bool full_size) {
    const int end = r.chance(0.7) ? 2023 : r.between(1960, 2022);
    const int length = full_size ? 3 + static_cast<int>(r.gamma2(52)) : r.between(4, 9);
    st.last_year = end;
    st.first_year = std::max(1850, end - length + 1);
}

struct HardPlace {
    HardCase kind;
    double latitude, longitude;
    double elevation;  // -999 or 9999: written as the missing marker
    const char* name;
};

constexpr HardPlace hard_places[] = {
    {HardCase::east_of_180, -16.55, 179.85, 12.0, "KORONI EAST POINT"},
    {HardCase::west_of_180, -16.75, -179.90, 25.0, "VALOFA WEST CAPE"},
    {HardCase::elevation_minus_999, 50.25, 10.50, -999.0, "NOELEV MINUS"},
    {HardCase::elevation_9999, -33.95, 18.60, 9999.0, "NOELEV NINES"},
    {HardCase::year_twice, 64.75, -147.85, 135.0, "TWICE REPORTED"},
    {HardCase::every_qc_letter, 35.70, 139.75, 36.0, "FLAGGED STATION"},
    {HardCase::not_in_inventory, 45.05, 5.10, 210.0, "UNLISTED"},
};

GhcnmStation hard_station(Random& r, int edition, const HardPlace& place, const std::vector<Country>& v3_countries) {
    GhcnmStation st;
    st.id = identifier(r, edition, v3_countries);
    st.latitude = place.latitude;
    st.longitude = place.longitude;
    st.elevation_text = elevation_text(place.elevation);
    st.climate_elevation = place.elevation > 9000 || place.elevation < -900 ? 100 : place.elevation;
    st.name = place.name;
    st.first_year = 1998;
    st.last_year = 2006;
    st.hard_case = place.kind;
    return st;
}

GhcnmStation ordinary_station(Random& r, int edition, const std::vector<Country>& v3_countries, bool full_size) {
    GhcnmStation st;
    st.id = identifier(r, edition, v3_countries);
    st.latitude = std::round(r.uniform(-75, 80) * 10000.0) / 10000.0;
    st.longitude = std::round(r.uniform(-180, 180) * 10000.0) / 10000.0;
    const double u = r.uniform();
    if (u < 0.02) set_elevation(st, -999.0), st.climate_elevation = 100;
    else if (u < 0.03) set_elevation(st, 9999.0), st.climate_elevation = 100;
    else set_elevation(st, std::round(std::fabs(r.gauss(0, 500)) * 10.0) / 10.0);
    st.name = make_name(r, 30);
    set_years(r, st, full_size);
    return st;
}

}  // namespace

const std::vector<GhcnmCountry>& v4_countries() {
    static const std::vector<GhcnmCountry> countries{
        {"AS", "Australia"},      {"AY", "Antarctica"},   {"BR", "Brazil"},       {"CA", "Canada"},
        {"CH", "China"},          {"FJ", "Fiji"},         {"GM", "Germany"},      {"IN", "India"},
        {"JA", "Japan"},          {"NZ", "New Zealand"},  {"RS", "Russia"},       {"SF", "South Africa"},
        {"TN", "Tonga"},          {"UK", "United Kingdom"}, {"US", "United States"}, {"WS", "Samoa"}};
    return countries;
}

std::vector<GhcnmStation> make_ghcnm_stations(Random& r, int edition, int count, bool full_size,
                                              const std::vector<Country>& v3_countries) {
    std::vector<GhcnmStation> stations;
    std::set<std::string> ids;
    for (const HardPlace& place : hard_places) {
        stations.push_back(hard_station(r, edition, place, v3_countries));
        ids.insert(stations.back().id);
    }
    while (static_cast<int>(stations.size()) < count) {
        GhcnmStation st = ordinary_station(r, edition, v3_countries, full_size);
        if (ids.insert(st.id).second) stations.push_back(std::move(st));
    }
    std::sort(stations.begin(), stations.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    return stations;
}

}  // namespace corvane::data_set
