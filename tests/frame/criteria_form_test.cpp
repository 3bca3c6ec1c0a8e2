// The criteria form in a frame of its own: a version 4 run with several criteria and every
// output, filled in as typed and run on the worker, writes the files corvane-extract writes
// for the same words, byte for byte; its table sorts and a row opens the station's plot. A
// refused value disables Run and stands beside its field in the command line's words; the
// form opens again with the last run's choices; a run that fails says why in a box, and a
// cancelled one leaves nothing.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "frame/criteria_form.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/extract_menu.hpp"
#include "frame/extraction_window.hpp"
#include "frame/extraction_worker.hpp"
#include "frame/series_plot.hpp"
#include "frame/station_map_window.hpp"
#include "program_run.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using frame::CriteriaForm;
using frame::DesktopFrame;
using frame::ExtractionWindow;

const fs::path v4_sample = fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v4-sample";

struct FormSession {
    FormSession() {
        drop_console_units();
        frame.start();
        frame::set_extraction_program(QStringLiteral(CORVANE_DESKTOP_PROGRAM));
        frame::add_extract_menu(frame);
    }
    ~FormSession() { drop_console_units(); }
    CriteriaForm* form() {
        CriteriaForm* f = frame::open_criteria_form(frame);
        type(f, "--data-dir", v4_sample.string(), true);
        return f;
    }
    void type(CriteriaForm* f, const std::string& option, const std::string& text, bool replace = false) {
        QLineEdit* edit = f->field(option);
        if (replace) edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    ExtractionWindow* extraction_window() {
        for (QMdiSubWindow* child : frame.mdi_area()->subWindowList())
            if (auto* w = qobject_cast<ExtractionWindow*>(child->widget())) return w;
        return nullptr;
    }

    ScratchDirectory dir;
    DesktopFrame frame{QStringLiteral("corvane")};
};

std::set<std::string> names_in(const fs::path& dir) {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
    return names;
}

// The netCDF file's history names this time in every run, not the time of each.
struct FixedHistoryTime {
    FixedHistoryTime() { ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
    ~FixedHistoryTime() { ::unsetenv("SOURCE_DATE_EPOCH"); }
};

TEST(CriteriaForm, ARunWritesWhatCorvaneExtractWritesForTheSameCriteria) {
    FormSession s;
    const FixedHistoryTime fixed;
    const fs::path out = fs::path(s.dir.path()) / "out";
    fs::create_directories(out);
    CriteriaForm* form = s.form();
    ASSERT_EQ(form->variable_box()->currentText(), QStringLiteral("tavg (version 4)"));
    s.type(form, "--box", "80,-80,-120,120");  // across 180°
    s.type(form, "--elevation", "-100,3000");
    form->check_box("--missing-elevation")->setChecked(true);
    s.type(form, "--years", "1995:2020");
    s.type(form, "--min-years", "2");
    s.type(form, "--min-months", "6");
    form->qc_box()->setCurrentIndex(1);  // keep
    s.type(form, "--out-dir", out.string(), true);
    s.type(form, "--netcdf", (out / "series.nc").string());
    s.type(form, "--geojson", (out / "stations.geojson").string());
    form->check_box("--annual")->setChecked(true);
    s.type(form, "--anomalies", "1998:2005");
    s.type(form, "--base-min-years", "2");
    ASSERT_TRUE(form->run_button()->isEnabled()) << form->general_reason().toStdString();
    std::vector<std::string> words = form->command_words();

    form->run_button()->click();
    ExtractionWindow* window = s.extraction_window();
    ASSERT_NE(window, nullptr);
    QSignalSpy ended(window, &ExtractionWindow::run_ended);
    ASSERT_TRUE(ended.wait(30000));
    ASSERT_EQ(window->outcome()->status, 0) << window->status_text().toStdString();
    EXPECT_EQ(window->table()->model()->rowCount(), 12);

    fs::rename(out, fs::path(s.dir.path()) / "form");
    fs::create_directories(out);
    // Under the name the form's run gives itself, which the netCDF file's history records.
    fs::create_symlink(CORVANE_EXTRACT_PROGRAM, "corvane-extract");
    const RunResult command = run_program("corvane-extract", words);
    ASSERT_EQ(command.status, 0) << command.err;
    const std::set<std::string> written = names_in(out);
    EXPECT_EQ(names_in(fs::path(s.dir.path()) / "form"), written);
    EXPECT_EQ(written.size(), 9u);
    // The manifest's times differ; its counts and criteria do not.
    const auto counts_and_criteria = [](const fs::path& dir) {
        const std::string manifest = read_file((dir / "manifest.json").string());
        const std::size_t from = manifest.find("\"counts\"");
        if (from == std::string::npos) return std::string();
        return manifest.substr(from, manifest.find('}', manifest.find("\"criteria\"")) - from);
    };
    EXPECT_FALSE(counts_and_criteria(out).empty());
    EXPECT_EQ(counts_and_criteria(fs::path(s.dir.path()) / "form"), counts_and_criteria(out));
    for (const std::string& name : written) {
        if (name == "manifest.json") continue;
        EXPECT_EQ(read_file((fs::path(s.dir.path()) / "form" / name).string()), read_file((out / name).string()))
            << name;
    }
    EXPECT_EQ(window->status_text().toStdString() + "\n", command.err.substr(command.err.find(' ') + 1));

    // The map shows the table's stations, each with its row's fields as its tooltip.
    const app::MapStation& on_map = window->map()->data().stations.at(0);
    const frame::MapLayout layout = window->map()->layout();
    const QString tip = window->map()->tooltip_at(QPointF(layout.globe.x(on_map.at.lon), layout.globe.y(on_map.at.lat)));
    EXPECT_TRUE(tip.startsWith(QStringLiteral("id: ") + QString::fromStdString(window->stations().rows[0][0]))) << tip.toStdString();

    // Sorted by latitude as numbers (as texts, -11.5759 would come first), the first row
    // opens its station's plot.
    window->table()->sortByColumn(4, Qt::AscendingOrder);
    const QModelIndex first = window->table()->model()->index(0, 0);
    EXPECT_EQ(first.data().toString(), QStringLiteral("CAM16464998"));  // -54.2775
    emit window->table()->activated(first);
    auto* plot = qobject_cast<frame::SeriesPlotWidget*>(s.frame.mdi_area()->activeSubWindow()->widget());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->station().identifier, "CAM16464998");
    EXPECT_EQ(plot->station().per_unit, 100);

