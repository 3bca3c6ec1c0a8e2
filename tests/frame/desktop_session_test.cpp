// The desktop program played by a user: real key events type the answers of a whole
// extraction on the sample data into "Input/Output", with the station map open from the
// first question on; then the user saves the transcript, prints it to a PDF file, brings the
// map to the front, which has followed the extraction, and saves it as a bitmap, and answers the
// save question of Exit with Cancel and then Yes. Other sessions choose Exit or close the
// console while a read waits, or meet a run-time error. Each session runs in a fresh
// process, since the program ends it; what the session saw is written to a facts file.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include <unistd.h>

#include "app/dialogue.hpp"
#include "app/station_map_data.hpp"
#include "console/print_layout.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/frame_settings.hpp"
#include "frame/graphics_window.hpp"
#include "frame/scripted_user.hpp"
#include "frame/map_painting.hpp"
#include "frame/station_map.hpp"
#include "frame/text_printing.hpp"
#include "frame/station_map_window.hpp"
#include "frame/text_window_widget.hpp"
#include "test_support.hpp"
#include "transcript_support.hpp"
#include "units/runtime_options.hpp"
#include "units/termination.hpp"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;
using frame::DesktopFrame;

constexpr std::string_view output_files[] = {"GHCNv2_Log_File", "GHCNv2_tsf", "GHCNv2_Failed_Values_File"};
constexpr int station_map_command = 800;  // the first menu item an application adds

using Script = std::function<void(DesktopFrame&, ScriptedUser&)>;

// The desktop program in this process, as its main function runs it, with a user.
[[noreturn]] void run_desktop(const Script& script) {
    units::reset_runtime_options();
    char name[] = "corvane";
    char* argv[] = {name, nullptr};
    units::start_runtime(1, argv);
    DesktopFrame frame(QStringLiteral("corvane"));
    if (!frame.start()) std::_Exit(6);
    frame::add_station_map(frame);
    ScriptedUser user;
    script(frame, user);
    user.start();
    app::run_dialogue();
}

bool reading(DesktopFrame& f) { return f.console_window() && f.console_window()->model().state().reading_line; }
bool no_dialog() { return QApplication::activeModalWidget() == nullptr; }

std::map<std::string, std::string> read_facts(const fs::path& path) {
    std::map<std::string, std::string> facts;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) facts[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return facts;
}

// The answers, typed where the program reads them; each answer's place is kept.
void answer_all(DesktopFrame& f, ScriptedUser& user, const std::vector<std::string>& answers,
                std::vector<TypedAnswer>& typed) {
    for (const std::string& answer : answers) {
        user.then("answer " + answer, [&f] { return reading(f); }, [&f, &typed, answer] {
            const console::TextWindowState& s = f.console_window()->model().state();
            const int row = s.new_line_pending ? s.last_line() : s.last_line() - 1;
            typed.push_back({row, s.new_line_pending ? 0 : s.caret_column, s.new_line_pending, answer});
            type_line(f.console_window(), QString::fromStdString(answer));
        });
    }
}

