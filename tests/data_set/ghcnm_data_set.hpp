// A synthetic GHCN-M version 3 or 4 data set in NOAA's layouts and file names: for each
// file kind a `.dat` and its `.inv`, and the country list (v4 `ghcnm-countries.txt`,
// v3 `country-codes`). The first stations are the hard cases a reader must get right:
// identifiers with letters, both missing-elevation markers, stations on both sides of
// 180 degrees, every quality-control letter of the edition, a year written twice, blank and
// set flags. The files depend only on the seed and the scale.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::data_set {

// Full is the size of today's version 4 unadjusted file (27,000 stations); sample is
// small enough to ship with the sources.
enum class GhcnmScale { sample, full };

struct GhcnmSetOptions {
    std::string directory;      // created if needed; files in it are replaced
    int edition = 4;            // 3 or 4
    std::string country_codes;  // version 3: a "NNN NAME" list, copied as `country-codes`
    std::uint64_t seed = 1;
    GhcnmScale scale = GhcnmScale::sample;
    bool gzip_copy = false;     // also write the unadjusted `.dat` as `.dat.gz`
};

struct GhcnmSetSummary {
    int stations = 0;
    std::int64_t records = 0;  // of the unadjusted mean-temperature file
    std::string data_file;     // its name
};

bool generate_ghcnm_set(const GhcnmSetOptions& options, GhcnmSetSummary& summary, std::string& error);

}  // namespace corvane::data_set
