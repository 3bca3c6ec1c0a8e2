// corvane: the extraction dialogue in the "Input/Output" window of a desktop frame. The
// dialogue runs on the GUI thread; the console hooks keep the windows alive while it waits
// for answers, and after it has ended until the user chooses Exit.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string_view>

#include "app/dialogue.hpp"
#include "app/program_options.hpp"
#include "extract/command_main.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/extract_menu.hpp"
#include "frame/extraction_worker.hpp"
#include "frame/station_map.hpp"
#include "units/conditions.hpp"
#include "units/error_report.hpp"
#include "units/termination.hpp"

namespace {

constexpr corvane::app::InteractiveProgram desktop_program{
    "corvane",
    "Runs the GHCN version 2 extraction dialogue in the \"Input/Output\" window of a desktop\n"
    "frame: choose one of nine variables, state the criteria, see the stations that match,\n"
    "and extract their monthly series into three files. The transcript can be saved and\n"
    "printed, and Map > Station map shows the stations on a world map with the coastlines\n"
    "(CORVANE_COASTLINES names another GSHHG shoreline file); a click on a found station\n"
    "plots its series. Started without --data-dir in a directory that holds none of the data\n"
    "files, it asks for the data folder first and remembers it; File > Open data folder...\n"
    "changes it. Extract > Select stations... runs corvane-extract's criteria and outputs for\n"
    "GHCN versions 2, 3 and 4 from a form, and shows the stations in a table beside their map.\n"};

// The frame or its console could not be created.
constexpr int frame_failed = 6;
bool frame_started = false;

// A fatal message of the toolkit before the frame exists (no display, no platform plugin)
// means the frame cannot be created.
void startup_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg && !frame_started) std::_Exit(frame_failed);
}

}  // namespace

int main(int argc, char** argv) {
    // The criteria form's run: corvane-extract's command, in a process of its own.
    if (argc >= 2 && std::string_view(argv[1]) == corvane::frame::extraction_worker_word) {
        return corvane::extract::command_main(argc - 2, argv + 2);
    }
    const bool data_dir_given = argc >= 2 && std::string_view(argv[1]).starts_with("--data-dir");
    if (const auto status = corvane::app::take_program_options(desktop_program, argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    qInstallMessageHandler(startup_messages);
    QApplication application(argc, argv);
    // Toolkit options are gone from argv now; the rest are the run-time's command-line words.
    corvane::units::start_runtime(argc, argv);
    corvane::frame::DesktopFrame frame(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    if (!frame.start()) return frame_failed;
    frame_started = true;
    qInstallMessageHandler(nullptr);
    corvane::frame::add_station_map(frame);
    corvane::frame::add_extract_menu(frame);
    frame.data_folder().settle_at_start(data_dir_given);
    try {
        corvane::app::run_dialogue();
    } catch (const std::bad_alloc&) {
        // Outside any statement: the report has no statement line.
        corvane::units::report_condition_and_end(corvane::units::condition::memory_allocation, nullptr);
    }
}
