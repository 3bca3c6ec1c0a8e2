// The frame's toolkit-free bookkeeping: added menu commands and the timer slots.
#include <gtest/gtest.h>

#include "console/frame_state.hpp"

namespace corvane::testing {
namespace {

using console::FrameState;

int last_checked = -1;
int ticks = 0;
void remember_checked(int checked) { last_checked = checked; }
void tick() { ++ticks; }

TEST(FrameState, AddedCommandsGetIdentifiersFrom800AndRunTheirRoutine) {
    FrameState state;
    EXPECT_EQ(state.add_command(remember_checked), 800);
    EXPECT_EQ(state.add_command(nullptr), 801);
    EXPECT_EQ(state.next_command_id, 802);
    EXPECT_TRUE(state.run_command(800, true));
    EXPECT_EQ(last_checked, 1);
    EXPECT_TRUE(state.run_command(800, false));
    EXPECT_EQ(last_checked, 0);
    EXPECT_TRUE(state.run_command(801, true));  // no routine: nothing runs
    EXPECT_EQ(last_checked, 0);
    EXPECT_FALSE(state.run_command(802, true));
    EXPECT_FALSE(state.run_command(799, true));
}

TEST(FrameState, TimerSlotsRunOutAtAHundredAndUnknownIdsChangeNothing) {
    FrameState state;
    for (int id = 1; id <= FrameState::timer_slot_count; ++id) ASSERT_EQ(state.take_timer_slot(id, tick), id - 1);
    EXPECT_EQ(state.take_timer_slot(101, tick), -1);  // the 101st timer
    const auto before = state.timer_id;
    state.free_timer_slot(555);
    EXPECT_EQ(state.timer_id, before);

    state.free_timer_slot(7);
    EXPECT_EQ(state.take_timer_slot(200, tick), 6);  // the first free slot
    ticks = 0;
    state.timer_fired(200);
    state.timer_fired(7);  // freed: nothing
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(state.take_timer_slot(0, tick), -1);  // 0 marks a free slot, it is no id
}

}  // namespace
}  // namespace corvane::testing
