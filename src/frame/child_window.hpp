// A child window of the frame: the sub-window that carries a text or graphics window in
// the MDI area. A close is carried out only when the content's save question allows it;
// QWidget::close() then returns false, which is how the frame's Exit learns of a refusal.
#pragma once

#include <QMdiSubWindow>

#include "frame/child_content.hpp"

namespace corvane::frame {

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // `widget` is shown; `content` (the same object) answers for it.
    ChildWindow(QWidget* widget, ChildContent& content);

    ChildContent& content() const { return content_; }

signals:
    // The close was accepted: the window goes for good, deleted once control returns to
    // the event loop.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ChildContent& content_;
    bool closed_ = false;
};

}  // namespace corvane::frame
