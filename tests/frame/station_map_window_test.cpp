// The station map's window and the series plots in a frame of their own: the Map menu opens
// the map again after it was closed and Cascade leaves it a map; the map follows the run as
// the selection and the extraction change it; a station's tooltip, and a click that opens
// its plot; the map saved as PNG and SVG and printed; a plot saved as PNG, SVG and CSV.
#include <gtest/gtest.h>

#include <QAction>
#include <QHelpEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolTip>
#include <QXmlStreamReader>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "app/run_data.hpp"
#include "console/text_window_view.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/map_painting.hpp"
#include "frame/series_plot.hpp"
#include "frame/station_map.hpp"
#include "frame/station_map_window.hpp"
#include "test_support.hpp"
#include "units/console_hooks.hpp"

namespace corvane::testing {
namespace {

using frame::DesktopFrame;
using frame::SeriesPlotWidget;
using frame::StationMapWidget;

constexpr int station_map_command = 800;  // the first menu item an application adds

const char* const inventory =
    "50793844000 INVERCARGILL                    -46.42  168.32    0    0R\n"
    "42570316000 COLD BAY                         55.20 -162.72   31    0R\n";

const char* const series_file =
    " GHCNv2 Mean Temperature: Units=tenths of degrees celsius\r\n"
    "168.32 -46.42    0 (i4,12f5.1) 50793844000    INVERCARGILL                    \r\n"
    "1950  140  138  125  101   78   58   52   65   81   97  110  128\r\n"
    "1951  142-9999  120  100   80   60   50   60   80   90  110  130\r\n";

const char* const failed_file =
    " GHCNv2 Mean Temperature: Failed Values\r\n"
    " 50793844000   INVERCARGILL                    \r\n"
    " 1951   2   420\r\n";

// A started frame in a scratch directory with the inventory, and a run of two selected
// stations that the test changes as the dialogue would.
struct MapSession {
    MapSession() {
        drop_console_units();
        frame.start();
        write_file("v2.temperature.inv", inventory);
        run.variable_choice = 1;
        run.variable_label = "MEAN.TEMP";
        select(0, 507, 93844000, "INVERCARGILL", -46.42f, 168.32f);
        select(1, 425, 70316000, "COLD BAY", 55.20f, -162.72f);
    }
    ~MapSession() { drop_console_units(); }
    void select(std::size_t row, int country, int id, const char* name, float lat, float lon) {
        app::SelectedStations& s = run.stations;
        s.station_country[row] = country;
        s.station_id[row] = id;
        s.station_name[row] = name;
        s.station_lat[row] = lat;
        s.station_lon[row] = lon;
    }
    void extract() {
        write_file("GHCNv2_tsf", series_file);
        write_file("GHCNv2_Failed_Values_File", failed_file);
        run.found_count = 1;
    }
    StationMapWidget* map() {
        auto* w = new StationMapWidget([](int, bool) {}, [this](const app::MapStation& s) { open_series_plot(frame, s, run.variable_choice); },
                                       [this]() -> const app::RunData& { return run; });
        w->resize(680, 400);
        w->show();
        return w;
    }
    std::vector<SeriesPlotWidget*> plots() {
        std::vector<SeriesPlotWidget*> found;
        for (QMdiSubWindow* child : frame.mdi_area()->subWindowList())
            if (auto* plot = qobject_cast<SeriesPlotWidget*>(child->widget())) found.push_back(plot);
        return found;
    }
    QPoint where(const StationMapWidget& map, std::size_t row) {
        const frame::MapLayout layout = map.layout();
        return QPointF(layout.globe.x(run.stations.station_lon[row]), layout.globe.y(run.stations.station_lat[row])).toPoint();
    }

