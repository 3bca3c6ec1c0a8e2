// What a child window asks of the widget it carries, and the one thing a widget may tell
// the frame: the state of a menu command. A child never sees the frame; the frame hands
// each widget the state it works on and a callback for its menu states.
#pragma once

#include <functional>

namespace corvane::frame {

// Enables or grays a command of the frame's menu bar.
using CommandStateCallback = std::function<void(int command, bool enabled)>;

class ChildContent {
public:
    virtual ~ChildContent() = default;
    // The save question: true when the window may close.
    virtual bool may_close() = 0;
    // A menu command of the frame while this window is the active one.
    virtual void command(int id) = 0;
    // The window became the active one: the menu shows the content's own command states.
    virtual void show_command_states() = 0;
};

}  // namespace corvane::frame
