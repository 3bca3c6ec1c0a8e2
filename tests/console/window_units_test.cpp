// Window units: the registry of unit codes and windows, OPEN of a window with its size
// text, the 100-slot limit, the limit of open windows, and the file-name dialog of an
// OPEN that names no file.
#include <gtest/gtest.h>

#include <string>

#include "console/window_registry.hpp"
#include "console/window_spec.hpp"
#include "fmtio/statement_api.hpp"
#include "frame_fixture.hpp"
#include "units/connection_statements.hpp"

namespace corvane::testing {
namespace {

using console::WindowRegistry;

// Units above the console's numbers (0, 5, 6 and 9 name the console).
constexpr int first_window_unit = 100;

int open_window_unit(int unit, std::string_view title = "Plot", std::string_view size_text = "") {
    std::int32_t status = -99;
    units::open_unit({.unit = unit, .control = units::with_iostat(status), .access = "WINDOW", .title = title,
                      .window_spec = size_text});
    return status;
}

TEST(WindowRegistry, SlotsOnlyGrowAndNegativeCodesMeanTheConsole) {
    ModelWindow console_model, first_model, second_model;
    console::TextWindow& console_window = console_model.window;
    console::TextWindow& first = first_model.window;
    console::TextWindow& second = second_model.window;
    WindowRegistry r;
    EXPECT_EQ(r.find(-3), nullptr);  // nothing reserved yet

    EXPECT_EQ(r.take_slot(-1), 0);
    EXPECT_EQ(r.register_window(console_window), 1);
    EXPECT_EQ(r.take_slot(20), 1);
    EXPECT_EQ(r.register_window(first), 2);
    for (int code : {-1, -2, -3, -4, -12}) {
        EXPECT_EQ(r.find(code), &console_window) << code;
        EXPECT_EQ(r.unit_code(0), code);  // the code is written into slot 0
    }
    EXPECT_EQ(r.find(20), &first);
    EXPECT_EQ(r.find(21), nullptr);

    // A closed window keeps its slot and code; a new window for the unit takes a new slot.
    r.window_closed(first);
    EXPECT_EQ(r.open_windows(), 1);
    EXPECT_EQ(r.find(20), nullptr);
    EXPECT_EQ(r.unit_code(1), 20);
    EXPECT_EQ(r.take_slot(20), 2);
    r.register_window(second);
    EXPECT_EQ(r.find(20), &second);
    EXPECT_EQ(r.slots_used(), 3);
    EXPECT_EQ(r.open_windows(), 2);

    // Every slot taken: the next one is refused.
    while (r.slots_used() < WindowRegistry::slot_count) r.take_slot(30);
    EXPECT_EQ(r.take_slot(31), -1);
    EXPECT_EQ(r.slots_used(), WindowRegistry::slot_count);
}

TEST(WindowRegistry, SizeTextGivesWidthAndHeightOrTheDefault) {
    struct Case {
        std::string_view size_text;
        std::optional<console::WindowSize> size;
    };
    const Case cases[] = {
        {"w,300,200", console::WindowSize{300, 200}},
        {",640 , 480,more,pieces", console::WindowSize{640, 480}},
        {"x, 3 0 0,200", console::WindowSize{300, 200}},  // blanks are skipped anywhere
        {"x,300", std::nullopt},                          // fewer than three pieces
        {"", std::nullopt},
        {"x,300,-200", std::nullopt},                     // a sign makes the piece 0
        {"x,30a,200", std::nullopt},
        {"x,256,255", std::nullopt},                      // no set bit in common
        {"x,257,255", console::WindowSize{257, 255}},
        {"x,99999999999999999999,300", std::nullopt},     // too large for a window
    };
    for (const Case& c : cases) EXPECT_EQ(console::parse_window_size(c.size_text), c.size) << c.size_text;

    // Only the first 100 characters count.
    const std::string padded = std::string(98, 'x') + ",300,200";
    EXPECT_EQ(console::parse_window_size(padded), std::nullopt);
}

TEST(WindowUnits, OpenMakesATitledWindowThatTheUnitWritesAndReads) {
    FrameFixture f;
    EXPECT_EQ(open_window_unit(20, "Plot", "w,300,200"), 0);
    ASSERT_EQ(f.host.created.size(), 1u);
    EXPECT_EQ(f.host.created[0].title, "Plot");
    EXPECT_EQ(f.host.created[0].size, (console::WindowSize{300, 200}));
    console::TextWindow* w = f.frame.registry().find(20);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(f.frame.registry().slots_used(), 2);

    fmtio::write(units::unit(20), fmtio::fmt<"(a,$)">, "Size? ");
    f.answer_with("12\r", w);
    std::int32_t size = 0;
    fmtio::read(units::unit(20), fmtio::fmt<"(i3)">, size);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(lines_of(*w), (std::vector<std::string>{"Size? 12"}));
    EXPECT_EQ(f.console_window->state().last_line(), 0);

    // CLOSE leaves the window open; a window the host cannot make fails its OPEN as a bad window.
    EXPECT_EQ(units::close_unit(20), units::outcome_ok);
    EXPECT_EQ(f.frame.registry().find(20), w);
    f.host.refuse_windows = true;
    EXPECT_EQ(open_window_unit(21), 10035);
}

TEST(WindowUnits, AllSlotsTakenRefusesTheNextWindowUnit) {
    FrameFixture f;
    // Windows the user closes again: slots are used up, open windows are not.
    for (int unit = first_window_unit; unit < first_window_unit + WindowRegistry::slot_count - 1; ++unit) {
        ASSERT_EQ(open_window_unit(unit), 0) << unit;
        f.frame.window_closed(*f.frame.registry().find(unit));
        units::close_unit(unit);
    }
    EXPECT_EQ(f.frame.registry().slots_used(), WindowRegistry::slot_count);
    EXPECT_EQ(open_window_unit(first_window_unit), 10035);
    EXPECT_EQ(f.host.created.size(), static_cast<std::size_t>(WindowRegistry::slot_count - 1));
}

TEST(WindowUnitsDeathTest, TheHundredthOpenWindowEndsTheProgram) {
    FrameFixture f;
    EXPECT_EXIT(
        {
            for (int unit = first_window_unit; unit < first_window_unit + WindowRegistry::slot_count - 1; ++unit)
                open_window_unit(unit);
        },
        ::testing::ExitedWithCode(255),
        "\\[System Error\\] System Error found! \"Maximun window allowed to open is 100\", program stop *\n");
    // The box text is quoted without trailing blanks and padded to 100 characters.
    const std::string text = console::fatal_error_text("FillRect fail   ");
    EXPECT_EQ(text.size(), 100u);
    EXPECT_EQ(text.substr(0, text.find_last_not_of(' ') + 1), "System Error found! \"FillRect fail\", program stop");
    EXPECT_EQ(console::fatal_error_text(std::string(120, 'z')).size(), 100u);
}

TEST(WindowUnits, AnOpenWithoutANameAsksTheFileDialog) {
    ScratchDirectory dir;
    FrameFixture f;
    write_file("chosen.dat", "1\r\n");
    f.host.file_answer = "chosen.dat";
    EXPECT_EQ(units::open_unit({.unit = 12, .file = "", .status = "OLD"}), units::outcome_ok);
    ASSERT_EQ(f.host.file_requests.size(), 1u);
    const console::FileNameRequest& old_file = f.host.file_requests[0];
    EXPECT_EQ(old_file.title, "Open file on FORTRAN UNIT 12");
    EXPECT_TRUE(old_file.open_existing);
    EXPECT_FALSE(old_file.overwrite_prompt);
    EXPECT_EQ(old_file.initial_name, "fort.12");
    EXPECT_EQ(old_file.default_extension, "dat");
    std::int32_t n = 0;
    fmtio::read(units::unit(12), fmtio::fmt<"(i1)">, n);
    EXPECT_EQ(n, 1);
    units::close_unit(12);

    f.host.file_answer = std::nullopt;  // the user cancels
    std::int32_t status = 0;
    units::open_unit({.unit = 13, .control = units::with_iostat(status), .file = "", .status = "NEW"});
    EXPECT_EQ(status, 10014);
    const console::FileNameRequest& new_file = f.host.file_requests.back();
    EXPECT_EQ(new_file.title, "Create file on FORTRAN UNIT 13");
    EXPECT_FALSE(new_file.open_existing);
    EXPECT_TRUE(new_file.overwrite_prompt);
}

}  // namespace
}  // namespace corvane::testing