std::uint32_t u32(const std::string& b, std::size_t at) {
    return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8 | std::uint8_t(b[at + 2]) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

int pdf_pages(const std::string& pdf) {
    const std::regex page(R"(/Type\s*/Page[^s])");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

// The directory of one session. The copy of this program that plays the session runs the
// test from its start again; it finds the directory the test made through the environment,
// which it inherits, and works there.
class SessionDirectory {
public:
    SessionDirectory() {
        if (const char* made = std::getenv(variable)) {
            path_ = made;
        } else {
            owner_ = true;
            std::string pattern = (fs::temp_directory_path() / "corvane-session-XXXXXX").string();
            path_ = ::mkdtemp(pattern.data());
            ::setenv(variable, path_.c_str(), 1);
        }
        fs::current_path(path_);
    }
    ~SessionDirectory() {
        if (!owner_) return;
        ::unsetenv(variable);
        fs::current_path(fs::temp_directory_path());
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    // True in the test itself, false in the program playing the session.
    bool owner() const { return owner_; }

private:
    static constexpr const char* variable = "CORVANE_SESSION_DIR";
    fs::path path_;
    bool owner_ = false;
};

struct SessionFiles {
    fs::path console_dir, frame_dir;
};

// The console program's run of the scenario, and a copy of the data set for the desktop's.
SessionFiles prepare(const SessionDirectory& session, const char* scenario) {
    const fs::path input = fs::path(CORVANE_FIXTURES_DIR) / scenario / "input";
    SessionFiles s{session.path() / "console", session.path() / "frame"};
    if (session.owner()) {
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", s.console_dir);
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", s.frame_dir);
        EXPECT_EQ(run_console_program(s.console_dir, input), 0);
    }
    fs::current_path(s.frame_dir);
    return s;
}

TEST(DesktopSessionDeathTest, AUserExtractsSavesPrintsMapsAndExits) {
    SessionDirectory session;
    const SessionFiles dirs = prepare(session, "sample_samoa");
    // The answers end with the Return at "hit RETURN to exit".
    const std::vector<std::string> answers =
        split_lines(read_file((fs::path(CORVANE_FIXTURES_DIR) / "sample_samoa" / "input").string()), "\n");
    const QString dir = QString::fromStdString(dirs.frame_dir.string());

    EXPECT_EXIT(run_desktop([&](DesktopFrame& f, ScriptedUser& user) {
        static std::vector<TypedAnswer> typed;
        user.then("open the map at the first question", [&f] { return reading(f); }, [&f] {
            f.action(station_map_command)->trigger();
            f.mdi_area()->setActiveSubWindow(f.console_window()->child());  // back to the dialogue
        });
        answer_all(f, user, answers, typed);
        // The map, untouched since, takes up the extraction's result by itself.
        user.then("the map shows the extraction", [] {
                const frame::StationMapWidget* map = frame::station_map_window();
                if (!map || map->data().stations.empty()) return false;
                for (const app::MapStation& s : map->data().stations)
                    if (s.state == app::StationState::selected) return false;
                return true;
            }, [] {
                int found = 0;
                for (const app::MapStation& s : frame::station_map_window()->data().stations)
                    found += s.state == app::StationState::found;
                record_fact("map_found", std::to_string(found));
            });
        user.then("the program has ended", [&f] { return f.console().program_ended(); }, [&f] {
                std::ofstream lines("window_lines", std::ios::binary);
                const console::TextWindow& w = f.console_window()->model();
                for (int row = 0; row < w.state().last_line(); ++row) lines << w.line(row) << '\n';
                write_answers("answers", typed);
                record_fact("char_height", std::to_string(w.state().char_height));
                record_fact("printed_cell_width", std::to_string(frame::printed_cell(*f.console_window()).width()));
                record_fact("save_enabled_before", std::to_string(f.action(console::command_save)->isEnabled()));
                f.action(console::command_save)->trigger();
            })
            .then("the save dialog", [] { return modal<QFileDialog>() != nullptr; }, [dir] {
                record_fact("save_caption", modal<QFileDialog>()->windowTitle().toStdString());
                record_fact("save_filters", modal<QFileDialog>()->nameFilters().join('|').toStdString());
                choose_file(dir + "/transcript.txt");
            })
            .then("print", no_dialog, [&f] {
                record_fact("title_after_save", f.console_window()->child()->windowTitle().toStdString());
                record_fact("save_enabled_after", std::to_string(f.action(console::command_save)->isEnabled()));
                f.action(console::command_print)->trigger();
            })
            .then("the print dialog", [] { return modal<QPrintDialog>() != nullptr; }, [dir] {
                auto* dialog = modal<QPrintDialog>();
                QPrinter* printer = dialog->printer();
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(dir + "/transcript.pdf");
                printer->setPageSize(QPageSize(QPageSize::A6));
                printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
                record_fact("page_height_inches",
                            std::to_string(printer->pageLayout().paintRect(QPageLayout::Inch).height()));
                record_fact("page_width_inches",
                            std::to_string(printer->pageLayout().paintRect(QPageLayout::Inch).width()));
                dialog->done(QDialog::Accepted);
            })
            .then("the station map", no_dialog, [&f] { f.action(station_map_command)->trigger(); })
            .then("save the map", [] { return frame::station_map_window() != nullptr; }, [&f] {
                QWidget* map = frame::station_map_window();
                record_fact("map_width", std::to_string(map->width()));
                record_fact("map_height", std::to_string(map->height()));
                // Save As: Save follows the console's state whenever the console repaints.
                f.action(console::command_save_as)->trigger();
            })
            .then("the bitmap dialog", [] { return modal<QFileDialog>() != nullptr; }, [dir] {
                record_fact("bitmap_filters", modal<QFileDialog>()->nameFilters().join('|').toStdString());
                choose_file(dir + "/map.bmp");
            })
            .then("type into the console and choose Exit", no_dialog, [&f] {
                f.mdi_area()->setActiveSubWindow(f.console_window()->child());
                QTest::keyClicks(f.console_window(), "x");
                f.action(frame::command_exit)->trigger();
            })
            .then("the save question: Cancel", [] { return modal<QMessageBox>() != nullptr; }, [] {
                record_fact("question_caption", modal<QMessageBox>()->windowTitle().toStdString());
                record_fact("question", answer_box(QMessageBox::Cancel).toStdString());
            })
            .then("Exit again", no_dialog, [&f] {
                record_fact("open_after_cancel", std::to_string(f.console().registry().open_windows()));
                record_fact("frame_visible_after_cancel", std::to_string(f.isVisible()));
                f.action(frame::command_exit)->trigger();
            })
            .then("the save question: Yes", [] { return modal<QMessageBox>() != nullptr; },
                  [] { answer_box(QMessageBox::Yes); });
    }),
                ::testing::ExitedWithCode(0), "");

    // The output files are those of the console program.
    for (std::string_view file : output_files) {
        EXPECT_TRUE(read_file((dirs.console_dir / file).string()) == read_file((dirs.frame_dir / file).string())) << file;
    }
    const std::map<std::string, std::string> facts = read_facts(dirs.frame_dir / "facts");

    // The transcript saved, then saved again by the Yes of Exit with the x typed after it.
    const std::vector<TypedAnswer> typed = read_answers(dirs.frame_dir / "answers");
    EXPECT_EQ(typed.size(), answers.size());
    std::string saved = read_file((dirs.frame_dir / "transcript.txt").string());
    ASSERT_TRUE(saved.ends_with("\r\nx\r\n")) << saved.substr(saved.size() - std::min<std::size_t>(saved.size(), 40));
    saved.resize(saved.size() - 3);
    const std::vector<std::string> window = split_lines(read_file((dirs.frame_dir / "window_lines").string()), "\n");
    EXPECT_EQ(split_lines(saved, "\r\n"), window);
    EXPECT_EQ(without_answers(window, typed), split_lines(read_file((dirs.console_dir / "stdout").string()), "\r\n"));
    EXPECT_EQ(facts.at("save_caption"), "Untitled");
    EXPECT_EQ(facts.at("save_filters"), "Text Files (*.txt)|All Files (*.*)");
    EXPECT_EQ(facts.at("title_after_save"), "transcript.txt");
    EXPECT_EQ(facts.at("save_enabled_before"), "1");
    EXPECT_EQ(facts.at("save_enabled_after"), "0");

    // Exit: Cancel kept everything open; the question names the window.
    EXPECT_EQ(facts.at("question_caption"), "Tessel");
    EXPECT_EQ(facts.at("question"), "Save changes to transcript.txt?");
    EXPECT_EQ(facts.at("open_after_cancel"), "1");
    EXPECT_EQ(facts.at("frame_visible_after_cancel"), "1");

    // The printout: as many pages as lines of the window's height fit on the paper under
    // the header, the lines longer than the paper is wide going on in the next lines.
    const int lines = static_cast<int>(window.size());
    const double page_hundredths = std::stod(facts.at("page_height_inches")) * 100;
    const int per_page = static_cast<int>(page_hundredths / std::stoi(facts.at("char_height")));
    ASSERT_GT(per_page, 0);
    EXPECT_LT(per_page, lines);  // a test of page breaks, not of one page
    const int columns = static_cast<int>(std::stod(facts.at("page_width_inches")) * 100 /
                                         std::stoi(facts.at("printed_cell_width")));
    std::vector<int> lengths;
    for (const std::string& line : window) lengths.push_back(static_cast<int>(line.size()));
    const int printed_lines = static_cast<int>(console::wrap_lines(lengths, columns).size());
    EXPECT_GT(printed_lines, lines);  // the listing is wider than A6
    EXPECT_EQ(pdf_pages(read_file((dirs.frame_dir / "transcript.pdf").string())),
              console::pages_for(printed_lines, console::body_lines_per_page(per_page)));

    // The map as a bitmap: the headers by their formulas, blue dots at the found stations.
    EXPECT_EQ(facts.at("bitmap_filters"), "PNG Image (*.png)|SVG Image (*.svg)|BitMap Files (*.bmp)|All Files (*.*)");
    const std::string bmp = read_file((dirs.frame_dir / "map.bmp").string());
    ASSERT_GE(bmp.size(), 54u);
    const std::uint32_t width = std::stoul(facts.at("map_width"));
    const std::uint32_t height = std::stoul(facts.at("map_height"));
    const std::uint32_t image_size = height * ((width + 7) / 8) * 32;
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(u32(bmp, 2), 54 + image_size);
    EXPECT_EQ(u32(bmp, 10), 54u);
    EXPECT_EQ(u32(bmp, 14), 40u);
    EXPECT_EQ(u32(bmp, 18), width);
    EXPECT_EQ(u32(bmp, 22), height);
    EXPECT_EQ(u32(bmp, 26), 1u | 32u << 16);  // planes, bits per pixel
    EXPECT_EQ(u32(bmp, 30), 0u);
    EXPECT_EQ(u32(bmp, 34), image_size);
    EXPECT_EQ(u32(bmp, 46), 0u);
    ASSERT_EQ(bmp.size(), 54 + image_size);
    auto pixel = [&](long x, long y) {  // rows bottom-up, B G R 0
        const std::size_t at = 54 + (std::size_t(height - 1 - y) * width + x) * 4;
        return QColor(std::uint8_t(bmp[at + 2]), std::uint8_t(bmp[at + 1]), std::uint8_t(bmp[at]));
    };
    // The darkest pixel around a point: the centre of a dot, wherever it rounded to.
    auto dot_at = [&](double x, double y) {
        QColor darkest(Qt::white);
        for (long dy = -1; dy <= 1; ++dy) {
            for (long dx = -1; dx <= 1; ++dx) {
                const QColor c = pixel(std::lround(x) + dx, std::lround(y) + dy);
                if (c.lightness() < darkest.lightness()) darkest = c;
            }
        }
        return darkest;
    };
    const frame::PlateCarree map = frame::map_layout(QRectF(0, 0, width, height), {}, 0).globe;
    const std::set<int> found = frame::read_found_stations((dirs.frame_dir / "GHCNv2_tsf").string());
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(facts.at("map_found"), std::to_string(found.size()));
    std::ifstream inventory(dirs.frame_dir / "v2.temperature.inv");
    std::string line;
    int found_checked = 0, grey_checked = 0;
    while (std::getline(inventory, line)) {
        const int id = std::stoi(line.substr(3, 8));
        const QColor c = dot_at(map.x(std::stod(line.substr(50, 7))), map.y(std::stod(line.substr(43, 6))));
        if (found.count(id)) {
            EXPECT_GT(c.blue(), 150) << id;
            EXPECT_LT(c.red(), 100) << id;
            ++found_checked;
        } else if (c.red() == c.green() && c.green() == c.blue()) {
            EXPECT_LT(c.red(), 200) << "an inventory station is a grey dot: " << id;
            ++grey_checked;
        }
    }
    EXPECT_EQ(found_checked, static_cast<int>(found.size()));
    EXPECT_GT(grey_checked, 10);
    EXPECT_EQ(dot_at(map.x(-27), map.y(-47)), frame::map_ocean);  // open ocean, off the graticule
}

TEST(DesktopSessionDeathTest, ExitWhileAReadWaitsStopsTheProgram) {
    SessionDirectory session;
    EXPECT_EXIT(run_desktop([](DesktopFrame& f, ScriptedUser& user) {
        user.then("Exit at the first prompt", [&f] { return reading(f); },
                  [&f] { f.action(frame::command_exit)->trigger(); })
            .then("the save question: No", [] { return modal<QMessageBox>() != nullptr; }, [] {
                record_fact("question", answer_box(QMessageBox::No).toStdString());
            });
    }),
                ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(read_facts("facts").at("question"), "Save changes to Input/Output?");
}

TEST(DesktopSessionDeathTest, ATerminatingSignalWhileAReadWaitsEndsTheRunWithItsFilesWhole) {
    // Interrupted at "hit RETURN to exit", after a whole extraction: the signal ends the
    // wait for the answer at once, and the files are those of the complete run.
    SessionDirectory session;
    const SessionFiles dirs = prepare(session, "sample_samoa");
    std::vector<std::string> answers =
        split_lines(read_file((fs::path(CORVANE_FIXTURES_DIR) / "sample_samoa" / "input").string()), "\n");
    ASSERT_FALSE(answers.empty());
    answers.pop_back();  // the Return at "hit RETURN to exit"

    EXPECT_EXIT(run_desktop([&](DesktopFrame& f, ScriptedUser& user) {
        static std::vector<TypedAnswer> typed;
        answer_all(f, user, answers, typed);
        user.then("SIGTERM at the last prompt", [&f] { return reading(f); }, [] { ::kill(::getpid(), SIGTERM); });
    }),
                ::testing::ExitedWithCode(128 + SIGTERM), "");
    for (std::string_view name : output_files) {
        EXPECT_EQ(read_file((dirs.frame_dir / name).string()), read_file((dirs.console_dir / name).string())) << name;
    }
}

TEST(DesktopSessionDeathTest, ClosingTheConsoleWhileAReadWaitsEndsTheProgram) {
    SessionDirectory session;
    EXPECT_EXIT(run_desktop([](DesktopFrame& f, ScriptedUser& user) {
        user.then("close the console", [&f] { return reading(f); }, [&f] { f.console_window()->child()->close(); })
            .then("the save question: No", [] { return modal<QMessageBox>() != nullptr; },
                  [] { answer_box(QMessageBox::No); })
            .then("the window error", [] { return modal<QMessageBox>() != nullptr; }, [] {
                record_fact("caption", modal<QMessageBox>()->windowTitle().toStdString());
                record_fact("text", answer_box(QMessageBox::Ok).toStdString());
            });
    }),
                ::testing::ExitedWithCode(255), "");
    const auto facts = read_facts("facts");
    EXPECT_EQ(facts.at("caption"), "Window Handler Error");
    EXPECT_EQ(facts.at("text"), "Not a valid window, program exited.");
}

TEST(DesktopSessionDeathTest, ARunTimeErrorIsReportedInTheConsoleUntilExit) {
    SessionDirectory session;
    EXPECT_EXIT(run_desktop([](DesktopFrame& f, ScriptedUser& user) {
        user.then("a letter for the variable", [&f] { return reading(f); }, [&f] { type_line(f.console_window(), "x"); })
            .then("the report stays on screen", [&f] { return f.console().program_ended(); }, [&f] {
                const console::TextWindow& w = f.console_window()->model();
                std::string report;
                for (int row = 0; row < w.state().last_line(); ++row) {
                    if (w.line(row).starts_with("? ")) report += std::string(w.line(row)) + "|";
                }
                record_fact("report", report);
                f.close();  // closing the frame is Exit
            })
            .then("the save question: No", [] { return modal<QMessageBox>() != nullptr; },
                  [] { answer_box(QMessageBox::No); });
    }),
                ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(read_facts("facts").at("report"),
              "? FORTRAN Runtime Error:|? Illegal character in numeric input|? READ(UNIT=*,...|");
}

// The sample's Samoa session with New Zealand (507) for Samoa (541).
std::vector<std::string> new_zealand_answers() {
    std::vector<std::string> answers =
        split_lines(read_file((fs::path(CORVANE_FIXTURES_DIR) / "sample_samoa" / "input").string()), "\n");
    std::replace(answers.begin(), answers.end(), std::string("541"), std::string("507"));
    return answers;
}

// A shortcut pressed in the console, its frame the active window again after a dialog.
void press_ctrl(DesktopFrame& f, Qt::Key key) {
    f.activateWindow();
    QCoreApplication::processEvents();
    QTest::keyClick(f.console_window(), key, Qt::ControlModifier);
}

bool has_line(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

TEST(DesktopSessionDeathTest, BackspacesStopAtTheAnswerTypeAheadWaitsForItsReadAndTheShortcutsWork) {
    SessionDirectory session;
    const fs::path console_dir = session.path() / "console", frame_dir = session.path() / "frame";
    const std::vector<std::string> answers = new_zealand_answers();
    if (session.owner()) {
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", console_dir);
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", frame_dir);
        std::ofstream input(session.path() / "input", std::ios::binary);
        for (const std::string& answer : answers) input << answer << '\n';
        input.close();
        EXPECT_EQ(run_console_program(console_dir, session.path() / "input"), 0);
    }
    fs::current_path(frame_dir);
    const QString dir = QString::fromStdString(frame_dir.string());

    EXPECT_EXIT(run_desktop([&](DesktopFrame& f, ScriptedUser& user) {
        user.then("the first prompt", [&f] { return reading(f); }, [&f, answers] {
                record_fact("state_at_prompt", f.program_state_text().toStdString());
                frame::TextWindowWidget* w = f.console_window();
                // 12, five Backspaces, 1: the Backspaces stop at the answer, which is 1.
                QTest::keyClicks(w, "12");
                for (int i = 0; i < 5; ++i) QTest::keyClick(w, Qt::Key_Backspace);
                type_line(w, "1");
                // All the rest at once, before the program has written its next prompt: the
                // confirmation as F, three Lefts and T, which reads "TF", true.
                QTest::keyClicks(w, "F");
                for (int i = 0; i < 3; ++i) QTest::keyClick(w, Qt::Key_Left);
                type_line(w, "T");
                for (std::size_t i = 2; i < answers.size(); ++i) type_line(w, QString::fromStdString(answers[i]));
                record_fact("held", std::to_string(w->model().held_input()));
            })
            .then("Ctrl+S at the end", [&f] { return f.console().program_ended(); }, [&f] {
                std::ofstream lines("window_lines", std::ios::binary);
                const console::TextWindow& w = f.console_window()->model();
                for (int row = 0; row < w.state().last_line(); ++row) lines << w.line(row) << '\n';
                record_fact("state_at_end", f.program_state_text().toStdString());
                press_ctrl(f, Qt::Key_S);
            })
            .then("the save dialog", [] { return modal<QFileDialog>() != nullptr; },
                  [dir] { choose_file(dir + "/transcript.txt"); })
            .then("Ctrl+P", no_dialog, [&f] { press_ctrl(f, Qt::Key_P); })
            .then("the print dialog", [] { return modal<QPrintDialog>() != nullptr; }, [] {
                record_fact("print_dialog", "shown");
                modal<QPrintDialog>()->done(QDialog::Rejected);
            })
            .then("Ctrl+Q", no_dialog, [&f] { press_ctrl(f, Qt::Key_Q); });
    }),
                ::testing::ExitedWithCode(0), "");

    for (std::string_view file : output_files) {
        EXPECT_TRUE(read_file((console_dir / file).string()) == read_file((frame_dir / file).string())) << file;
    }
    const std::map<std::string, std::string> facts = read_facts(frame_dir / "facts");
    EXPECT_EQ(facts.at("state_at_prompt"), "Waiting for your answer");
    EXPECT_EQ(facts.at("state_at_end"), "Finished: File \u25B8 Exit closes the program");
    EXPECT_GT(std::stoi(facts.at("held")), 10);
    EXPECT_EQ(facts.at("print_dialog"), "shown");
    const std::vector<std::string> lines = split_lines(read_file((frame_dir / "window_lines").string()), "\n");
    EXPECT_TRUE(has_line(lines, " Enter data type desired [0-9] :> 1"));
    EXPECT_TRUE(has_line(lines, "    Enter [T]rue or [F]alse :> TF"));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.ends_with(":> 507"); }));
    // Saved by Ctrl+S, and no control character was typed by the shortcuts.
    const std::string saved = read_file((frame_dir / "transcript.txt").string());
    EXPECT_EQ(split_lines(saved, "\r\n"), lines);
    EXPECT_EQ(saved.find_first_of("\x10\x11\x13"), std::string::npos);
}

// The desktop program as its main function starts it without --data-dir: the data folder is
// settled before the dialogue.
[[noreturn]] void run_desktop_asking_for_data(const Script& script) {
    units::reset_runtime_options();
    char name[] = "corvane";
    char* argv[] = {name, nullptr};
    units::start_runtime(1, argv);
    DesktopFrame frame(QStringLiteral("corvane"));
    if (!frame.start()) std::_Exit(6);
    ScriptedUser user;
    script(frame, user);
    user.start();
    frame.data_folder().settle_at_start(false);
    app::run_dialogue();
}

void note(const fs::path& file, const std::string& key, const std::string& value) {
    std::ofstream(file, std::ios::app | std::ios::binary) << key << '=' << value << '\n';
}

TEST(DesktopSessionDeathTest, TheDataFolderIsAskedForAndWhatTheUserChoseIsKeptForTheNextStart) {
    SessionDirectory session;
    const fs::path home = session.path() / "home", data = session.path() / "data", other = session.path() / "other";
    const fs::path first = session.path() / "first", second = session.path() / "second";
    if (session.owner()) {
        fs::create_directories(home);
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", data);
        copy_data_set(fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample", other);
        ::setenv("XDG_CONFIG_HOME", (session.path() / "config").c_str(), 1);
    }
    const QString data_folder = QString::fromStdString(data.string()), other_folder = QString::fromStdString(other.string());
    const QString missing_folder = QString::fromStdString((session.path() / "gone").string());

    // First start, from the home folder: the question, then a font, a colour, a size, and
    // "Open data folder…" twice, first with a folder that is not there.
    fs::current_path(home);
    EXPECT_EXIT(run_desktop_asking_for_data([&](DesktopFrame& f, ScriptedUser& user) {
        static QString answer;
        answer = data_folder;
        f.data_folder().set_chooser([&first](const QString& start) -> std::optional<QString> {
            static int asked = 0;
            note(first, "asked_from_" + std::to_string(++asked), start.toStdString());
            return answer;
        });
        f.data_folder().set_warner([&first](const QString& text) { note(first, "warning", text.toStdString()); });
        user.then("the first prompt: Font", [&f] { return reading(f); }, [&f, &first] {
                note(first, "folder", QDir::currentPath().toStdString());
                note(first, "title", f.windowTitle().toStdString());
                f.action(console::command_font)->trigger();
            })
            .then("the font dialog", [] { return modal<QFontDialog>() != nullptr; }, [] {
                modal<QFontDialog>()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 15));
                modal<QFontDialog>()->accept();
            })
            .then("Color", no_dialog, [&f] { f.action(console::command_colour)->trigger(); })
            .then("the colour dialog", [] { return modal<QColorDialog>() != nullptr; }, [] {
                modal<QColorDialog>()->setCurrentColor(QColor(Qt::darkGreen));
                modal<QColorDialog>()->accept();
            })
            .then("a size, and a folder that is not there", no_dialog, [&f, missing_folder, other_folder, &first] {
                f.resize(640, 420);
                note(first, "font", f.console_window()->text_font().toString().toStdString());
                answer = missing_folder;
                f.action(frame::command_open_data_folder)->trigger();
                answer = other_folder;
                f.action(frame::command_open_data_folder)->trigger();
                note(first, "title_pending", f.windowTitle().toStdString());
                type_line(f.console_window(), "1");
                type_line(f.console_window(), "F");  // not this variable: the dialogue starts over
            })
            .then("the next pass", [&f] { return reading(f); }, [&f, &first] {
                note(first, "next_pass_folder", QDir::currentPath().toStdString());
                note(first, "next_pass_title", f.windowTitle().toStdString());
                press_ctrl(f, Qt::Key_Q);
            })
            .then("the save question: No", [] { return modal<QMessageBox>() != nullptr; },
                  [] { answer_box(QMessageBox::No); });
    }),
                ::testing::ExitedWithCode(0), "");

    // Second start, from the home folder again: the question starts at the folder chosen
    // last; cancelled, the program stays where it was started.
    fs::current_path(home);
    EXPECT_EXIT(run_desktop_asking_for_data([&](DesktopFrame& f, ScriptedUser& user) {
        f.data_folder().set_chooser([&second](const QString& start) -> std::optional<QString> {
            note(second, "asked_from", start.toStdString());
            return std::nullopt;
        });
        user.then("the first prompt", [&f] { return reading(f); }, [&f, &second] {
                note(second, "folder", QDir::currentPath().toStdString());
                note(second, "font", f.console_window()->text_font().toString().toStdString());
                note(second, "colour", f.console_window()->display_text_colour().name().toStdString());
                note(second, "size", std::to_string(f.width()) + "x" + std::to_string(f.height()));
                press_ctrl(f, Qt::Key_Q);
            })
            .then("the save question: No", [] { return modal<QMessageBox>() != nullptr; },
                  [] { answer_box(QMessageBox::No); });
    }),
                ::testing::ExitedWithCode(0), "");

    const auto one = read_facts(first), two = read_facts(second);
    EXPECT_EQ(one.at("asked_from_1"), QDir::homePath().toStdString());  // nothing remembered yet
    EXPECT_EQ(one.at("asked_from_2"), data.string());
    EXPECT_EQ(one.at("folder"), data.string());
    EXPECT_EQ(one.at("title"), "corvane \u2014 " + data.string());
    EXPECT_NE(one.at("warning").find("The folder " + (session.path() / "gone").string() + " cannot be written to"),
              std::string::npos);
    EXPECT_EQ(one.at("title_pending"), "corvane \u2014 " + data.string() + " (next pass: " + other.string() + ")");
    EXPECT_EQ(one.at("next_pass_folder"), other.string());
    EXPECT_EQ(one.at("next_pass_title"), "corvane \u2014 " + other.string());

    EXPECT_EQ(two.at("asked_from"), other.string());
    EXPECT_EQ(two.at("folder"), home.string());
    EXPECT_EQ(two.at("font"), one.at("font"));
    EXPECT_EQ(two.at("colour"), QColor(Qt::darkGreen).name().toStdString());
    EXPECT_EQ(two.at("size"), "640x420");
}

TEST(DesktopProgram, HelpVersionAndWithoutAWindowSystemStatus6) {
    ScratchDirectory scratch;
    // --help and --version need no window system.
    for (const char* option : {"--help", "--version"}) {
        const std::string run = std::string("QT_QPA_PLATFORM=no-such-platform ") + CORVANE_DESKTOP_PROGRAM + " " + option + " > out";
        EXPECT_EQ(std::system(run.c_str()), 0) << option;
        EXPECT_NE(read_file("out").find("corvane"), std::string::npos) << option;
    }
    const std::string command = std::string("QT_QPA_PLATFORM=no-such-platform ") + CORVANE_DESKTOP_PROGRAM + " 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 6);
}

}  // namespace
}  // namespace corvane::testing
