// Scroll ranges with their two rows of slack, the scroll requests of both bars, the way
// Enter and long lines move the view, and what a paint draws.
#include <gtest/gtest.h>

#include <string>

#include "console_fakes.hpp"

namespace corvane::testing {
namespace {

using console::ScrollRequest;
namespace keys = console::keys;

void write_lines(ModelWindow& m, int count) {
    for (int n = 1; n <= count; ++n) m.write("line " + std::to_string(n) + "\r\n");
}

TEST(TextWindowScroll, VerticalRangeKeepsTwoRowsOfSlackAndTheViewFollowsTheEnd) {
    struct Case {
        int lines;
        int rows;
        int range;
    };
    for (const Case c : {Case{10, 20, 0}, Case{18, 20, 0}, Case{19, 20, 1}, Case{30, 20, 12}}) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines in " + std::to_string(c.rows) + " rows");
        ModelWindow m(80, c.rows);
        write_lines(m, c.lines);
        EXPECT_EQ(m.window.state().vertical_range, c.range);
        EXPECT_EQ(m.window.state().vertical_offset, c.range);
        EXPECT_EQ(m.view.vertical.range, c.range);
        EXPECT_EQ(m.view.vertical.position, c.range);
    }
}

TEST(TextWindowScroll, EnterScrollsTheContentsUpByOneLineHeight) {
    ModelWindow m(80, 20);
    write_lines(m, 18);
    m.view.forget();
    m.write("line 19\r\n");
    ASSERT_EQ(m.view.scrolls.size(), 1u);
    EXPECT_EQ(m.view.scrolls[0], (std::pair{0, -16}));
    EXPECT_EQ(m.window.state().vertical_offset, 1);
    // The caret waits on row 19, which is the 19th visible row.
    EXPECT_EQ(m.view.caret_y, (19 - 1) * 16);
}

TEST(TextWindowScroll, VerticalRequestsMoveWithinTheRange) {
    ModelWindow m(80, 20);
    write_lines(m, 100);  // range 82, standing at the end
    struct Step {
        const char* name;
        ScrollRequest request;
        int thumb;
        int offset;
    };
    const Step steps[] = {
        {"top", ScrollRequest::top, 0, 0},
        {"line up at the top", ScrollRequest::line_up, 0, 0},
        {"line down", ScrollRequest::line_down, 0, 1},
        {"page down", ScrollRequest::page_down, 0, 21},
        {"page up", ScrollRequest::page_up, 0, 1},
        {"page up past the top", ScrollRequest::page_up, 0, 0},
        {"thumb dragged", ScrollRequest::thumb_track, 50, 50},
        {"thumb released is not for this bar", ScrollRequest::thumb_position, 10, 50},
        {"thumb dragged past the end", ScrollRequest::thumb_track, 500, 82},
        {"bottom", ScrollRequest::bottom, 0, 82},
        {"other", ScrollRequest::other, 0, 82},
    };
    int previous = m.window.state().vertical_offset;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        m.view.forget();
        m.window.vertical_scroll(step.request, step.thumb);
        EXPECT_EQ(m.window.state().vertical_offset, step.offset);
        EXPECT_EQ(m.view.vertical.position, step.offset);
        if (step.offset == previous) {
            EXPECT_TRUE(m.view.scrolls.empty());
        } else {
            EXPECT_EQ(m.view.scrolls, (std::vector<std::pair<int, int>>{{0, (previous - step.offset) * 16}}));
        }
        previous = step.offset;
    }
    // The keys scroll the view, never the caret.
    m.window.key_down(keys::home);
    m.window.key_down(keys::down);
    m.window.key_down(keys::page_down);
    EXPECT_EQ(m.window.state().vertical_offset, 21);
    m.window.key_down(keys::up);
    EXPECT_EQ(m.window.state().vertical_offset, 20);
    m.window.key_down(keys::end);
    EXPECT_EQ(m.window.state().vertical_offset, 82);
    EXPECT_EQ(m.window.state().caret_row, 100);
}

TEST(TextWindowScroll, PageDownWithoutVisibleRowsMovesOneRowAndNoRangeMeansNoScroll) {
    ModelWindow tiny(80, 0);
    write_lines(tiny, 5);
    tiny.window.key_down(keys::home);
    tiny.window.key_down(keys::page_down);
    EXPECT_EQ(tiny.window.state().vertical_offset, 1);

    ModelWindow roomy(80, 20);
    write_lines(roomy, 3);
    roomy.view.forget();
    roomy.window.key_down(keys::end);
    roomy.window.key_down(keys::page_down);
    EXPECT_EQ(roomy.window.state().vertical_offset, 0);
    EXPECT_TRUE(roomy.view.scrolls.empty());
}

