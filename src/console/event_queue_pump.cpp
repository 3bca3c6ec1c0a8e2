#include "console/event_queue_pump.hpp"

namespace corvane::console {

void EventQueuePump::wait_and_handle() {
    if (quit_) return;
    if (queue_.empty()) idle();
    if (!queue_.empty()) handle_one();
    else if (!quit_) request_quit(0);  // nothing will ever come: waiting would never end
    set_events_pending(!queue_.empty());
}

void EventQueuePump::handle_one() {
    Event event = std::move(queue_.front());
    queue_.pop_front();
    event();
}

}  // namespace corvane::console
