#include "frame/extract_menu.hpp"

#include <QDir>
#include <QMdiArea>
#include <QMenuBar>
#include <filesystem>
#include <optional>

#include "extract/argument_values.hpp"
#include "extract/table_names.hpp"
#include "extract/table_series.hpp"
#include "ghcn/v2_output_files.hpp"
#include "ghcn/variables.hpp"

#include "frame/child_window.hpp"
#include "frame/criteria_form.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/dialogs.hpp"
#include "frame/extraction_window.hpp"
#include "frame/series_plot.hpp"

namespace corvane::frame {

namespace {

constexpr int extract_popup = 6;  // after the Map menu
constexpr QPoint first_position{60, 30};

namespace fs = std::filesystem;

fs::path output_file(const ExtractionWindow& w, std::string_view name) {
    return fs::absolute(w.choices().out_dir.empty() ? "." : w.choices().out_dir) / name;
}

app::VariableUnit ghcnm_unit(const std::string& variable) {
    if (variable.starts_with("tmax")) return {"Maximum temperature", "degC"};
    if (variable.starts_with("tmin")) return {"Minimum temperature", "degC"};
    return {"Mean temperature", "degC"};
}

// Version 2: the series in the time-series file, by the station number that ends the id.
void open_version2_series(DesktopFrame& frame, const ExtractionWindow& w, int row) {
    const extract::CsvTable& table = w.stations();
    const std::string& id = table.rows[static_cast<std::size_t>(row)][0];
    const std::int32_t choice = std::get<std::int32_t>(extract::parse_variable(w.choices().variable));
    const bool has_failed = !ghcn::variable_files(choice).failed_qc_file.empty();
    const fs::path series = output_file(w, ghcn::series_file_name);
    const app::SeriesReading reading = app::read_station_series(
        series.string(), has_failed ? output_file(w, ghcn::failed_values_file_name).string() : std::string(),
        id.size() > 3 ? std::stoi(id.substr(3)) : -1);
    if (reading.fault != app::SeriesFault::none) {
        show_box(&frame, framework_caption, series_problem_text(reading.fault, from_bytes(series.string())), QMessageBox::Warning);
        return;
    }
    show_series_plot(frame, reading.station, app::variable_unit(choice));
}

// The choices of the frame's last run, which the form shows when it opens again.
class LastChoices : public QObject {
public:
    explicit LastChoices(QObject* frame) : QObject(frame) { setObjectName(QStringLiteral("last criteria")); }
    std::optional<extract::CriteriaChoices> choices;
};

std::optional<extract::CriteriaChoices>& last_choices(DesktopFrame& frame) {
    auto* last = dynamic_cast<LastChoices*>(
        frame.findChild<QObject*>(QStringLiteral("last criteria"), Qt::FindDirectChildrenOnly));
    if (!last) last = new LastChoices(&frame);
    return last->choices;
}

void select_stations_command(int) {
    if (DesktopFrame* frame = DesktopFrame::instance()) open_criteria_form(*frame);
}

}  // namespace

void open_result_series(DesktopFrame& frame, const ExtractionWindow& w, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= w.stations().rows.size()) return;
    if (w.choices().dataset != "v3" && w.choices().dataset != "v4") return open_version2_series(frame, w, row);
    const fs::path values_path = output_file(w, extract::values_csv);
    const std::optional<extract::CsvTable> values = extract::read_csv_file(values_path.string());
    if (!values) {
        show_box(&frame, framework_caption, QStringLiteral("%1 cannot be read.").arg(from_bytes(values_path.string())),
                 QMessageBox::Warning);
        return;
    }
    const extract::CsvTable failed =
        extract::read_csv_file(output_file(w, extract::failed_values_csv).string()).value_or(extract::CsvTable{});
    show_series_plot(frame, extract::table_series(w.stations(), row, *values, failed), ghcnm_unit(w.choices().variable));
}

void add_extract_menu(DesktopFrame& frame) {
    frame.insert_menu_item(extract_popup, 0, 0, QStringLiteral("E&xtract"), nullptr);
    const int popup = std::min<int>(extract_popup, static_cast<int>(frame.menuBar()->actions().size()));
    frame.append_menu_item(popup, 0, QStringLiteral("&Select stations…"), select_stations_command);
}

CriteriaForm* open_criteria_form(DesktopFrame& frame) {
    auto* form = new CriteriaForm(QDir::currentPath(), &frame);
    form->setAttribute(Qt::WA_DeleteOnClose);
    if (const auto& last = last_choices(frame)) form->set_choices(*last);
    QObject::connect(form, &QDialog::accepted, &frame, [&frame, form] {
        last_choices(frame) = form->choices();
        run_criteria(frame, *last_choices(frame));
    });
    form->open();
    return form;
}

ExtractionWindow* run_criteria(DesktopFrame& frame, const extract::CriteriaChoices& choices) {
    auto* window = new ExtractionWindow(
        choices, [&frame](int id, bool enabled) { frame.enable_command(id, enabled); },
        [&frame](const ExtractionWindow& w, int row) { open_result_series(frame, w, row); });
    auto* child = new ChildWindow(window, *window);
    child->setWindowTitle(QStringLiteral("Stations: %1").arg(QString::fromStdString(choices.variable)));
    child->setWindowIcon(frame.windowIcon());
    frame.mdi_area()->addSubWindow(child);
    const int open = static_cast<int>(frame.mdi_area()->subWindowList().size());
    child->move(first_position + QPoint(20, 20) * (open % 5));
    const QSize room = frame.mdi_area()->viewport()->size() - QSize(child->x(), child->y());
    child->resize(window->sizeHint().boundedTo(room.expandedTo(QSize(480, 300))));
    child->show();
    frame.mdi_area()->setActiveSubWindow(child);
    window->start();
    return window;
}

}  // namespace corvane::frame
