#include "frame/qt_event_pump.hpp"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace corvane::frame {

namespace {
constexpr std::chrono::milliseconds drain_interval{5};
constexpr std::chrono::milliseconds tick_interval{10};
}  // namespace

QtEventPump::QtEventPump()
    : ticker_([this](std::stop_token stop) {
          std::unique_lock lock(ticker_mutex_);
          while (!ticker_wake_.wait_for(lock, stop, tick_interval, [] { return false; })) {
              if (stop.stop_requested()) return;
              set_events_pending(true);
          }
      }) {}

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
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
        dispatcher->wakeUp();
}

}  // namespace corvane::frame
