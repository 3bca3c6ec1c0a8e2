#include "frame/station_map.hpp"

#include <QMdiArea>
#include <QPointer>

#include "app/dialogue.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/series_plot.hpp"
#include "frame/station_map_window.hpp"

namespace corvane::frame {

namespace {

constexpr int map_popup = 5;  // after File, Edit, Format and Window
constexpr QPoint map_position{40, 40};

QPointer<StationMapWidget> open_map;

void station_map_command(int) {
    if (DesktopFrame* frame = DesktopFrame::instance()) show_station_map(*frame);
}

}  // namespace

void add_station_map(DesktopFrame& frame) {
    frame.insert_menu_item(map_popup, 0, 0, QStringLiteral("&Map"), nullptr);
    frame.append_menu_item(map_popup, 0, QStringLiteral("&Station map"), station_map_command);
}

void show_station_map(DesktopFrame& frame) {
    if (open_map) {
        open_map->follow_run();
        frame.mdi_area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open_map->parentWidget()));
        return;
    }
    auto* map = new StationMapWidget([&frame](int id, bool enabled) { frame.enable_command(id, enabled); },
                                     [&frame](const app::MapStation& s) {
                                         open_series_plot(frame, s, app::current_run().variable_choice);
                                     });
    auto* child = new ChildWindow(map, *map);
    child->setWindowTitle(QStringLiteral("Station map"));
    frame.mdi_area()->addSubWindow(child);
    child->move(map_position);
    child->resize(child->sizeHint());
    child->show();
    frame.mdi_area()->setActiveSubWindow(child);
    open_map = map;
}

StationMapWidget* station_map_window() { return open_map; }

}  // namespace corvane::frame
