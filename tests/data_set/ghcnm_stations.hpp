// The stations of a generated version 3 or 4 set: first the hard cases, then stations of
// random countries, with identifiers of the edition (v3: three-digit country code and
// eight digits; v4: two-letter code, a network letter and eight digits) and the years each
// reports.
#pragma once

#include <string>
#include <vector>

#include "random.hpp"
#include "stations.hpp"

namespace corvane::data_set {

// What makes a hard-case station hard; `none` for the ordinary ones.
enum class HardCase { none, east_of_180, west_of_180, elevation_minus_999, elevation_9999, year_twice, every_qc_letter,
                      not_in_inventory };

struct GhcnmStation {
    std::string id;
    double latitude = 0;
    double longitude = 0;
    std::string elevation_text;  // as written, "-999.0" and "9999.0" when missing
    double climate_elevation = 0;  // for the made-up climate: 100 m when missing
    std::string name;
    int first_year = 0;
    int last_year = 0;
    HardCase hard_case = HardCase::none;
};

// The version 4 country list written with the set: FIPS codes and names.
struct GhcnmCountry {
    std::string code;
    std::string name;
};
const std::vector<GhcnmCountry>& v4_countries();

// `count` stations (the hard cases among them), ordered by identifier. Version 3 takes its
// country codes from `v3_countries`.
std::vector<GhcnmStation> make_ghcnm_stations(Random& r, int edition, int count, bool full_size,
                                              const std::vector<Country>& v3_countries);

}  // namespace corvane::data_set
