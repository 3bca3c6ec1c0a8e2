#include "frame/qt_event_pump.hpp"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "units/interruption.hpp"

namespace corvane::frame {

namespace {
constexpr std::chrono::milliseconds drain_interval{5};
constexpr std::chrono::milliseconds tick_interval{10};
}  // namespace

QtEventPump::QtEventPump()
    : gui_thread_(QThread::currentThread()), ticker_([this](std::stop_token stop) {
          std::unique_lock lock(ticker_mutex_);
          while (!ticker_wake_.wait_for(lock, stop, tick_interval, [] { return false; })) {
              if (stop.stop_requested()) return;
              set_events_pending(true);
              // A wait for events would not end for a signal: wake it so that the run ends.
              if (units::detail::interruption_signal != 0) wake_gui_thread();
          }
      }) {}

void QtEventPump::wake_gui_thread() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(gui_thread_)) dispatcher->wakeUp();
}

void QtEventPump::handle_pending() {
    set_events_pending(false);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Windows closed by the user are deleted here: no nested loop of ours ever returns to
    // a Qt loop that would do it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    last_drain_ = std::chrono::steady_clock::now();
}

void QtEventPump::drain() {
    if (std::chrono::steady_clock::now() - last_drain_ < drain_interval) return;
    handle_pending();
}

void QtEventPump::wait_and_handle() {
    if (quit_) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    handle_pending();
}

void QtEventPump::request_quit(int code) {
    quit_ = true;
    quit_code_ = code;
    wake_gui_thread();
}

}  // namespace corvane::frame
