// The station criteria of the version 3 and 4 extraction, as pure functions over inventory
// stations: distance from a place on the WGS84 ellipsoid, a radius (inclusive), the N
// nearest (equal distances ordered by identifier), a case-insensitive part of the name,
// and identifiers given one by one or in a file.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ghcn/ghcnm_inventory.hpp"
#include "ghcn/ghcnm_read_problem.hpp"

namespace corvane::ghcn {

struct Place {
    double latitude = 0;
    double longitude = 0;
};

// Geodesic distance on the WGS84 ellipsoid, in kilometres.
double distance_km(const Place& from, double latitude, double longitude);

struct StationDistance {
    std::size_t index = 0;  // into the stations given
    double km = 0;
};

// The stations within `radius_km` of `near` (inclusive), nearest first.
std::vector<StationDistance> within_radius(const std::vector<GhcnmStation>& stations, const Place& near,
                                           double radius_km);

// The `n` nearest of `stations` (all of them when there are fewer), nearest first; equal
// distances in the order of the identifiers.
std::vector<StationDistance> nearest(const std::vector<GhcnmStation>& stations, const Place& near, std::size_t n);

// Whether `text` occurs in `name`, letters compared without case.
bool name_contains(std::string_view name, std::string_view text);

// The identifiers of a list file: one a line; blank lines and `#` comments (whole-line or
// after an identifier) are passed over. False with `problem` set when the file cannot be
// read or a line holds more than one word.
bool read_id_list(const std::string& path, std::vector<std::string>& ids, ReadProblem& problem);

// The identifiers asked for that no station has, in the order asked, for the warning.
std::vector<std::string> ids_not_in(const std::vector<std::string>& wanted, const std::vector<GhcnmStation>& stations);

}  // namespace corvane::ghcn
