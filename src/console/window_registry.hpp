// Which window shows which unit. Slot 0 is the console; every window unit opened takes the
// next slot, and slots are never reused, so `slots_used` only grows. A window the user
// closed keeps its unit code in its slot with the window cleared.
#pragma once

#include <array>
#include <cstdint>

namespace corvane::console {

class TextWindow;

class WindowRegistry {
public:
    static constexpr int slot_count = 100;

    // Takes the next slot for `unit_code`; returns it, or -1 when all slots are taken.
    int take_slot(std::int32_t unit_code);

    // Puts a newly created window into the slot taken last and counts it as open. Returns
    // the number of open text windows, or -1 when no slot was taken for it.
    int register_window(TextWindow& window);

    // The window of a unit, or null. Every negative code addresses the console (slot 0);
    // of several slots with one code, the one taken last counts.
    TextWindow* find(std::int32_t unit_code);

    // The user closed a window: its slot keeps the code, the window is forgotten.
    void window_closed(const TextWindow& window);

    std::int32_t slots_used() const { return slots_used_; }
    std::int32_t open_windows() const { return open_windows_; }
    std::int32_t unit_code(int slot) const { return unit_code_[static_cast<std::size_t>(slot)]; }
    TextWindow* window(int slot) const { return window_[static_cast<std::size_t>(slot)]; }

private:
    std::array<std::int32_t, slot_count> unit_code_{};
    std::array<TextWindow*, slot_count> window_{};
    std::int32_t slots_used_ = 0;
    std::int32_t open_windows_ = 0;
};

}  // namespace corvane::console
