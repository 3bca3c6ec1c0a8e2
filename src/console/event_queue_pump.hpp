// A pump over a plain queue of posted events, for a frame without a window system of its
// own: scripted sessions, the tests and the benchmarks use it. Waiting on an empty queue
// calls `idle`; if that posts nothing, the loop quits, since nobody else could post.
#pragma once

#include <deque>
#include <functional>

#include "console/event_pump.hpp"

namespace corvane::console {

class EventQueuePump : public EventPump {
public:
    using Event = std::function<void()>;

    void post(Event event) {
        queue_.push_back(std::move(event));
        set_events_pending(true);
    }
    std::size_t pending() const { return queue_.size(); }

    void drain() override {
        while (!queue_.empty()) handle_one();
        set_events_pending(false);
    }
    void wait_and_handle() override;
    void request_quit(int code) override {
        quit_ = true;
        quit_code_ = code;
    }
    bool quit_requested() const override { return quit_; }
    int quit_code() const { return quit_code_; }

protected:
    // Called when a wait finds nothing queued: post events, or request quit.
    virtual void idle() {}

private:
    void handle_one();

    std::deque<Event> queue_;
    bool quit_ = false;
    int quit_code_ = 0;
};

}  // namespace corvane::console
