// The distance, name and identifier-list rules of the data set's selection, in plain types,
// so that the version 2 extraction (whose inventory records share names with those of
// versions 3 and 4) selects by them the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::extract {

// Geodesic distance on the WGS84 ellipsoid, in kilometres.
double geodesic_km(double from_lat, double from_lon, double lat, double lon);

// Whether `text` occurs in `name`, letters compared without case.
bool name_holds(std::string_view name, std::string_view text);

// The identifiers of a list file (one a line, blank lines and # comments passed over);
// false with `error` naming the file, the line and why when it cannot be read.
bool read_identifier_list(const std::string& path, std::vector<std::string>& ids, std::string& error);

}  // namespace corvane::extract
