// The frame's own bookkeeping that needs no toolkit: the routines of menu commands an
// application adds (identifiers from 800 on), the 100 timer slots, the end-of-program flag
// and the state of the wait operation. The desktop frame keeps its window handles, menus
// and accelerators beside it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace corvane::console {

struct FrameState {
    using CommandRoutine = void (*)(int checked);
    using TimerRoutine = void (*)();

    static constexpr int first_command_id = 800;
    static constexpr int timer_slot_count = 100;

    int next_command_id = first_command_id;
    std::vector<CommandRoutine> command_routine;  // by identifier - first_command_id; may be null
    std::array<int, timer_slot_count> timer_id{};  // 0: the slot is free
    std::array<TimerRoutine, timer_slot_count> timer_routine{};
    bool program_ended = false;  // the end-of-program loop has begun
    bool timer_elapsed = true;
    int wait_delay = 100;        // ms
    int wait_resolution = 10;    // ms

    // A new menu command: its identifier, with the routine (or none) remembered.
    int add_command(CommandRoutine routine);
    // Calls the routine of an added command; false when the identifier is not one of them.
    bool run_command(int id, bool checked) const;

    // Takes the first free timer slot for `id` (not 0); the slot's index, or -1 when none
    // is free. The frame starts the toolkit's timer and frees the slot again if it cannot.
    int take_timer_slot(int id, TimerRoutine routine);
    // Frees the slot of `id`; an unknown id changes nothing.
    void free_timer_slot(int id);
    // A timer fired: every slot with that id and a routine runs it.
    void timer_fired(int id) const;
};

}  // namespace corvane::console
