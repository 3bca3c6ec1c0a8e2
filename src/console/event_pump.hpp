// The frame's message loop as the console hooks see it. There is no main loop: the hooks
// run this pump while a read waits, after each write, at each I/O step, and after the
// program has ended.
#pragma once

#include <atomic>

namespace corvane::console {

class EventPump {
public:
    virtual ~EventPump() = default;

    // Handles every event already pending and returns without waiting.
    virtual void drain() = 0;
    // Waits until at least one event has been handled, or the loop has been told to quit.
    virtual void wait_and_handle() = 0;
    // Tells the loop to quit; `quit_requested` stays true from then on.
    virtual void request_quit(int code) = 0;
    virtual bool quit_requested() const = 0;

    // Whether `drain` may have anything to do. The engine polls at every statement and
    // item, so a poll tests this flag first and costs no more when nothing waits. A pump
    // sets it when events arrive; one that cannot tell sets it from a timer (the only work
    // another thread may do here) so that long runs of I/O still let the windows live.
    bool events_pending() const { return pending_.load(std::memory_order_relaxed); }
    void set_events_pending(bool pending) { pending_.store(pending, std::memory_order_relaxed); }
    const std::atomic<bool>& pending_flag() const { return pending_; }

private:
    std::atomic<bool> pending_{false};
};

}  // namespace corvane::console
