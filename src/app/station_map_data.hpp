// What the station map shows, gathered without the toolkit: the positions of every station
// of the chosen variable's inventory, the selected stations and whether the extraction found
// data for them, the selection box, and where the map is centred. The files are read
// directly, never through the record layer: the map is drawn while the dialogue may be
// inside a statement. Plain C++: the desktop frame draws it, and its tests need no toolkit.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/run_data.hpp"

namespace corvane::app {

struct MapPoint {
    double lat = 0;
    double lon = 0;
};

enum class StationState { selected, found, no_data };

struct MapStation {
    MapPoint at;
    StationState state = StationState::selected;
    int country = 0;
    int id = 0;
    std::string name;  // blanks trimmed
    int elevation = 0;
};

struct MapBox {
    double min_lat = 0, max_lat = 0, min_lon = 0, max_lon = 0;
    bool crosses_dateline = false;
};

struct StationMapData {
    std::vector<MapPoint> inventory;
    std::vector<MapStation> stations;
    bool has_box = false;
    MapBox box;
    double centre_lon = 0;  // 180 when the selection straddles the 180° meridian
    std::optional<MapPoint> near;  // the place the stations were chosen around, if any
    std::string variable;   // the variable's label, blank before one is chosen
};

// Latitude (columns 44-49) and longitude (51-57) of every inventory line that has both.
std::vector<MapPoint> read_inventory_positions(const std::string& path);
// The station numbers in the header lines of a time-series file (columns 35-42).
std::set<int> read_found_stations(const std::string& path);

// The map of the run as it stands. The time-series file is read again whenever it changed,
// so that a map drawn while the extraction writes it shows every station once it is done.
StationMapData station_map_data(const RunData& run);

// A number that changes whenever what the map shows of `run` changes: the variable, the
// criteria, the selection, the count found, or the time-series file.
std::uint64_t map_revision(const RunData& run);

// A plate carrée projection of the whole globe onto a rectangle, centred on `centre_lon`.
struct PlateCarree {
    double left = 0, top = 0, width = 360, height = 180;
    double centre_lon = 0;
    // x grows eastwards from the meridian opposite the centre, y southwards from 90°N.
    double x(double lon) const;
    double y(double lat) const;
};

// A longitude in [-180, 180).
double normalised_longitude(double lon);

}  // namespace corvane::app
