// The frame's event pump over Qt's event loop. The application runs on the GUI thread, so
// this is the only loop there is: the console hooks run it while a read waits, after
// writes, at I/O steps and after the program has ended.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>

#include "console/event_pump.hpp"

class QThread;

namespace corvane::frame {

class QtEventPump : public console::EventPump {
public:
    QtEventPump();

    // Handles what is pending. The engine calls this at every I/O step, so a drain within a
    // few milliseconds of the last one returns at once: the user sees no difference and an
    // extraction does not spend its time asking the window system for nothing.
    void drain() override;
    // Handles pending events and waits for more when there are none.
    void wait_and_handle() override;
    void request_quit(int code) override;
    bool quit_requested() const override { return quit_; }
    int quit_code() const { return quit_code_; }

private:
    void handle_pending();
    void wake_gui_thread();

    bool quit_ = false;
    int quit_code_ = 0;
    std::chrono::steady_clock::time_point last_drain_{};
    QThread* gui_thread_;
    // Qt cannot say cheaply whether events wait, so a ticker raises the pending flag a
    // hundred times a second: a long run of file I/O with no console output still lets
    // the windows repaint and the menus answer. It also wakes a wait for events once an
    // interrupting signal has arrived. Declared last: it stops first.
    std::mutex ticker_mutex_;
    std::condition_variable_any ticker_wake_;
    std::jthread ticker_;
};

}  // namespace corvane::frame
