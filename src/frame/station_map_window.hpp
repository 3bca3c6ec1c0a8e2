// The station map's window: the map of the run as it stands, repainted as soon as the
// selection or the extraction changes; the wheel zooms about the pointer and a drag pans; a
// station's tooltip says what it is and whether the extraction found it; a click on a found
// station opens its series plot. Saved as PNG, SVG or BMP, printed fitted to the page. It may
// be closed and reopened at any time: nothing is lost with it, so it closes without a question.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/station_map_data.hpp"
#include "frame/child_content.hpp"
#include "frame/map_painting.hpp"

namespace corvane::frame {

class StationMapWidget : public QWidget, public ChildContent {
    Q_OBJECT
public:
    using OpenSeries = std::function<void(const app::MapStation&)>;
    using RunSource = std::function<const app::RunData&()>;
    using Tooltip = std::function<QString(const app::MapStation&)>;
    // `run`: the run the map shows, the dialogue's own unless given.
    StationMapWidget(CommandStateCallback command_state, OpenSeries open_series, RunSource run = {});
    // A map of stations known beforehand (the criteria form's result), each with its tooltip.
    StationMapWidget(CommandStateCallback command_state, OpenSeries open_series, app::StationMapData data,
                     Tooltip tooltip);

    // ChildContent: Save and Save As offer PNG, SVG and BMP; Print fits the page.
    void command(int id) override;
    bool may_close() override { return true; }
    void show_command_states() override;

    QSize sizeHint() const override { return {680, 400}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

    const MapView& view() const { return view_; }
    const app::StationMapData& data() const { return data_; }
    MapLayout layout() const;
    // The tooltip at a point of the widget; blank where no station is.
    QString tooltip_at(QPointF point) const;
    // Writes the map as the file's suffix says (png, svg, bmp); false when it failed.
    bool save_picture(const QString& path);
    // Takes up the run as it stands now, if it changed.
    void follow_run();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void save_as();

    CommandStateCallback command_state_;
    OpenSeries open_series_;
    RunSource run_;
    Tooltip tooltip_;
    app::StationMapData data_;
    std::uint64_t revision_ = 0;
    std::map<int, int> years_;  // years of data by station, from the time-series file
    MapView view_;
    std::optional<QPointF> press_;
    MapView view_at_press_;
    bool dragged_ = false;
    QString saved_path_;
    QTimer follow_timer_;
};

}  // namespace corvane::frame
