#include "console/window_registry.hpp"

namespace corvane::console {

int WindowRegistry::take_slot(std::int32_t unit_code) {
    if (slots_used_ >= slot_count) return -1;
    unit_code_[static_cast<std::size_t>(slots_used_)] = unit_code;
    return slots_used_++;
}

int WindowRegistry::register_window(TextWindow& window) {
    if (slots_used_ == 0) return -1;
    window_[static_cast<std::size_t>(slots_used_ - 1)] = &window;
    return ++open_windows_;
}

TextWindow* WindowRegistry::find(std::int32_t unit_code) {
    if (slots_used_ == 0) return nullptr;
    if (unit_code < 0) unit_code_[0] = unit_code;
    for (int slot = slots_used_ - 1; slot >= 0; --slot) {
        if (unit_code_[static_cast<std::size_t>(slot)] == unit_code) return window_[static_cast<std::size_t>(slot)];
    }
    return nullptr;
}

void WindowRegistry::window_closed(const TextWindow& window) {
    for (int slot = 0; slot < slots_used_; ++slot) {
        if (window_[static_cast<std::size_t>(slot)] == &window) {
            window_[static_cast<std::size_t>(slot)] = nullptr;
            --open_windows_;
            return;
        }
    }
}

}  // namespace corvane::console