TEST(TextWindowScroll, ALongLineScrollsRightWhileTypedAndBackAtEnter) {
    ModelWindow m(40, 10);
    m.write(std::string(100, 'x'));
    const auto& s = m.window.state();
    EXPECT_EQ(s.widest_line, 100);
    EXPECT_EQ(s.horizontal_range, 60);
    EXPECT_EQ(s.horizontal_offset, 59);
    m.write("\r\n");
    EXPECT_EQ(s.horizontal_offset, 0);
    EXPECT_EQ(s.horizontal_range, 60);  // the widest line still counts

    struct Step {
        ScrollRequest request;
        int thumb;
        int offset;
    };
    const Step steps[] = {{ScrollRequest::line_down, 0, 1},       {ScrollRequest::page_down, 0, 9},
                          {ScrollRequest::thumb_position, 30, 30}, {ScrollRequest::thumb_track, 5, 30},
                          {ScrollRequest::line_up, 0, 29},         {ScrollRequest::page_up, 0, 21},
                          {ScrollRequest::bottom, 0, 21},          {ScrollRequest::thumb_position, 99, 60},
                          {ScrollRequest::top, 0, 0}};
    for (const Step& step : steps) {
        m.view.forget();
        const int before = s.horizontal_offset;
        m.window.horizontal_scroll(step.request, step.thumb);
        EXPECT_EQ(s.horizontal_offset, step.offset);
        if (before != step.offset) {
            EXPECT_EQ(m.view.scrolls, (std::vector<std::pair<int, int>>{{(before - step.offset) * 8, 0}}));
        }
    }
}

TEST(TextWindowScroll, ResizeRecomputesVisibleCellsAndClampsOffsets) {
    ModelWindow m(80, 20);
    write_lines(m, 30);
    EXPECT_EQ(m.window.state().vertical_offset, 12);
    m.window.resized(80 * 8 + 7, 40 * 16 + 15);  // partial cells do not count
    EXPECT_EQ(m.window.state().visible_columns, 80);
    EXPECT_EQ(m.window.state().visible_rows, 40);
    EXPECT_EQ(m.window.state().vertical_range, 0);
    EXPECT_EQ(m.window.state().vertical_offset, 0);
}

TEST(TextWindowScroll, PaintDrawsTheInvalidRowsThenTheSelection) {
    ModelWindow m(80, 20);
    write_lines(m, 30);  // offset 12: row 12 is at the top
    m.window.double_click(0, 16);  // row 13: "line 14"
    m.window.button_up();
    RecordingPainter painter;
    m.window.paint({0, 0, 80 * 8, 20 * 16}, painter);

    ASSERT_EQ(painter.runs.size(), 19u + 1u);  // rows 11 to 29, then the selection
    EXPECT_EQ(painter.runs.front().text, "line 12");
    EXPECT_EQ(painter.runs.front().y, -16);
    EXPECT_EQ(painter.runs[18].text, "line 30");
    EXPECT_EQ(painter.runs[18].y, (29 - 12) * 16);
    EXPECT_FALSE(painter.runs[18].background.has_value());
    const RecordingPainter::Run& selected = painter.runs.back();
    EXPECT_EQ(selected.text, "line");
    EXPECT_EQ(selected.x, 0);
    EXPECT_EQ(selected.y, 16);
    EXPECT_EQ(selected.foreground, console::colour_white);
    EXPECT_EQ(selected.background, console::colour_blue);
    EXPECT_TRUE(m.view.enabled[console::command_save]);

    // A strip draws its rows and the one above them; the selection is drawn in any case.
    m.window.mark_saved();
    RecordingPainter strip;
    m.window.paint({0, 5 * 16, 80 * 8, 16}, strip);
    ASSERT_EQ(strip.runs.size(), 4u);
    EXPECT_EQ(strip.runs[0].text, "line 17");
    EXPECT_EQ(strip.runs[2].text, "line 19");
    EXPECT_FALSE(m.view.enabled[console::command_save]);
}

}  // namespace
}  // namespace corvane::testing
