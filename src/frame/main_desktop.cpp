// corvane: the extraction dialogue in the "Input/Output" window of a desktop frame. The
// dialogue runs on the GUI thread; the console hooks keep the windows alive while it waits
// for answers, and after it has ended until the user chooses Exit.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

#include "app/dialogue.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/station_map.hpp"
#include "units/termination.hpp"

namespace {

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
    qInstallMessageHandler(startup_messages);
    QApplication application(argc, argv);
    // Toolkit options are gone from argv now; the rest are the run-time's command-line words.
    corvane::units::start_runtime(argc, argv);
    corvane::frame::DesktopFrame frame(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    if (!frame.start()) return frame_failed;
    frame_started = true;
    qInstallMessageHandler(nullptr);
    corvane::frame::add_station_map(frame);
    corvane::app::run_dialogue();
}
