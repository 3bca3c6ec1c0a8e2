// Painting the station map on any device — the window, a bitmap, an SVG file, a printed
// page — at the size it has: a plate carrée with the coastlines, a graticule whose degree
// labels thin out to fit the smaller side, the selection box (across the 180° meridian as
// the selection treats it), the stations and a legend. The view can be zoomed and panned;
// its centre longitude is an offset from the map's own centre, 180° for a selection across
// that meridian.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "app/coastlines.hpp"
#include "app/station_map_data.hpp"

class QPainter;

namespace corvane::frame {

struct MapView {
    double zoom = 1;        // 1: the whole globe fits the frame
    double pan_lon = 0;     // degrees east of the map's own centre
    double centre_lat = 0;  // kept where the globe still covers the frame
};

// Where things go on a device area for one view.
struct MapLayout {
    QRectF frame;            // the visible part of the globe
    app::PlateCarree globe;  // the whole globe, larger than the frame when zoomed in
    QFont font;
    double dot = 2;          // radius of a station's dot
};
// `dpi_scale`: the device's dots per inch over 96, so that a page printed at high resolution
// gets text of the size the screen has.
MapLayout map_layout(const QRectF& area, const MapView& view, double map_centre_lon, double dpi_scale = 1);

// The degree labels of the frame's edges: the steps between them, and each label's text
// and the box it takes.
struct LabelSteps {
    int lon = 0, lat = 0;
};
LabelSteps label_steps(const MapLayout& layout);
struct MapLabel {
    QRectF box;
    QString text;
};
std::vector<MapLabel> map_labels(const MapLayout& layout);

inline const QColor map_ocean(236, 243, 250);
inline const QColor map_coast(90, 110, 90);

// The coastlines of the installed shoreline file, read once; none without the file.
const std::vector<app::Coastline>& world_coastlines();

void paint_map(QPainter& painter, const QRectF& area, const app::StationMapData& data, const MapView& view);

// The selected station whose dot is nearest to `point`, within `reach` device units.
std::optional<std::size_t> station_near(const MapLayout& layout, const app::StationMapData& data, QPointF point,
                                        double reach);

// A view zoomed by `factor` about `point`, the degree under it staying put; and a view
// moved by a drag of `delta`. Latitudes stay where the globe covers the frame.
MapView zoomed(const MapView& view, const MapLayout& layout, QPointF point, double factor);
MapView panned(const MapView& view, const MapLayout& layout, QPointF delta);

}  // namespace corvane::frame
