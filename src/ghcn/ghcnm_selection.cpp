// Distances come from GeographicLib's geodesic solution rather than a sphere, so that a
// radius means the same near the poles and across 180 degrees as anywhere else.
#include "ghcn/ghcnm_selection.hpp"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cctype>

#include "ghcn/ghcnm_line_source.hpp"

namespace corvane::ghcn {

namespace {

void sort_nearest_first(const std::vector<GhcnmStation>& stations, std::vector<StationDistance>& d) {
    std::sort(d.begin(), d.end(), [&](const StationDistance& a, const StationDistance& b) {
        if (a.km != b.km) return a.km < b.km;
        return stations[a.index].id < stations[b.index].id;
    });
}

std::vector<StationDistance> all_distances(const std::vector<GhcnmStation>& stations, const Place& near) {
    std::vector<StationDistance> d;
    d.reserve(stations.size());
    for (std::size_t i = 0; i < stations.size(); ++i)
        d.push_back({i, distance_km(near, stations[i].latitude, stations[i].longitude)});
    return d;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

double distance_km(const Place& from, double latitude, double longitude) {
    double metres = 0;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude, from.longitude, latitude, longitude, metres);
    return metres / 1000.0;
}

std::vector<StationDistance> within_radius(const std::vector<GhcnmStation>& stations, const Place& near,
                                           double radius_km) {
    std::vector<StationDistance> d = all_distances(stations, near);
    std::erase_if(d, [radius_km](const StationDistance& s) { return s.km > radius_km; });
    sort_nearest_first(stations, d);
    return d;
}

std::vector<StationDistance> nearest(const std::vector<GhcnmStation>& stations, const Place& near, std::size_t n) {
    std::vector<StationDistance> d = all_distances(stations, near);
    sort_nearest_first(stations, d);
    if (d.size() > n) d.resize(n);
    return d;
}

bool name_contains(std::string_view name, std::string_view text) {
    const auto found = std::search(name.begin(), name.end(), text.begin(), text.end(),
                                   [](char a, char b) { return lower(a) == lower(b); });
    return found != name.end() || text.empty();
}

bool read_id_list(const std::string& path, std::vector<std::string>& ids, ReadProblem& problem) {
    return for_each_line(path, problem, [&](const LineSource& lines, std::string_view line) {
        const std::string_view id = trim(line.substr(0, line.find('#')));
        if (id.empty()) return true;
        if (id.find_first_of(" \t") != std::string_view::npos) {
            problem = {path, lines.line_number(), "ID", "holds more than one identifier: \"" + std::string(id) + "\""};
            return false;
        }
        ids.emplace_back(id);
        return true;
    });
}

std::vector<std::string> ids_not_in(const std::vector<std::string>& wanted, const std::vector<GhcnmStation>& stations) {
    std::set<std::string_view> known;
    for (const GhcnmStation& s : stations) known.insert(s.id);
    std::vector<std::string> missing;
    for (const std::string& id : wanted) {
        if (!known.contains(id)) missing.push_back(id);
    }
    return missing;
}

}  // namespace corvane::ghcn
