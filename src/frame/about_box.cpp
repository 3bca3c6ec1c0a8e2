#include "frame/about_box.hpp"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame/system_info.hpp"

namespace corvane::frame {

namespace {

QLabel* value_field(const QString& text, QWidget* owner) {
    auto* label = new QLabel(text, owner);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("About Tessel"));
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"Tessel Application Framework", "Corvane: station series of the GHCN version 2",
                             "monthly climate data set, extracted by criteria"}) {
        auto* label = new QLabel(QString::fromLatin1(line), this);
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    const SystemInfo info = system_info();
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Page Size"), value_field(QString::number(info.page_size), this));
    fields->addRow(QStringLiteral("Minimum Address"),
                   value_field(QString::fromStdString(hex_address(info.minimum_address)), this));
    fields->addRow(QStringLiteral("Maximum Address"),
                   value_field(QString::fromStdString(hex_address(info.maximum_address)), this));
    fields->addRow(QStringLiteral("Processor Type"), value_field(QString::fromStdString(info.processor_type), this));
    fields->addRow(QStringLiteral("Number of Processors"), value_field(QString::number(info.processors), this));
    layout->addLayout(fields);
    auto* button = new QPushButton(QStringLiteral("Continue"), this);
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(button, 0, Qt::AlignHCenter);
}

}  // namespace corvane::frame
