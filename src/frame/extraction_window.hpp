// The run of the criteria form and its result, in one child window: while the extraction
// runs, a progress bar (the bytes it has read of the data set) and Cancel; then the
// stations of its stations.csv in a table that sorts by any column, beside the map of the
// stations. A row, or a station on the map, opens that station's series plot. What the run
// said last (its summary, or why it stopped) stands above the table; a run that failed
// says so in a box as well. Closing the window cancels a run still going.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "extract/criteria_choices.hpp"
#include "extract/csv_reading.hpp"
#include "extract/extraction_process.hpp"
#include "frame/child_content.hpp"

class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QSplitter;
class QStandardItemModel;
class QTableView;
class QTimer;

namespace corvane::frame {

class ExtractionWorker;
class StationMapWidget;

class ExtractionWindow : public QWidget, public ChildContent {
    Q_OBJECT
public:
    // Opens the series plot of the station in row `row` of the run's stations.csv.
    using OpenStation = std::function<void(const ExtractionWindow& window, int row)>;

    ExtractionWindow(extract::CriteriaChoices choices, CommandStateCallback command_state, OpenStation open_station);
    ~ExtractionWindow() override;

    void start();
    void cancel();
    bool running() const;

    void command(int id) override;
    bool may_close() override;
    void show_command_states() override;
    QSize sizeHint() const override { return {1320, 600}; }

    const extract::CriteriaChoices& choices() const { return choices_; }
    const std::optional<extract::ExtractionOutcome>& outcome() const { return outcome_; }
    const extract::CsvTable& stations() const { return stations_; }
    QTableView* table() const { return table_; }
    QProgressBar* progress() const { return progress_; }
    QPushButton* cancel_button() const { return cancel_; }
    QString status_text() const;
    StationMapWidget* map() const { return map_; }
    // The box that says why a run failed, while it is open.
    QMessageBox* error_box() const { return error_box_; }
    // The row of stations.csv shown at a row of the (sorted) table.
    int station_row(int table_row) const;

signals:
    void run_ended();

private:
    void finish(const extract::ExtractionOutcome& outcome);
    void show_progress();
    void show_stations();
    void say_failure(const extract::ExtractionOutcome& outcome);

    extract::CriteriaChoices choices_;
    CommandStateCallback command_state_;
    OpenStation open_station_;
    ExtractionWorker* worker_ = nullptr;
    std::uint64_t bytes_to_read_ = 0;
    std::optional<extract::ExtractionOutcome> outcome_;
    extract::CsvTable stations_;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QTableView* table_ = nullptr;
    StationMapWidget* map_ = nullptr;
    QTimer* progress_timer_ = nullptr;
    QPointer<QMessageBox> error_box_;
};

}  // namespace corvane::frame
