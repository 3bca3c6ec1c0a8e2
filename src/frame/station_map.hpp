// The station map of the desktop program: a "Map" menu whose "Station map" item opens the
// frame's graphics window on a plate carrée of the globe. Every station of the inventory is
// a faint grey dot (together they sketch the land), the selected stations are coloured:
// blue where the extraction found their series, red rings where it found none, orange while
// the extraction has not run. A graticule with labelled degrees, the selection box, and a
// legend. A selection across the 180° meridian centres the map on it.
#pragma once

#include "app/station_map_data.hpp"

class QPainter;

namespace corvane::frame {

// What the map shows is gathered beside the run data, without the toolkit.
using app::MapBox;
using app::MapPoint;
using app::MapStation;
using app::normalised_longitude;
using app::PlateCarree;
using app::read_found_stations;
using app::StationMapData;
using app::StationState;

class DesktopFrame;

// Adds the Map menu with its item.
void add_station_map(DesktopFrame& frame);

// Where the globe goes on a device of the given size: the largest 2:1 rectangle that leaves
// room for the degree labels and the legend.
PlateCarree station_map_projection(double width, double height, double centre_lon);

// The graphics window's draw routine.
void draw_station_map(QPainter& painter);

}  // namespace corvane::frame
