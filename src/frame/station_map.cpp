#include "frame/station_map.hpp"

#include <QMdiArea>
#include <QPainter>
#include <QPainterPath>

#include "app/dialogue.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "app/station_map_data.hpp"

namespace corvane::frame {

namespace {

constexpr int map_popup = 5;  // after File, Edit, Format and Window
constexpr int graticule_step = 30;

const QColor inventory_grey(150, 150, 150);
const QColor found_blue(20, 80, 220);
const QColor no_data_red(220, 30, 30);
const QColor selected_orange(240, 140, 0);
const QColor graticule_grey(215, 215, 215);
const QColor box_green(0, 140, 60);

QString degrees(int value, char positive, char negative) {
    if (value == 0) return QStringLiteral("0°");
    return QStringLiteral("%1°%2").arg(std::abs(value)).arg(QLatin1Char(value > 0 ? positive : negative));
}

double label_height_for(double device_height) {
    QFont font;
    font.setPixelSize(std::max(8, static_cast<int>(device_height / 28)));
    return QFontMetricsF(font).height();
}

PlateCarree fit_projection(const QRectF& area, double label_height, double centre_lon) {
    const QRectF inner = area.adjusted(label_height * 3, label_height * 1.5, -label_height * 1.5, -label_height * 3.5);
    double width = inner.width();
    double height = width / 2;
    if (height > inner.height()) {
        height = inner.height();
        width = height * 2;
    }
    return {inner.left() + (inner.width() - width) / 2, inner.top() + (inner.height() - height) / 2,
            std::max(1.0, width), std::max(1.0, height), centre_lon};
}

void draw_graticule(QPainter& p, const PlateCarree& map, double label_height) {
    const QRectF frame(map.left, map.top, map.width, map.height);
    p.setPen(QPen(graticule_grey, 0));
    for (int lat = -90 + graticule_step; lat < 90; lat += graticule_step)
        p.drawLine(QPointF(frame.left(), map.y(lat)), QPointF(frame.right(), map.y(lat)));
    for (int k = 1; k < 360 / graticule_step; ++k) {
        const double x = map.left + map.width * k * graticule_step / 360.0;
        p.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
    }
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(frame);
    for (int lat = -90; lat <= 90; lat += graticule_step) {
        const QRectF label(map.left - label_height * 3, map.y(lat) - label_height / 2, label_height * 2.8, label_height);
        p.drawText(label, Qt::AlignRight | Qt::AlignVCenter, degrees(lat, 'N', 'S'));
    }
    for (int k = 0; k <= 360 / graticule_step; ++k) {
        const double x = map.left + map.width * k * graticule_step / 360.0;
        const int lon = static_cast<int>(normalised_longitude(map.centre_lon - 180 + k * graticule_step));
        const int shown = k == 360 / graticule_step && lon == -180 ? 180 : lon;
        const QRectF label(x - label_height * 2, map.top + map.height + label_height * 0.2, label_height * 4, label_height);
        p.drawText(label, Qt::AlignHCenter | Qt::AlignTop, std::abs(shown) == 180 ? QStringLiteral("180°") : degrees(shown, 'E', 'W'));
    }
}

// The selection box; one across the 180° meridian is drawn in two parts unless the map
// is centred on that meridian.
void draw_box(QPainter& p, const PlateCarree& map, const MapBox& box) {
    p.setPen(QPen(box_green, 0, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    const double top = map.y(box.max_lat);
    const double bottom = map.y(box.min_lat);
    const double west = map.x(box.min_lon);
    double east = map.x(box.max_lon);
    if (east < west) east += map.width;  // wraps past the right edge
    p.save();
    p.setClipRect(QRectF(map.left, map.top, map.width, map.height));
    p.drawRect(QRectF(QPointF(west, top), QPointF(east, bottom)));
    if (east > map.left + map.width) p.drawRect(QRectF(QPointF(west - map.width, top), QPointF(east - map.width, bottom)));
    p.restore();
}

void draw_stations(QPainter& p, const PlateCarree& map, const StationMapData& data, double dot) {
    p.setPen(Qt::NoPen);
    p.setBrush(inventory_grey);
    const double grey_radius = std::max(1.2, dot * 0.7);
    for (const MapPoint& s : data.inventory) p.drawEllipse(QPointF(map.x(s.lon), map.y(s.lat)), grey_radius, grey_radius);
    for (const MapStation& s : data.stations) {
        const QPointF at(map.x(s.at.lon), map.y(s.at.lat));
        switch (s.state) {
            case StationState::found:
                p.setPen(Qt::NoPen);
                p.setBrush(found_blue);
                p.drawEllipse(at, dot, dot);
                break;
            case StationState::no_data:
                p.setPen(QPen(no_data_red, dot * 0.5));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(at, dot * 1.2, dot * 1.2);
                break;
            case StationState::selected:
                p.setPen(Qt::NoPen);
                p.setBrush(selected_orange);
                p.drawEllipse(at, dot, dot);
                break;
        }
    }
}

void draw_legend(QPainter& p, const PlateCarree& map, const StationMapData& data, double label_height) {
    int found = 0, no_data = 0, selected = 0;
    for (const MapStation& s : data.stations) {
        (s.state == StationState::found ? found : s.state == StationState::no_data ? no_data : selected)++;
    }
    QStringList parts{QStringLiteral("%1 inventory stations").arg(data.inventory.size())};
    if (selected) parts << QStringLiteral("%1 selected").arg(selected);
    if (found) parts << QStringLiteral("%1 found").arg(found);
    if (no_data) parts << QStringLiteral("%1 without data").arg(no_data);
    QString text = parts.join(QStringLiteral(", "));
    if (!data.variable.empty()) text.prepend(QString::fromLatin1(data.variable.c_str()) + QStringLiteral(": "));
    p.setPen(Qt::black);
    p.drawText(QRectF(map.left, map.top + map.height + label_height * 1.4, map.width, label_height * 1.5),
               Qt::AlignLeft | Qt::AlignVCenter, text);
}

void station_map_command(int) {
    DesktopFrame* frame = DesktopFrame::instance();
    if (!frame) return;
    GraphicsState& g = frame->graphics();
    if (g.window) {  // already open: show it again, up to date
        frame->mdi_area()->setActiveSubWindow(g.window);
        g.window->widget()->update();
        return;
    }
    int width = 0, height = 0;
    if (!frame->open_graphics_window(width, height, "Station map", mapping_text, draw_station_map)) {
        // Closed before: a run has one graphics window.
        frame->enable_menu_item(map_popup, 1, menu_grayed);
    }
}

}  // namespace

void add_station_map(DesktopFrame& frame) {
    frame.insert_menu_item(map_popup, 0, 0, QStringLiteral("&Map"), nullptr);
    frame.append_menu_item(map_popup, 0, QStringLiteral("&Station map"), station_map_command);
}

PlateCarree station_map_projection(double width, double height, double centre_lon) {
    return fit_projection(QRectF(0, 0, width, height), label_height_for(height), centre_lon);
}

void draw_station_map(QPainter& painter) {
    const StationMapData data = station_map_data(app::current_run());
    const QRectF area(0, 0, painter.device()->width(), painter.device()->height());
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(std::max(8, static_cast<int>(area.height() / 28)));
    painter.setFont(font);
    const double label_height = label_height_for(area.height());
    const PlateCarree map = station_map_projection(area.width(), area.height(), data.centre_lon);
    draw_graticule(painter, map, label_height);
    if (data.has_box) draw_box(painter, map, data.box);
    draw_stations(painter, map, data, std::max(1.5, map.width / 300));
    draw_legend(painter, map, data, label_height);
}

}  // namespace corvane::frame
