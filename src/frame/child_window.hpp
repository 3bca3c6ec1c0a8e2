// A child window of the frame: the sub-window that carries a text or graphics window in
// the MDI area. Closing asks the content first; a refusal tells the frame's Exit to stop.
#pragma once

#include <QMdiSubWindow>
#include <functional>

namespace corvane::frame {

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget* content);

    // The content's save question: true when the window may close.
    std::function<bool()> may_close;
    // The window is closing for good.
    std::function<void()> closing;
    // A menu command of the frame while this window is active.
    std::function<void(int)> command;
    // The window became the active one: it sets the menu's states to its own.
    std::function<void()> activated;
    // Set when the content refused to close.
    bool* close_accepted = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool closed_ = false;
};

}  // namespace corvane::frame
