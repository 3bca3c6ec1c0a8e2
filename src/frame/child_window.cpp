#include "frame/child_window.hpp"

#include <QCloseEvent>

namespace corvane::frame {

ChildWindow::ChildWindow(QWidget* content) {
    setWidget(content);
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {  // a second close while the first is being carried out
        event->accept();
        return;
    }
    if (may_close && !may_close()) {
        if (close_accepted) *close_accepted = false;
        event->ignore();
        return;
    }
    closed_ = true;
    if (closing) closing();
    QMdiSubWindow::closeEvent(event);
}

}  // namespace corvane::frame
