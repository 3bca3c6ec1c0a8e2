// The rules by which a station of the inventory is selected, shared by the dialogue, the
// command-line extraction and the station map: the area test (a box may straddle the 180
// degree meridian), what counts as a missing elevation, and the 0..360 longitudes.
#pragma once

#include <cstdint>

namespace corvane::ghcn {

// A box whose east bound (max) lies below its west bound (min) crosses the 180° meridian.
bool crosses_dateline(float max_lon, float min_lon);

// Whether `lon` lies in the box's longitudes; across the 180° meridian the box runs east
// from `min_lon` to 180 and on from -180 to `max_lon`.
bool longitude_in_box(float lon, float min_lon, float max_lon, bool box_crosses_dateline);

// An elevation below -900 is taken as unknown: the user may be asked about the station.
bool elevation_unknown(std::int32_t elevation);

// The marker itself (-999) is never tested against the range: a station with it that the
// user was not asked about falls short of the score. Other unknown elevations are numbers.
bool elevation_takes_range_test(std::int32_t elevation);

// A longitude in 0..360, as the series headers give it when the run asks for that.
float longitude_360(float lon);

}  // namespace corvane::ghcn
