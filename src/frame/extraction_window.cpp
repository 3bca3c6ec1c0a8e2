#include "frame/extraction_window.hpp"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "console/text_window_view.hpp"
#include "extract/report.hpp"
#include "extract/result_map.hpp"
#include "extract/table_names.hpp"
#include "frame/dialogs.hpp"
#include "frame/extraction_worker.hpp"
#include "frame/station_map_window.hpp"

namespace corvane::frame {

namespace {

namespace fs = std::filesystem;

constexpr int sort_role = Qt::UserRole;
constexpr int row_role = Qt::UserRole + 1;
constexpr int progress_interval_ms = 100;
constexpr int progress_steps = 1000;

QString qt(const std::string& text) { return QString::fromStdString(text); }

// A line of the run without the program's name in front.
QString said(const std::string& line) {
    const std::string front = std::string(extract::program_name) + ": ";
    return qt(line.starts_with(front) ? line.substr(front.size()) : line);
}

fs::path folder_of(const std::string& dir) { return fs::absolute(dir.empty() ? "." : dir); }

// Where the outputs named by a path of their own go, beside the output folder.
std::vector<fs::path> placed_dirs(const extract::CriteriaChoices& c) {
    std::vector<fs::path> dirs;
    for (const std::string& file : {c.netcdf, c.geojson}) {
        if (!file.empty()) dirs.push_back(fs::absolute(file).parent_path());
    }
    return dirs;
}

// A cell that sorts by number where it holds one (an empty one first), else by text.
QStandardItem* cell(const std::string& text) {
    auto* item = new QStandardItem(qt(text));
    item->setEditable(false);
    bool number = false;
    const double value = qt(text).toDouble(&number);
    if (number) {
        item->setData(value, sort_role);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
        item->setData(text.empty() ? QVariant(-1e300) : QVariant(qt(text)), sort_role);
    }
    return item;
}

QString station_tooltip(const extract::CsvTable& table, int row) {
    QString text;
    const std::vector<std::string>& fields = table.rows[static_cast<std::size_t>(row)];
    for (std::size_t c = 0; c < table.header.size() && c < fields.size(); ++c)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + qt(table.header[c]) + QStringLiteral(": ") + qt(fields[c]);
    return text;
}

}  // namespace

ExtractionWindow::ExtractionWindow(extract::CriteriaChoices choices, CommandStateCallback command_state,
                                   OpenStation open_station)
    : choices_(extract::with_absolute_paths(std::move(choices))), command_state_(std::move(command_state)), open_station_(std::move(open_station)) {
    status_ = new QLabel(QStringLiteral("Working…"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    progress_ = new QProgressBar;
    progress_->setRange(0, progress_steps);
    progress_->setMinimumWidth(240);
    progress_->setMaximumWidth(320);
    progress_->setFormat(QStringLiteral("Read %p%"));
    progress_->setAccessibleName(QStringLiteral("Progress"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    connect(cancel_, &QPushButton::clicked, this, &ExtractionWindow::cancel);
    auto* top = new QHBoxLayout;
    top->addWidget(status_, 1);
    top->addWidget(progress_);
    top->addWidget(cancel_);

    model_ = new QStandardItemModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(sort_role);
    table_ = new QTableView;
    table_->setModel(sorted_);
    // Rows stay in the file's order (nearest first with a place) until a header is clicked.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setAccessibleName(QStringLiteral("Stations"));
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
        if (open_station_) open_station_(*this, station_row(index.row()));
    });
    splitter_ = new QSplitter;
    splitter_->addWidget(table_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter_, 1);
    setAccessibleName(QStringLiteral("Selected stations"));

    progress_timer_ = new QTimer(this);
    connect(progress_timer_, &QTimer::timeout, this, &ExtractionWindow::show_progress);
}

ExtractionWindow::~ExtractionWindow() = default;

void ExtractionWindow::start() {
    bytes_to_read_ = extract::bytes_to_read(choices_);
    worker_ = new ExtractionWorker(extract::command_words(choices_), folder_of(choices_.out_dir), placed_dirs(choices_), this);
    connect(worker_, &ExtractionWorker::finished, this, &ExtractionWindow::finish);
    if (bytes_to_read_ == 0) progress_->setRange(0, 0);  // busy, without a measure
    progress_timer_->start(progress_interval_ms);
    worker_->start();
}

void ExtractionWindow::cancel() {
    if (!running()) return;
    status_->setText(QStringLiteral("Cancelling…"));
    cancel_->setEnabled(false);
    worker_->cancel();
}

bool ExtractionWindow::running() const { return worker_ && worker_->running(); }

void ExtractionWindow::show_progress() {
    if (!running() || bytes_to_read_ == 0) return;
    const double done = static_cast<double>(worker_->bytes_read()) / static_cast<double>(bytes_to_read_);
    // The end is shown when the run has ended, not when its reading has.
    progress_->setValue(static_cast<int>(std::min(done, 0.99) * progress_steps));
}

void ExtractionWindow::finish(const extract::ExtractionOutcome& outcome) {
    outcome_ = outcome;
    progress_timer_->stop();
    progress_->setRange(0, progress_steps);
    progress_->setValue(outcome.status == 0 ? progress_steps : 0);
    progress_->setFormat(outcome.status == 0 ? QStringLiteral("Done") : QStringLiteral("Stopped"));
    cancel_->setEnabled(false);
    if (outcome.cancelled) {
        status_->setText(QStringLiteral("Cancelled: no file of this run was left unfinished."));
    } else if (outcome.status != 0) {
        say_failure(outcome);
    } else {
        status_->setText(outcome.messages.empty() ? QStringLiteral("Finished.") : said(outcome.messages.back()));
        show_stations();
        if (stations_.header.empty())
            status_->setText(status_->text() + QStringLiteral(" The table shows stations.csv, which version 2 writes with its tables."));
    }
    emit run_ended();
}

// Everything the run said, in a box that does not hold up the frame.
void ExtractionWindow::say_failure(const extract::ExtractionOutcome& outcome) {
    QString text;
    for (const std::string& line : outcome.messages) text += qt(line) + QLatin1Char('\n');
    if (!outcome.failure.empty()) text += qt(outcome.failure) + QLatin1Char('\n');
    if (outcome.status >= 0) text += QStringLiteral("Exit status %1.").arg(outcome.status);
    else text += QStringLiteral("The extraction ended without an exit status.");
    status_->setText(outcome.messages.empty() ? QStringLiteral("The extraction failed.") : said(outcome.messages.back()));
    error_box_ = new QMessageBox(QMessageBox::Warning, QStringLiteral("Select stations"), text, QMessageBox::Ok, this);
    error_box_->setAttribute(Qt::WA_DeleteOnClose);
    error_box_->open();
}

void ExtractionWindow::show_stations() {
    const fs::path file = folder_of(choices_.out_dir) / extract::stations_csv;
    stations_ = extract::read_csv_file(file.string()).value_or(extract::CsvTable{});
    model_->clear();
    QStringList header;
    for (const std::string& name : stations_.header) header << qt(name);
    model_->setHorizontalHeaderLabels(header);
    for (std::size_t r = 0; r < stations_.rows.size(); ++r) {
        QList<QStandardItem*> row;
        for (const std::string& field : stations_.rows[r]) row << cell(field);
        row.front()->setData(static_cast<int>(r), row_role);
        model_->appendRow(row);
    }
    table_->resizeColumnsToContents();
    // The country's code begins the identifier; its name says it better.
    if (stations_.column("country_name") >= 0 && stations_.column("country_code") >= 0)
        table_->hideColumn(stations_.column("country_code"));
    // Stations near a place are listed nearest first: their distance comes after the name.
    if (const int distance = stations_.column("distance_km"); distance >= 0 && stations_.column("name") >= 0)
        table_->horizontalHeader()->moveSection(distance, stations_.column("name") + 1);
    map_ = new StationMapWidget(
        command_state_,
        [this](const app::MapStation& s) {
            if (open_station_) open_station_(*this, s.id);
        },
        extract::result_map_data(choices_, stations_),
        [this](const app::MapStation& s) { return station_tooltip(stations_, s.id); });
    splitter_->addWidget(map_);
    // The table as wide as its columns need, within seven tenths of the window.
    int columns = 0;
    for (int c = 0; c < model_->columnCount(); ++c) columns += table_->isColumnHidden(c) ? 0 : table_->columnWidth(c);
    const int table_width = std::min(columns + 24, width() * 7 / 10);
    splitter_->setSizes({table_width, width() - table_width});
}

int ExtractionWindow::station_row(int table_row) const {
    return sorted_->index(table_row, 0).data(row_role).toInt();
}

QString ExtractionWindow::status_text() const { return status_->text(); }

void ExtractionWindow::command(int id) {
    if (id == console::command_font || id == console::command_colour) QApplication::beep();
}

bool ExtractionWindow::may_close() {
    cancel();
    return true;
}

void ExtractionWindow::show_command_states() {
    for (int id : {console::command_save, console::command_cut, console::command_copy, console::command_delete})
        command_state_(id, false);
}

}  // namespace corvane::frame
