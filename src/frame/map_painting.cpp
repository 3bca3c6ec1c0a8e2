#include "frame/map_painting.hpp"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/axis_labels.hpp"

namespace corvane::frame {

namespace {

using app::MapPoint;
using app::MapStation;
using app::StationMapData;
using app::StationState;

const QColor inventory_grey(150, 150, 150);
const QColor found_blue(20, 80, 220);
const QColor no_data_red(220, 30, 30);
const QColor selected_orange(240, 140, 0);
const QColor graticule_grey(205, 215, 225);
const QColor box_green(0, 140, 60);
const QColor near_magenta(190, 0, 150);
constexpr double max_zoom = 64;

QString degrees(int value, char positive, char negative) {
    if (value == 0) return QStringLiteral("0°");
    if (std::abs(value) == 180 && positive == 'E') return QStringLiteral("180°");
    return QStringLiteral("%1°%2").arg(std::abs(value)).arg(QLatin1Char(value > 0 ? positive : negative));
}

double line_width(const QRectF& area) { return std::max(1.0, std::min(area.width(), area.height()) / 700); }

double lon_at(const MapLayout& m, double x) { return m.globe.centre_lon + (x - m.frame.center().x()) * 360 / m.globe.width; }
double lat_at(const MapLayout& m, double y) { return 90 - (y - m.globe.top) * 180 / m.globe.height; }
QPointF at(const MapLayout& m, const MapPoint& p) { return {m.globe.x(p.lon), m.globe.y(p.lat)}; }

// The latitude of the frame's centre, kept where the globe covers the frame from top to bottom.
double clamped_lat(double lat, double zoom) {
    const double reach = 90 - 90 / zoom;
    return std::clamp(lat, -reach, reach);
}

void paint_coastlines(QPainter& p, const MapLayout& m, const QRectF& area) {
    p.setPen(QPen(map_coast, line_width(area)));
    QPolygonF run;
    for (const app::Coastline& line : world_coastlines()) {
        run.clear();
        for (const MapPoint& point : line.points) {
            const QPointF xy = at(m, point);
            if (!run.isEmpty() && std::abs(xy.x() - run.back().x()) > m.globe.width / 2) {  // across the seam
                p.drawPolyline(run);
                run.clear();
            }
            run << xy;
        }
        if (run.size() > 1) p.drawPolyline(run);
    }
}


}  // namespace

LabelSteps label_steps(const MapLayout& m) {
    const QFontMetricsF metrics(m.font);
    const double lon_extent = metrics.horizontalAdvance(QStringLiteral("150°W"));
    return {app::label_step(360 / (m.globe.width / m.frame.width()), m.frame.width(), lon_extent),
            app::label_step(180 / (m.globe.height / m.frame.height()), m.frame.height(), metrics.height())};
}

// Latitudes left of the frame, centred on their parallel; longitudes under it, centred on
// their meridian, low enough to clear the lowest latitude's label.
std::vector<MapLabel> map_labels(const MapLayout& m) {
    const QFontMetricsF metrics(m.font);
    const double h = metrics.height();
    const QRectF& f = m.frame;
    const LabelSteps steps = label_steps(m);
    std::vector<MapLabel> labels;
    for (int lat : app::label_degrees(lat_at(m, f.bottom()), lat_at(m, f.top()), steps.lat)) {
        const QString text = degrees(lat, 'N', 'S');
        const double w = metrics.horizontalAdvance(text);
        labels.push_back({QRectF(f.left() - h * 0.25 - w, m.globe.y(lat) - h / 2, w, h), text});
    }
    const double west = lon_at(m, f.left()), east = lon_at(m, f.right());
    for (int lon : app::label_degrees(west, east, steps.lon)) {
        const double x = f.left() + (lon - west) / (east - west) * f.width();
        const int shown = static_cast<int>(std::lround(app::normalised_longitude(lon)));
        const QString text = degrees(shown == -180 ? 180 : shown, 'E', 'W');
        const double w = metrics.horizontalAdvance(text);
        labels.push_back({QRectF(x - w / 2, f.bottom() + h * 0.55, w, h), text});
    }
    return labels;
}

namespace {

void paint_graticule(QPainter& p, const MapLayout& m, LabelSteps steps) {
    p.setPen(QPen(graticule_grey, 0));
    const QRectF& f = m.frame;
    for (int lon : app::label_degrees(lon_at(m, f.left()), lon_at(m, f.right()), steps.lon ? steps.lon : 30)) {
        const double x = m.globe.x(lon);
        p.drawLine(QPointF(x, f.top()), QPointF(x, f.bottom()));
    }
    for (int lat : app::label_degrees(lat_at(m, f.bottom()), lat_at(m, f.top()), steps.lat ? steps.lat : 30)) {
        p.drawLine(QPointF(f.left(), m.globe.y(lat)), QPointF(f.right(), m.globe.y(lat)));
    }
}

void paint_labels(QPainter& p, const MapLayout& m) {
    p.setPen(Qt::black);
    for (const MapLabel& label : map_labels(m)) p.drawText(label.box, Qt::AlignCenter, label.text);
}

// The box as the selection treats it: from its west side eastwards, through the 180°
// meridian when it crosses it; drawn again a globe's width away where that shows.
void paint_box(QPainter& p, const MapLayout& m, const app::MapBox& box, const QRectF& area) {
    p.setPen(QPen(box_green, line_width(area) * 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    const double span = box.crosses_dateline ? box.max_lon - box.min_lon + 360 : box.max_lon - box.min_lon;
    const double west = m.globe.x(box.min_lon), width = span * m.globe.width / 360;
    const double top = m.globe.y(box.max_lat), bottom = m.globe.y(box.min_lat);
    for (double shift : {-m.globe.width, 0.0, m.globe.width})
        p.drawRect(QRectF(QPointF(west + shift, top), QPointF(west + shift + width, bottom)));
}

void paint_station(QPainter& p, QPointF xy, StationState state, double dot) {
    switch (state) {
        case StationState::found:
            p.setPen(Qt::NoPen);
            p.setBrush(found_blue);
            p.drawEllipse(xy, dot, dot);
            return;
        case StationState::no_data:
            p.setPen(QPen(no_data_red, dot * 0.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(xy, dot * 1.2, dot * 1.2);
            return;
        case StationState::selected:
            p.setPen(Qt::NoPen);
            p.setBrush(selected_orange);
            p.drawEllipse(xy, dot, dot);
            return;
    }
}

// A ringed cross, apart from any station's dot.
void paint_near(QPainter& p, QPointF xy, double dot) {
    const double r = dot * 2.6;
    p.setPen(QPen(near_magenta, std::max(1.0, dot * 0.6)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(xy, r, r);
    p.drawLine(QPointF(xy.x() - r * 1.6, xy.y()), QPointF(xy.x() + r * 1.6, xy.y()));
    p.drawLine(QPointF(xy.x(), xy.y() - r * 1.6), QPointF(xy.x(), xy.y() + r * 1.6));
}

void paint_stations(QPainter& p, const MapLayout& m, const StationMapData& data) {
    p.setPen(Qt::NoPen);
    p.setBrush(inventory_grey);
    const double grey = std::max(1.2, m.dot * 0.7);
    for (const MapPoint& s : data.inventory) p.drawEllipse(at(m, s), grey, grey);
    for (const MapStation& s : data.stations) paint_station(p, at(m, s.at), s.state, m.dot);
}

// One entry of the legend: its symbol, then its text; the entries flow into lines.
struct LegendEntry {
    QString text;
    std::function<void(QPainter&, QPointF)> symbol;
};

std::vector<LegendEntry> legend_entries(const StationMapData& data, const MapLayout& m, const QRectF& area) {
    int counts[3] = {0, 0, 0};
    for (const MapStation& s : data.stations) ++counts[static_cast<int>(s.state)];
    const double dot = m.dot, grey = std::max(1.2, m.dot * 0.7), width = line_width(area);
    std::vector<LegendEntry> entries;
    entries.push_back({QStringLiteral("%1 in the inventory").arg(data.inventory.size()), [grey](QPainter& p, QPointF c) {
                           p.setPen(Qt::NoPen);
                           p.setBrush(inventory_grey);
                           p.drawEllipse(c, grey, grey);
                       }});
    const struct { StationState state; const char* text; } kinds[] = {
        {StationState::selected, "%1 selected"}, {StationState::found, "%1 found"}, {StationState::no_data, "%1 without data"}};
    for (const auto& k : kinds) {
        if (counts[static_cast<int>(k.state)] == 0) continue;
        entries.push_back({QString::fromLatin1(k.text).arg(counts[static_cast<int>(k.state)]),
                           [dot, state = k.state](QPainter& p, QPointF c) { paint_station(p, c, state, dot); }});
    }
    if (data.has_box)
        entries.push_back({QStringLiteral("selection box"), [width](QPainter& p, QPointF c) {
                               p.setPen(QPen(box_green, width * 1.5, Qt::DashLine));
                               p.setBrush(Qt::NoBrush);
                               p.drawRect(QRectF(c.x() - 6 * width, c.y() - 4 * width, 12 * width, 8 * width));
                           }});
    if (data.near)
        entries.push_back({QStringLiteral("near point"), [dot](QPainter& p, QPointF c) { paint_near(p, c, dot * 0.8); }});
    if (!world_coastlines().empty())
        entries.push_back({QStringLiteral("coastline"), [width](QPainter& p, QPointF c) {
                               p.setPen(QPen(map_coast, width));
                               p.drawLine(QPointF(c.x() - 7 * width, c.y()), QPointF(c.x() + 7 * width, c.y()));
                           }});
    return entries;
}

void paint_legend(QPainter& p, const MapLayout& m, const StationMapData& data, const QRectF& area) {
    const QFontMetricsF metrics(m.font);
    const double h = metrics.height();
    const double symbol = h * 1.3, gap = h * 0.9;
    double x = m.frame.left(), y = m.frame.bottom() + h * 1.75;
    if (!data.variable.empty()) {
        QFont bold = m.font;
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::black);
        const QString name = QString::fromLatin1(data.variable.c_str());
        p.drawText(QRectF(x, y, area.width(), h), Qt::AlignLeft | Qt::AlignVCenter, name);
        x += QFontMetricsF(bold).horizontalAdvance(name) + gap;
        p.setFont(m.font);
    }
    for (const LegendEntry& e : legend_entries(data, m, area)) {
        const double w = symbol + metrics.horizontalAdvance(e.text);
        if (x + w > area.right() && x > m.frame.left()) {
            x = m.frame.left();
            y += h * 1.2;
        }
        e.symbol(p, QPointF(x + symbol / 2 - h * 0.2, y + h / 2));
        p.setPen(Qt::black);
        p.drawText(QRectF(x + symbol, y, w, h), Qt::AlignLeft | Qt::AlignVCenter, e.text);
        x += w + gap;
    }
}

}  // namespace

const std::vector<app::Coastline>& world_coastlines() {
    static const std::vector<app::Coastline> lines = [] {
        const std::string path = app::find_coastline_file();
        return path.empty() ? std::vector<app::Coastline>{} : app::read_binned_coastlines(path).lines;
    }();
    return lines;
}

MapLayout map_layout(const QRectF& area, const MapView& view, double map_centre_lon, double dpi_scale) {
    MapLayout m;
    // Text grows slowly with the map: readable on a small window, not shouting on a large one.
    const double side = std::min(area.width() / 2, area.height()) / std::max(dpi_scale, 0.1);
    m.font.setPixelSize(static_cast<int>(dpi_scale * (8 + side / 70)));
    const QFontMetricsF metrics(m.font);
    const double h = metrics.height();
    const QRectF inner = area.adjusted(metrics.horizontalAdvance(QStringLiteral("90°S")) + h * 0.6, h * 0.7,
                                       -metrics.horizontalAdvance(QStringLiteral("150°W")) * 0.55, -h * 4.4);
    double width = std::max(1.0, inner.width()), height = width / 2;
    if (height > inner.height()) {
        height = std::max(1.0, inner.height());
        width = height * 2;
    }
    m.frame = QRectF(inner.left() + (inner.width() - width) / 2, inner.top() + (inner.height() - height) / 2, width, height);
    const double zoom = std::clamp(view.zoom, 1.0, max_zoom);
    const double globe_w = width * zoom, globe_h = height * zoom;
    const double lat = clamped_lat(view.centre_lat, zoom);
    m.globe = {m.frame.center().x() - globe_w / 2, m.frame.center().y() - globe_h * (90 - lat) / 180, globe_w, globe_h,
               app::normalised_longitude(map_centre_lon + view.pan_lon)};
    m.dot = std::max(1.5, width / 300) * std::min(2.0, std::sqrt(zoom));
    return m;
}

void paint_map(QPainter& p, const QRectF& area, const StationMapData& data, const MapView& view) {
    const double dpi_scale = p.device() ? p.device()->logicalDpiY() / 96.0 : 1;
    const MapLayout m = map_layout(area, view, data.centre_lon, dpi_scale);
    const LabelSteps steps = label_steps(m);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(m.font);
    p.fillRect(area, Qt::white);
    p.fillRect(m.frame, map_ocean);
    p.setClipRect(m.frame, Qt::IntersectClip);
    paint_graticule(p, m, steps);
    paint_coastlines(p, m, area);
    if (data.has_box) paint_box(p, m, data.box, area);
    paint_stations(p, m, data);
    if (data.near) paint_near(p, at(m, *data.near), m.dot);
    p.setClipping(false);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(m.frame);
    paint_labels(p, m);
    paint_legend(p, m, data, area);
    p.restore();
}

std::optional<std::size_t> station_near(const MapLayout& m, const StationMapData& data, QPointF point, double reach) {
    std::optional<std::size_t> nearest;
    if (!m.frame.contains(point)) return nearest;  // the labels and the legend hold no station
    double best = reach * reach;
    for (std::size_t i = 0; i < data.stations.size(); ++i) {
        const QPointF d = at(m, data.stations[i].at) - point;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

MapView zoomed(const MapView& view, const MapLayout& m, QPointF point, double factor) {
    const double lon = lon_at(m, point.x()), lat = lat_at(m, point.y());
    MapView next = view;
    next.zoom = std::clamp(view.zoom * factor, 1.0, max_zoom);
    const double width = m.globe.width / view.zoom * next.zoom;
    const double centre = lon - (point.x() - m.frame.center().x()) * 360 / width;
    next.pan_lon = app::normalised_longitude(view.pan_lon + centre - m.globe.centre_lon);
    next.centre_lat = clamped_lat(lat + (point.y() - m.frame.center().y()) * 180 / (width / 2), next.zoom);
    return next;
}

MapView panned(const MapView& view, const MapLayout& m, QPointF delta) {
    MapView next = view;
    next.pan_lon = app::normalised_longitude(view.pan_lon - delta.x() * 360 / m.globe.width);
    next.centre_lat = clamped_lat(clamped_lat(view.centre_lat, view.zoom) + delta.y() * 180 / m.globe.height, view.zoom);
    return next;
}

}  // namespace corvane::frame
