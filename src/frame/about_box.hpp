// The About box: "About Tessel", the framework's line, two lines on this program, and the
// machine's page size, address range, processor type and number of processors.
#pragma once

#include <QDialog>

namespace corvane::frame {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* owner);
};

}  // namespace corvane::frame