    // Opened again, the form holds the last run's choices.
    EXPECT_EQ(frame::open_criteria_form(s.frame)->command_words(), words);
}

TEST(CriteriaForm, ARefusedValueDisablesRunAndStandsBesideItsField) {
    FormSession s;
    CriteriaForm* form = s.form();
    EXPECT_FALSE(form->run_button()->isEnabled());  // no criterion yet
    EXPECT_NE(form->general_reason().indexOf(QStringLiteral("no criterion")), -1);
    s.type(form, "--near", "95,0");
    EXPECT_FALSE(form->run_button()->isEnabled());
    EXPECT_EQ(form->reason("--near")->text(), QStringLiteral("--near: 95,0: expected a latitude from -90 to 90"));
    s.type(form, "--near", "-41.3,174.8", true);
    EXPECT_EQ(form->reason("--near")->text(), QStringLiteral("--near: -41.3,174.8: expected --radius KM or --nearest N with it"));
    s.type(form, "--nearest", "3");
    EXPECT_TRUE(form->reason("--near")->text().isEmpty());
    EXPECT_TRUE(form->run_button()->isEnabled());
}

// Version 2 writes its tables beside its three files; a row opens the plot of the
// station's series in the time-series file of the output folder.
TEST(CriteriaForm, AVersion2RowOpensThePlotOfItsSeries) {
    FormSession s;
    CriteriaForm* form = s.form();
    s.type(form, "--data-dir", (fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample").string(), true);
    ASSERT_EQ(form->variable_box()->currentText(), QStringLiteral("mean (version 2)"));
    s.type(form, "--country", "507");
    s.type(form, "--out-dir", (fs::path(s.dir.path()) / "v2").string(), true);
    form->run_button()->click();
    ExtractionWindow* window = s.extraction_window();
    QSignalSpy ended(window, &ExtractionWindow::run_ended);
    ASSERT_TRUE(ended.wait(30000));
    ASSERT_EQ(window->outcome()->status, 0) << window->status_text().toStdString();
    EXPECT_TRUE(file_exists("v2/GHCNv2_tsf"));
    ASSERT_EQ(window->table()->model()->rowCount(), 15);
    emit window->table()->activated(window->table()->model()->index(0, 0));
    auto* plot = qobject_cast<frame::SeriesPlotWidget*>(s.frame.mdi_area()->activeSubWindow()->widget());
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->station().station_id, 93012000);  // KAITAIA
    EXPECT_FALSE(plot->station().parts.empty());
}

// Cancel while the run cannot finish: its list of identifiers is a FIFO that this test
// holds open without writing, so once the test's end is open the run waits for the list.
// The frame goes on, the window says so and the folder holds nothing.
TEST(CriteriaForm, CancelLeavesNothingAndTheFrameGoesOn) {
    FormSession s;
    const fs::path ids = fs::path(s.dir.path()) / "ids", out = fs::path(s.dir.path()) / "out";
    ASSERT_EQ(::mkfifo(ids.c_str(), 0644), 0);
    CriteriaForm* form = s.form();
    s.type(form, "--data-dir", (fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample").string(), true);
    s.type(form, "--ids-from", ids.string());
    s.type(form, "--out-dir", out.string(), true);
    form->run_button()->click();
    ExtractionWindow* window = s.extraction_window();
    QSignalSpy ended(window, &ExtractionWindow::run_ended);
    const int writer = ::open(ids.c_str(), O_WRONLY);  // returns once the run has opened the list
    ASSERT_GE(writer, 0);
    EXPECT_TRUE(window->running());
    window->cancel_button()->click();
    ASSERT_TRUE(ended.wait(30000));
    ::close(writer);
    EXPECT_TRUE(window->outcome()->cancelled);
    EXPECT_TRUE(window->status_text().startsWith(QStringLiteral("Cancelled")));
    std::error_code absent;
    EXPECT_FALSE(fs::exists(out, absent) && !fs::is_empty(out));
    EXPECT_EQ(window->error_box(), nullptr);
}

// The run's own refusal (an output in the way) is shown in a box, not lost.
TEST(CriteriaForm, ARunThatFailsSaysWhyInABox) {
    FormSession s;
    write_file("stations.csv", "an earlier table\n");
    CriteriaForm* form = s.form();
    s.type(form, "--country", "new zealand");
    s.type(form, "--out-dir", s.dir.path(), true);
    form->run_button()->click();
    ExtractionWindow* window = s.extraction_window();
    ASSERT_NE(window, nullptr);
    QSignalSpy ended(window, &ExtractionWindow::run_ended);
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_EQ(window->outcome()->status, 1);
    ASSERT_NE(window->error_box(), nullptr);
    EXPECT_NE(window->error_box()->text().indexOf(QStringLiteral("stations.csv: exists; give --force to replace it")), -1)
        << window->error_box()->text().toStdString();
    EXPECT_EQ(read_file("stations.csv"), "an earlier table\n");
}

}  // namespace
}  // namespace corvane::testing