    ScratchDirectory dir;
    DesktopFrame frame{QStringLiteral("corvane")};
    app::RunData run;
};

TEST(StationMapWindow, TheMenuOpensTheMapAgainAfterItWasClosedAndCascadeKeepsItAMap) {
    MapSession s;
    frame::add_station_map(s.frame);
    QAction* item = s.frame.action(station_map_command);
    for (int opening = 0; opening < 3; ++opening) {
        ASSERT_TRUE(item->isEnabled()) << opening;
        item->trigger();
        StationMapWidget* map = frame::station_map_window();
        ASSERT_NE(map, nullptr) << opening;
        item->trigger();  // open already: the same window, in front
        EXPECT_EQ(frame::station_map_window(), map);
        EXPECT_EQ(s.frame.mdi_area()->activeSubWindow(), map->parentWidget());
        s.frame.command(frame::command_cascade);
        EXPECT_GE(map->height(), map->minimumSizeHint().height()) << "cascaded to a title bar";
        ASSERT_TRUE(map->parentWidget()->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(frame::station_map_window(), nullptr);
    }
}

TEST(StationMapWindow, TheMapFollowsTheSelectionAndTheExtractionWithoutBeingTouched) {
    MapSession s;
    std::unique_ptr<StationMapWidget> map(s.map());
    EXPECT_TRUE(map->data().stations.empty());
    EXPECT_EQ(map->data().inventory.size(), 2u);
    s.run.stations.selected_count = 2;
    QTRY_COMPARE(map->data().stations.size(), 2u);
    EXPECT_EQ(map->data().stations[0].state, app::StationState::selected);
    s.extract();
    QTRY_COMPARE(map->data().stations[0].state, app::StationState::found);
    EXPECT_EQ(map->data().stations[1].state, app::StationState::no_data);
    // A box across the 180° meridian centres the map there.
    s.run.criteria = {.max_lat = 60, .min_lat = -50, .max_lon = -150, .min_lon = 160, .use_area = 1, .crosses_dateline = 1};
    QTRY_COMPARE(map->data().centre_lon, 180.0);
    const frame::MapLayout layout = map->layout();
    EXPECT_NEAR(layout.globe.x(180), layout.frame.center().x(), 1e-9);
}

TEST(StationMapWindow, ATooltipSaysWhatAStationIsAndAClickOpensItsPlotOnce) {
    MapSession s;
    s.run.stations.selected_count = 2;
    s.extract();
    std::unique_ptr<StationMapWidget> map(s.map());
    const QPoint invercargill = s.where(*map, 0), cold_bay = s.where(*map, 1);
    EXPECT_EQ(map->tooltip_at(invercargill).toStdString(),
              "50793844000  INVERCARGILL\nElevation 0 m\n2 years of data\nFound by the extraction: click for its series plot");
    EXPECT_TRUE(map->tooltip_at(cold_bay).contains(QStringLiteral("No data")));
    EXPECT_TRUE(map->tooltip_at(invercargill + QPoint(40, 40)).isEmpty());
    QHelpEvent help(QEvent::ToolTip, invercargill, map->mapToGlobal(invercargill));
    QCoreApplication::sendEvent(map.get(), &help);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("INVERCARGILL")));

    QTest::mouseClick(map.get(), Qt::LeftButton, {}, cold_bay);  // no series: nothing opens
    EXPECT_TRUE(s.plots().empty());
    QTest::mouseClick(map.get(), Qt::LeftButton, {}, invercargill);
    ASSERT_EQ(s.plots().size(), 1u);
    EXPECT_EQ(s.plots()[0]->station_id(), 93844000);
    EXPECT_EQ(s.plots()[0]->station().failed.size(), 1u);
    QTest::mouseClick(map.get(), Qt::LeftButton, {}, invercargill);  // open: brought to the front
    EXPECT_EQ(s.plots().size(), 1u);
}

TEST(StationMapWindow, ZoomKeepsTheDegreeUnderThePointerAndADragPans) {
    MapSession s;
    std::unique_ptr<StationMapWidget> map(s.map());
    const QPointF pointer(400, 150);
    const frame::MapLayout before = map->layout();
    const frame::MapView zoomed = frame::zoomed(map->view(), before, pointer, 4);
    const frame::MapLayout after = frame::map_layout(QRectF(map->rect()), zoomed, 0);
    const double lon = before.globe.centre_lon + (pointer.x() - before.frame.center().x()) * 360 / before.globe.width;
    EXPECT_NEAR(after.globe.x(lon), pointer.x(), 1e-6);
    EXPECT_DOUBLE_EQ(after.globe.width, before.globe.width * 4);
    const frame::MapView moved = frame::panned(zoomed, after, QPointF(-100, 0));
    const frame::MapLayout dragged = frame::map_layout(QRectF(map->rect()), moved, 0);
    EXPECT_NEAR(dragged.globe.x(lon), pointer.x() - 100, 1e-6);
    // The globe never leaves the frame uncovered at the poles.
    const frame::MapView north = frame::panned(zoomed, after, QPointF(0, 10000));
    const frame::MapLayout top = frame::map_layout(QRectF(map->rect()), north, 0);
    EXPECT_NEAR(top.globe.y(90), top.frame.top(), 1e-6);
}

TEST(StationMapWindow, DegreeLabelsNeverOverlapNorLeaveTheWindowBitmapOrPage) {
    const struct { QSizeF size; double dpi_scale; } devices[] = {
        {{240, 160}, 1}, {{320, 480}, 1}, {{426, 860}, 1}, {{600, 300}, 1}, {{680, 400}, 1}, {{1280, 860}, 1},
        {{9917, 7016}, 12.5}, {{7016, 9917}, 12.5}};  // A4 at 1200 dpi, both ways
    const frame::MapView views[] = {{}, {3, 40, 20}, {20, -100, -60}, {64, 0, 89}};
    for (const auto& d : devices) {
        for (const frame::MapView& view : views) {
            for (double centre : {0.0, 180.0}) {
                const QRectF area(QPointF(0, 0), d.size);
                const std::vector<frame::MapLabel> labels =
                    frame::map_labels(frame::map_layout(area, view, centre, d.dpi_scale));
                EXPECT_GE(labels.size(), 4u) << d.size.width() << 'x' << d.size.height();
                for (std::size_t i = 0; i < labels.size(); ++i) {
                    EXPECT_TRUE(area.contains(labels[i].box)) << labels[i].text.toStdString() << " at " << d.size.width();
                    for (std::size_t j = i + 1; j < labels.size(); ++j) {
                        EXPECT_FALSE(labels[i].box.intersects(labels[j].box))
                            << labels[i].text.toStdString() << " and " << labels[j].text.toStdString() << " at "
                            << d.size.width() << 'x' << d.size.height() << " zoom " << view.zoom;
                    }
                }
            }
        }
    }
}

// The print dialog, once it is up: a PDF file of `page` size.
void print_to_pdf_when_asked(const QString& path, QPageSize page) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, path, page] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(path);
        dialog->printer()->setPageSize(page);
        dialog->done(QDialog::Accepted);
        poll->deleteLater();
    });
    poll->start(20);
}

