// A station's series plot: a window per station with its monthly values (a line broken at
// every missing month), the annual mean of each complete year, and the values that failed
// quality control marked, on axes in the variable's physical unit. Saved as PNG, SVG or CSV
// (the values behind it), printed fitted to the page; closes without a question, since the
// map opens it again from the extraction's files.
#pragma once

#include <QChartView>

#include "app/station_series.hpp"
#include "frame/child_content.hpp"

namespace corvane::frame {

class DesktopFrame;

// The chart of a station's series.
QChart* build_series_chart(const app::StationSeries& station, const app::VariableUnit& unit);

class SeriesPlotWidget : public QChartView, public ChildContent {
    Q_OBJECT
public:
    SeriesPlotWidget(app::StationSeries station, const app::VariableUnit& unit, CommandStateCallback command_state);

    void command(int id) override;
    bool may_close() override { return true; }
    void show_command_states() override;
    QSize sizeHint() const override { return {640, 380}; }
    QSize minimumSizeHint() const override { return {260, 180}; }

    int station_id() const { return station_.station_id; }
    const app::StationSeries& station() const { return station_; }
    // Writes the plot (png, svg) or its values (csv) as the suffix says; false when it failed.
    bool save_file(const QString& path);

private:
    void save_as();
    void paint_picture(QPainter& painter, const QRectF& area);

    app::StationSeries station_;
    CommandStateCallback command_state_;
    QString saved_path_;
};

// The plot of `station` read from the extraction's files in the current directory, in the
// unit of variable `variable_choice`: an open plot of the station comes to the front, else a
// new window opens. A station whose series cannot be read is said in a box.
void open_series_plot(DesktopFrame& frame, const app::MapStation& station, int variable_choice);

// The plot of a series read elsewhere, in a new window (an open plot of the same station
// comes to the front instead).
void show_series_plot(DesktopFrame& frame, app::StationSeries series, const app::VariableUnit& unit);

// `problem` with the file's name, as the plot's box says it.
QString series_problem_text(app::SeriesFault fault, const QString& file);

}  // namespace corvane::frame
