// What printing a text or a graphics window shares: the print dialog and the "Printing..."
// box whose Cancel stops the job, with the events of the frame handled between lines.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <optional>

#include "console/print_layout.hpp"

class QWidget;

namespace corvane::frame {

// The print dialog owned by `owner`: collate checked, page range 1 to 1 preset, pages 1 to
// 32767 allowed, one copy. Nothing when cancelled; else the page range when the user chose
// one.
struct PrintChoice {
    std::optional<console::PageRange> pages;
};
std::optional<PrintChoice> run_print_dialog(QPrinter& printer, QWidget* owner, bool offer_selection);

// The "Printing..." box: shown while the job runs; `go_on` handles the events pending
// meanwhile and turns false once Cancel was pressed. The box is modal, so that no menu
// command closes the window being printed under the job.
class PrintingBox : public QDialog {
    Q_OBJECT
public:
    explicit PrintingBox(QWidget* owner);
    bool go_on();

private:
    bool printing_ = true;
};

}  // namespace corvane::frame
