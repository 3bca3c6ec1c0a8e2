#include "frame/printing.hpp"

#include <QCoreApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame/dialogs.hpp"

namespace corvane::frame {

namespace {
constexpr int max_page = 32767;
}

std::optional<PrintChoice> run_print_dialog(QPrinter& printer, QWidget* owner, bool offer_selection) {
    printer.setCollateCopies(true);
    printer.setCopyCount(1);
    printer.setFromTo(1, 1);
    QPrintDialog dialog(&printer, owner);
    dialog.setMinMax(1, max_page);
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintSelection, offer_selection);
    options.setFlag(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PrintChoice choice;
    if (dialog.printRange() == QAbstractPrintDialog::PageRange)
        choice.pages = console::PageRange{printer.fromPage(), printer.toPage()};
    return choice;
}

PrintingBox::PrintingBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle(framework_caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Printing..."), this));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, [this] { printing_ = false; });
    setModal(true);
    show();
}

bool PrintingBox::go_on() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return printing_;
}

}  // namespace corvane::frame
