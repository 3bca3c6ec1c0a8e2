#include "console/frame_state.hpp"

namespace corvane::console {

int FrameState::add_command(CommandRoutine routine) {
    command_routine.push_back(routine);
    return next_command_id++;
}

bool FrameState::run_command(int id, bool checked) const {
    if (id < first_command_id || id >= next_command_id) return false;
    if (CommandRoutine routine = command_routine[static_cast<std::size_t>(id - first_command_id)]) routine(checked ? 1 : 0);
    return true;
}

int FrameState::take_timer_slot(int id, TimerRoutine routine) {
    if (id == 0) return -1;
    for (std::size_t slot = 0; slot < timer_id.size(); ++slot) {
        if (timer_id[slot] != 0) continue;
        timer_id[slot] = id;
        timer_routine[slot] = routine;
        return static_cast<int>(slot);
    }
    return -1;
}

void FrameState::free_timer_slot(int id) {
    if (id == 0) return;
    for (std::size_t slot = 0; slot < timer_id.size(); ++slot) {
        if (timer_id[slot] != id) continue;
        timer_id[slot] = 0;
        timer_routine[slot] = nullptr;
        return;
    }
}

void FrameState::timer_fired(int id) const {
    for (std::size_t slot = 0; slot < timer_id.size(); ++slot) {
        if (timer_id[slot] == id && timer_routine[slot]) timer_routine[slot]();
    }
}

}  // namespace corvane::console
