#include "frame/child_window.hpp"

#include <QCloseEvent>

namespace corvane::frame {

ChildWindow::ChildWindow(QWidget* widget, ChildContent& content) : content_(content) {
    setWidget(widget);
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {  // a second close while the first is being carried out
        event->accept();
        return;
    }
    if (!content_.may_close()) {
        event->ignore();
        return;
    }
    closed_ = true;
    emit closing();
    QMdiSubWindow::closeEvent(event);
}

}  // namespace corvane::frame