TEST(StationMapWindow, TheMapIsSavedAsPngAndSvgAndPrintedOnOnePage) {
    MapSession s;
    s.run.stations.selected_count = 2;
    s.extract();
    std::unique_ptr<StationMapWidget> map(s.map());
    ASSERT_TRUE(map->save_picture(QStringLiteral("map.png")));
    EXPECT_EQ(QImage(QStringLiteral("map.png")).size(), map->size());
    ASSERT_TRUE(map->save_picture(QStringLiteral("map.svg")));
    QFile svg(QStringLiteral("map.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QString texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts += xml.readElementText() + '|';
    }
    EXPECT_FALSE(xml.hasError());
    for (const char* label : {"MEAN.TEMP", "1 found", "1 without data", "90°S", "90°N", "0°", "180°"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(label))) << label << " in " << texts.toStdString();

    print_to_pdf_when_asked(QStringLiteral("map.pdf"), QPageSize(QPageSize::A4));
    map->command(console::command_print);
    const std::string pdf = read_file("map.pdf");
    EXPECT_TRUE(pdf.starts_with("%PDF"));
    EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
}

TEST(StationMapWindow, APlotOfAVariableWithoutFailedValuesIgnoresAFailedValuesFileLeftInTheDirectory) {
    MapSession s;
    s.extract();
    frame::open_series_plot(s.frame, {{-46.42, 168.32}, app::StationState::found, 507, 93844000, "INVERCARGILL", 0}, 2);
    ASSERT_EQ(s.plots().size(), 1u);
    EXPECT_TRUE(s.plots()[0]->station().failed.empty());
    EXPECT_EQ(s.plots()[0]->station().parts.size(), 1u);
}

TEST(StationMapWindow, APlotIsSavedAsPngSvgAndCsv) {
    MapSession s;
    s.run.stations.selected_count = 2;
    s.extract();
    frame::open_series_plot(s.frame, {{-46.42, 168.32}, app::StationState::found, 507, 93844000, "INVERCARGILL", 0}, 1);
    ASSERT_EQ(s.plots().size(), 1u);
    SeriesPlotWidget* plot = s.plots()[0];
    plot->resize(640, 380);

    ASSERT_TRUE(plot->save_file(QStringLiteral("plot.png")));
    const QImage png(QStringLiteral("plot.png"));
    EXPECT_EQ(png.size(), QSize(640, 380));

    ASSERT_TRUE(plot->save_file(QStringLiteral("plot.svg")));
    QFile svg(QStringLiteral("plot.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    // The monthly values are drawn a segment at a time in their colour, under groups that
    // set the stroke: 1950's January to 1951's January, then March to December.
    QXmlStreamReader xml(&svg);
    std::vector<QString> strokes{QString()};
    int monthly_segments = 0;
    QString texts;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("g")) strokes.pop_back();
        if (token != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("g")) {
            const QString stroke = xml.attributes().value(QLatin1String("stroke")).toString();
            strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
        }
        if (xml.name() == QLatin1String("text")) texts += xml.readElementText() + '|';
        if (xml.name() == QLatin1String("polyline") && strokes.back() == QLatin1String("#285aaa")) ++monthly_segments;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(monthly_segments, 12 + 9);
    EXPECT_TRUE(texts.contains(QStringLiteral("INVERCARGILL"))) << texts.toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("(degC)"))) << texts.toStdString();

    ASSERT_TRUE(plot->save_file(QStringLiteral("plot.csv")));
    EXPECT_EQ(read_file("plot.csv"), app::series_csv(plot->station()));
}

}  // namespace
}  // namespace corvane::testing
