// The world's coastlines for the station map, from a binned shoreline file in netCDF: the
// globe is cut into square bins; each bin lists its segments, and each segment its points
// as offsets from the bin's south-west corner in 1/65535 of the bin's side. Every segment
// comes back as one polyline in degrees. Plain C++ over the netCDF C library: the desktop
// frame draws the lines, and the tests need no toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/station_map_data.hpp"

namespace corvane::app {

// A segment's packed word: the point count above bit 9, the shore level in bits 6-8 (1 land
// against the sea, 2 lakes, 3 islands in lakes, ...), and where it leaves and enters its
// bin's sides in the low six bits.
struct SegmentWord {
    int points = 0;
    int level = 0;
};
SegmentWord decode_segment_word(std::int32_t word);

struct Coastline {
    int level = 0;
    std::vector<MapPoint> points;  // longitudes 0..360 eastwards, as the bins lie
};

enum class CoastlineFault { none, cannot_open, missing_variable, inconsistent };

struct CoastlineFile {
    CoastlineFault fault = CoastlineFault::none;
    std::vector<Coastline> lines;
};

// The segments of levels 1 to `max_level` in the file at `path`. A file whose counts or
// indices do not agree with each other gives `inconsistent` and no lines.
CoastlineFile read_binned_coastlines(const std::string& path, int max_level = 1);

// The first of the usual places of the low- and crude-resolution files that exists, or
// blank; the environment variable CORVANE_COASTLINES names another file.
std::string find_coastline_file();

}  // namespace corvane::app
