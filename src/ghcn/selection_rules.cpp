// The selection rules.
#include "ghcn/selection_rules.hpp"

#include "ghcn/v2_records.hpp"

namespace corvane::ghcn {

bool crosses_dateline(float max_lon, float min_lon) { return max_lon < min_lon; }

bool longitude_in_box(float lon, float min_lon, float max_lon, bool box_crosses_dateline) {
    if (!box_crosses_dateline) return lon >= min_lon && lon <= max_lon;
    return (lon >= min_lon && lon <= 180.0f) || (lon >= -180.0f && lon <= max_lon);
}

bool elevation_unknown(std::int32_t elevation) { return elevation < -900; }

bool elevation_takes_range_test(std::int32_t elevation) { return elevation != missing_elevation; }

float longitude_360(float lon) { return lon < 0.0f ? lon + 360.0f : lon; }

}  // namespace corvane::ghcn
