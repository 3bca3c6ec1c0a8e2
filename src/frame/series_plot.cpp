#include "frame/series_plot.hpp"

#include <QApplication>
#include <QFile>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMdiArea>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

#include "console/text_window_view.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/dialogs.hpp"
#include "frame/picture_files.hpp"
#include "ghcn/v2_output_files.hpp"
#include "ghcn/variables.hpp"

namespace corvane::frame {

namespace {

const QColor part_colours[] = {QColor(40, 90, 170), QColor(120, 150, 60), QColor(150, 90, 160), QColor(90, 160, 170)};
const QColor mean_colour(20, 20, 20);
const QColor failed_colour(220, 30, 30);
const QStringList plot_filters{QStringLiteral("PNG Image (*.png)"), QStringLiteral("SVG Image (*.svg)"),
                               QStringLiteral("CSV Files (*.csv)")};

double month_time(int year, int month) { return year + (month - 0.5) / 12.0; }

// Adds the runs of `points` (nothing: a gap) as line series of one look; only the first
// run shows in the legend, and none unless `in_legend`. A run of one point is a dot.
void add_runs(QChart* chart, const std::vector<std::optional<QPointF>>& points, const QString& name, const QPen& pen,
              bool points_visible = false, bool in_legend = true) {
    QLineSeries* run = nullptr;
    bool first = in_legend;
    const auto end_run = [&run] {
        if (run && run->count() == 1) run->setPointsVisible(true);
        run = nullptr;
    };
    for (const std::optional<QPointF>& p : points) {
        if (!p) {
            end_run();
            continue;
        }
        if (!run) {
            run = new QLineSeries(chart);
            run->setName(name);
            run->setPen(pen);
            run->setPointsVisible(points_visible);
            run->setMarkerSize(3);
            chart->addSeries(run);
            if (!first) chart->legend()->markers(run).constFirst()->setVisible(false);
            first = false;
        }
        run->append(*p);
    }
    end_run();
}

std::vector<std::optional<QPointF>> monthly_points(const app::StationSeriesPart& part, int per_unit) {
    std::vector<std::optional<QPointF>> points;
    int last_year = 0;
    for (const app::SeriesYear& y : part.years) {
        if (last_year && y.year != last_year + 1) points.emplace_back();  // years without a line
        last_year = y.year;
        for (int m = 0; m < app::months_in_year; ++m) {
            const std::optional<double> v = app::physical_value(y.values[static_cast<std::size_t>(m)], per_unit);
            points.push_back(v ? std::optional<QPointF>(QPointF(month_time(y.year, m + 1), *v)) : std::nullopt);
        }
    }
    return points;
}

std::vector<std::optional<QPointF>> annual_points(const app::StationSeriesPart& part, int per_unit) {
    std::vector<std::optional<QPointF>> points;
    int last_year = 0;
    for (const app::SeriesYear& y : part.years) {
        if (last_year && y.year != last_year + 1) points.emplace_back();
        last_year = y.year;
        const std::optional<double> mean = app::annual_mean(y, per_unit);
        points.push_back(mean ? std::optional<QPointF>(QPointF(y.year + 0.5, *mean)) : std::nullopt);
    }
    return points;
}

QString part_name(const app::StationSeriesPart& part, std::size_t index) {
    return part.duplicate ? QStringLiteral("Duplicate %1").arg(index) : QStringLiteral("Monthly values");
}

void add_failed(QChart* chart, const app::StationSeries& station) {
    if (station.failed.empty()) return;
    auto* failed = new QScatterSeries(chart);
    failed->setName(QStringLiteral("Failed QC (%1)").arg(station.failed.size()));
    failed->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    failed->setMarkerSize(7);
    failed->setColor(failed_colour);
    failed->setBorderColor(failed_colour);
    for (const app::FailedValue& f : station.failed) failed->append(month_time(f.year, f.month), f.value / static_cast<double>(station.per_unit));
    chart->addSeries(failed);
}

// The smallest rectangle around every point of the chart's series.
QRectF data_bounds(QChart* chart) {
    QRectF bounds;
    for (QAbstractSeries* s : chart->series()) {
        for (const QPointF& p : static_cast<QXYSeries*>(s)->points()) {
            bounds = bounds.isNull() ? QRectF(p, QSizeF(1e-9, 1e-9)) : bounds.united(QRectF(p, QSizeF(1e-9, 1e-9)));
        }
    }
    return bounds;
}

void add_axes(QChart* chart, const app::VariableUnit& unit) {
    const QRectF bounds = data_bounds(chart);
    auto* years = new QValueAxis(chart);
    years->setTitleText(QStringLiteral("Year"));
    years->setLabelFormat(QStringLiteral("%d"));
    auto* values = new QValueAxis(chart);
    values->setTitleText(QStringLiteral("%1 (%2)").arg(QString::fromStdString(unit.quantity), QString::fromStdString(unit.unit)));
    chart->addAxis(years, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(years);
        s->attachAxis(values);
    }
    years->setRange(std::floor(bounds.left()), std::ceil(bounds.right()));
    values->setRange(bounds.top() - 0.5, bounds.bottom() + 0.5);
    values->applyNiceNumbers();
    // Whole years on the time axis, at most about eight labels.
    const double span = std::max(1.0, years->max() - years->min());
    double step = 1;
    for (double nice : {1, 2, 5, 10, 20, 25, 50, 100}) {
        step = nice;
        if (span / nice <= 8) break;
    }
    years->setTickType(QValueAxis::TicksDynamic);
    years->setTickAnchor(std::floor(years->min() / step) * step);
    years->setTickInterval(step);
}

QString series_identifier(const app::StationSeries& station) {
    if (!station.identifier.empty()) return QString::fromStdString(station.identifier);
    return QStringLiteral("%1%2").arg(station.country, 3, 10, QLatin1Char('0')).arg(station.station_id, 8, 10, QLatin1Char('0'));
}

int years_in(const app::StationSeries& station) {
    std::size_t years = 0;
    for (const app::StationSeriesPart& p : station.parts) years = std::max(years, p.years.size());
    return static_cast<int>(years);
}

}  // namespace

QChart* build_series_chart(const app::StationSeries& station, const app::VariableUnit& unit) {
    auto* chart = new QChart();
    chart->setTitle(QStringLiteral("%1 (%2), %3 m: %4, %5 years")
                        .arg(QString::fromStdString(station.name))
                        .arg(series_identifier(station))
                        .arg(station.elevation)
                        .arg(QString::fromStdString(unit.quantity).toLower())
                        .arg(years_in(station)));
    for (std::size_t i = 0; i < station.parts.size(); ++i) {
        const QColor colour = part_colours[i % std::size(part_colours)];
        add_runs(chart, monthly_points(station.parts[i], station.per_unit), part_name(station.parts[i], i), QPen(colour, 1));
    }
    for (std::size_t i = 0; i < station.parts.size(); ++i)
        add_runs(chart, annual_points(station.parts[i], station.per_unit), QStringLiteral("Annual mean"), QPen(mean_colour, 1.8), true, i == 0);
    add_failed(chart, station);
    add_axes(chart, unit);
    // Several series make a legend too long for a line under the plot.
    chart->legend()->setAlignment(station.parts.size() > 1 ? Qt::AlignRight : Qt::AlignBottom);
    chart->legend()->setShowToolTips(true);
    return chart;
}

SeriesPlotWidget::SeriesPlotWidget(app::StationSeries station, const app::VariableUnit& unit,
                                   CommandStateCallback command_state)
    : QChartView(build_series_chart(station, unit)), station_(std::move(station)), command_state_(std::move(command_state)) {
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName(QStringLiteral("Series plot of %1").arg(QString::fromStdString(station_.name)));
}

// The chart lays out its series from posted events; a picture taken right after a resize
// would miss them.
void SeriesPlotWidget::paint_picture(QPainter& painter, const QRectF& area) {
    QCoreApplication::sendPostedEvents();
    painter.setRenderHint(QPainter::Antialiasing);
    render(&painter, area, rect());
}

bool SeriesPlotWidget::save_file(const QString& path) {
    const QString kind = file_kind(path);
    const PaintRoutine paint = [this](QPainter& p, const QRectF& area) { paint_picture(p, area); };
    if (kind == QStringLiteral("svg"))
        return save_svg(path, size(), QStringLiteral("Series of %1").arg(QString::fromStdString(station_.name)), paint);
    if (kind == QStringLiteral("csv")) {
        QFile file(path);
        const std::string csv = app::series_csv(station_);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
    }
    return save_png(path, size(), paint);
}

void SeriesPlotWidget::save_as() {
    const QString initial = saved_path_.isEmpty() ? QStringLiteral("series-%1.png")
                                                        .arg(station_.identifier.empty() ? QString::number(station_.station_id)
                                                                                         : QString::fromStdString(station_.identifier)) : saved_path_;
    const std::optional<QString> chosen = choose_picture_file(plot_filters, initial);
    if (!chosen) return;
    saved_path_ = *chosen;
    if (!save_file(saved_path_)) say_not_written(this, saved_path_);
}

void SeriesPlotWidget::command(int id) {
    switch (id) {
        case console::command_save:
            if (saved_path_.isEmpty()) return save_as();
            if (!save_file(saved_path_)) say_not_written(this, saved_path_);
            return;
        case console::command_save_as: return save_as();
        case console::command_print:
            return print_fitted(this, windowTitle(), size(), [this](QPainter& p, const QRectF& area) { paint_picture(p, area); });
        case console::command_font:
        case console::command_colour: QApplication::beep(); return;
        default: return;
    }
}

void SeriesPlotWidget::show_command_states() {
    command_state_(console::command_save, true);
    for (int id : {console::command_cut, console::command_copy, console::command_delete}) command_state_(id, false);
}

namespace {

QString series_problem(app::SeriesFault fault) {
    switch (fault) {
        case app::SeriesFault::no_series_file: return QStringLiteral("The time-series file %1 is not there.");
        case app::SeriesFault::station_not_in_file: return QStringLiteral("The time-series file %1 holds no series of this station.");
        case app::SeriesFault::unreadable_line: return QStringLiteral("A line of this station in %1 or the failed-values file cannot be read.");
        case app::SeriesFault::none: break;
    }
    return {};
}

}  // namespace

void show_series_plot(DesktopFrame& frame, app::StationSeries series, const app::VariableUnit& unit) {
    for (QMdiSubWindow* open : frame.mdi_area()->subWindowList()) {
        auto* plot = qobject_cast<SeriesPlotWidget*>(open->widget());
        if (plot && plot->station().station_id == series.station_id && plot->station().identifier == series.identifier) {
            frame.mdi_area()->setActiveSubWindow(open);
            return;
        }
    }
    const QString title = QStringLiteral("Series %1").arg(QString::fromStdString(series.name));
    auto* plot = new SeriesPlotWidget(std::move(series), unit,
                                      [&frame](int id, bool enabled) { frame.enable_command(id, enabled); });
    auto* child = new ChildWindow(plot, *plot);
    child->setWindowTitle(title);
    frame.mdi_area()->addSubWindow(child);
    child->resize(plot->sizeHint());
    child->show();
    frame.mdi_area()->setActiveSubWindow(child);
}

QString series_problem_text(app::SeriesFault fault, const QString& file) { return series_problem(fault).arg(file); }

void open_series_plot(DesktopFrame& frame, const app::MapStation& station, int variable_choice) {
    // A variable without failed-QC values has no failed-values file of its own: one in the
    // directory is left from another run.
    const bool has_failed_values = variable_choice >= ghcn::first_variable && variable_choice <= ghcn::last_variable &&
                                   !ghcn::variable_files(variable_choice).failed_qc_file.empty();
    const app::SeriesReading reading = app::read_station_series(
        std::string(ghcn::series_file_name),
        has_failed_values ? std::string(ghcn::failed_values_file_name) : std::string(), station.id);
    if (reading.fault != app::SeriesFault::none) {
        show_box(&frame, framework_caption, series_problem(reading.fault).arg(from_bytes(ghcn::series_file_name)),
                 QMessageBox::Warning);
        return;
    }
    show_series_plot(frame, reading.station, app::variable_unit(variable_choice));
}

}  // namespace corvane::frame
