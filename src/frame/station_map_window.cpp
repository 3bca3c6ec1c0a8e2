#include "frame/station_map_window.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "app/dialogue.hpp"
#include "app/station_series.hpp"
#include "console/bitmap_file.hpp"
#include "console/text_window_view.hpp"
#include "frame/dialogs.hpp"
#include "frame/graphics_window.hpp"
#include "frame/picture_files.hpp"

namespace corvane::frame {

namespace {

constexpr int follow_interval_ms = 250;
constexpr double wheel_step = 1.25;  // zoom factor of one notch
constexpr double drag_threshold = 4;
constexpr double station_reach = 8;

const QStringList picture_filters{QStringLiteral("PNG Image (*.png)"), QStringLiteral("SVG Image (*.svg)"),
                                  QStringLiteral("BitMap Files (*.bmp)")};

}  // namespace

StationMapWidget::StationMapWidget(CommandStateCallback command_state, OpenSeries open_series, RunSource run)
    : command_state_(std::move(command_state)), open_series_(std::move(open_series)), run_(std::move(run)) {
    if (!run_) run_ = []() -> const app::RunData& { return app::current_run(); };
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Station map"));
    follow_run();
    // The dialogue changes the run between events; the map looks at it a few times a second.
    connect(&follow_timer_, &QTimer::timeout, this, &StationMapWidget::follow_run);
    follow_timer_.start(follow_interval_ms);
}

StationMapWidget::StationMapWidget(CommandStateCallback command_state, OpenSeries open_series,
                                   app::StationMapData data, Tooltip tooltip)
    : command_state_(std::move(command_state)), open_series_(std::move(open_series)), tooltip_(std::move(tooltip)),
      data_(std::move(data)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Station map"));
}

void StationMapWidget::follow_run() {
    if (!run_) return;  // a map of fixed stations
    const app::RunData& run = run_();
    const std::uint64_t revision = app::map_revision(run);
    if (revision == revision_) return;
    app::StationMapData data = app::station_map_data(run);
    if (data.centre_lon != data_.centre_lon) view_ = {};  // a new centre: the whole globe again
    data_ = std::move(data);
    revision_ = revision;
    years_ = run.found_count > 0 ? app::years_of_data(std::string(ghcn::series_file_name)) : std::map<int, int>{};
    update();
}

MapLayout StationMapWidget::layout() const {
    return map_layout(QRectF(rect()), view_, data_.centre_lon, logicalDpiY() / 96.0);
}

void StationMapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint_map(painter, QRectF(rect()), data_, view_);
}

void StationMapWidget::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    view_ = zoomed(view_, layout(), event->position(), std::pow(wheel_step, notches));
    update();
    event->accept();
}

void StationMapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    press_ = event->position();
    view_at_press_ = view_;
    dragged_ = false;
}

void StationMapWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!press_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPointF delta = event->position() - *press_;
    if (!dragged_ && std::hypot(delta.x(), delta.y()) < drag_threshold) return;
    dragged_ = true;
    setCursor(Qt::ClosedHandCursor);
    view_ = panned(view_at_press_, map_layout(QRectF(rect()), view_at_press_, data_.centre_lon, logicalDpiY() / 96.0), delta);
    update();
}

// A click that did not drag opens the series of the station under it, if it has one.
void StationMapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !press_) return QWidget::mouseReleaseEvent(event);
    press_.reset();
    unsetCursor();
    if (dragged_) return;
    const std::optional<std::size_t> hit = station_near(layout(), data_, event->position(), station_reach);
    if (!hit) return;
    if (data_.stations[*hit].state == app::StationState::found && open_series_) open_series_(data_.stations[*hit]);
    else QApplication::beep();
}

QString StationMapWidget::tooltip_at(QPointF point) const {
    const std::optional<std::size_t> hit = station_near(layout(), data_, point, station_reach);
    if (!hit) return {};
    const app::MapStation& s = data_.stations[*hit];
    if (tooltip_) return tooltip_(s);
    const auto years = years_.find(s.id);
    return QString::fromLatin1(app::station_summary(s, years == years_.end() ? 0 : years->second).c_str());
}

bool StationMapWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = tooltip_at(help->pos());
    if (text.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), text, this);
    return true;
}

bool StationMapWidget::save_picture(const QString& path) {
    const QString kind = file_kind(path);
    const PaintRoutine paint = [this](QPainter& p, const QRectF& area) { paint_map(p, area, data_, view_); };
    if (kind == QStringLiteral("svg")) return save_svg(path, size(), QStringLiteral("Station map"), paint);
    if (kind == QStringLiteral("bmp")) {
        repaint();
        return !console::write_bitmap_file(to_path(path), capture_bitmap(*this));
    }
    return save_png(path, size(), paint);
}

void StationMapWidget::save_as() {
    const QString initial = saved_path_.isEmpty() ? QStringLiteral("station-map.png") : saved_path_;
    const std::optional<QString> chosen = choose_picture_file(picture_filters, initial);
    if (!chosen) return;
    saved_path_ = *chosen;
    if (!save_picture(saved_path_)) say_not_written(this, saved_path_);
}

void StationMapWidget::command(int id) {
    switch (id) {
        case console::command_save:
            if (saved_path_.isEmpty()) return save_as();
            if (!save_picture(saved_path_)) say_not_written(this, saved_path_);
            return;
        case console::command_save_as: return save_as();
        case console::command_print:
            return print_fitted(this, QStringLiteral("Station map"), size(),
                                [this](QPainter& p, const QRectF& area) { paint_map(p, area, data_, view_); });
        case console::command_font:
        case console::command_colour: QApplication::beep(); return;
        default: return;
    }
}

void StationMapWidget::show_command_states() {
    command_state_(console::command_save, true);
    for (int id : {console::command_cut, console::command_copy, console::command_delete}) command_state_(id, false);
}

}  // namespace corvane::frame
