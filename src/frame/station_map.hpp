// The station map of the desktop program: a "Map" menu whose "Station map" item opens the
// map's window, or brings it to the front when it is open; closed, it opens again. Every
// station of the inventory is a faint grey dot on a map with the world's coastlines, the
// selected stations are coloured: blue where the extraction found their series, red rings
// where it found none, orange while the extraction has not run. A click on a found station
// opens its series plot.
#pragma once

#include "app/station_map_data.hpp"

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
class StationMapWidget;

// Adds the Map menu with its item.
void add_station_map(DesktopFrame& frame);

// Opens the map's window, or brings the open one to the front, up to date.
void show_station_map(DesktopFrame& frame);

// The map's window while it is open, else null.
StationMapWidget* station_map_window();

}  // namespace corvane::frame
