// The frame's message loop as the console hooks see it. There is no main loop: the hooks
// run this pump while a read waits, after each write, at each I/O step, and after the
// program has ended.
#pragma once

namespace corvane::console {

class EventPump {
public:
    virtual ~EventPump() = default;

    // Handles every event already pending and returns without waiting. Called at every I/O
    // step of the engine, so it must be cheap when nothing is pending.
    virtual void drain() = 0;
    // Waits until at least one event has been handled, or the loop has been told to quit.
    virtual void wait_and_handle() = 0;
    // Tells the loop to quit; `quit_requested` stays true from then on.
    virtual void request_quit(int code) = 0;
    virtual bool quit_requested() const = 0;
};

}  // namespace corvane::console
