#include "frame/scripted_user.hpp"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace corvane::testing {

namespace {
constexpr int tick_ms = 2;
constexpr int patience_ticks = 60000 / tick_ms;  // about a minute, more under the sanitizers
}  // namespace

ScriptedUser::ScriptedUser() {
    timer_.setInterval(tick_ms);
    connect(&timer_, &QTimer::timeout, this, &ScriptedUser::tick);
}

ScriptedUser& ScriptedUser::then(std::string what, Condition ready, Action act) {
    steps_.push_back({std::move(what), std::move(ready), std::move(act)});
    return *this;
}

void ScriptedUser::start() { timer_.start(); }

// A step is taken off before it acts: its action may open a dialog whose loop runs the
// following steps.
void ScriptedUser::tick() {
    if (done()) return;
    if (!steps_[next_].ready()) {
        if (++waited_ticks_ > patience_ticks) {
            std::fprintf(stderr, "the user waited in vain: %s\n", steps_[next_].what.c_str());
            std::_Exit(99);
        }
        return;
    }
    waited_ticks_ = 0;
    if (const char* trace = std::getenv("CORVANE_USER_TRACE")) {  // a file to follow the steps in
        std::ofstream(trace, std::ios::app) << steps_[next_].what << std::endl;
    }
    // The action runs from a timer of its own: Qt does not fire a timer again while its
    // handler runs, and this one must go on firing inside the loops the action may start.
    QTimer::singleShot(0, this, steps_[next_++].act);
}

void type_line(QWidget* widget, const QString& text) {
    QTest::keyClicks(widget, text);
    QTest::keyClick(widget, Qt::Key_Return);
}

QString answer_box(int standard_button) {
    auto* box = modal<QMessageBox>();
    if (!box) return {};
    const QString text = box->text();
    if (QAbstractButton* button = box->button(static_cast<QMessageBox::StandardButton>(standard_button))) button->click();
    return text;
}

void choose_file(const QString& path) {
    auto* dialog = modal<QFileDialog>();
    if (!dialog) return;
    // Typed into the dialog's name field, as a user would.
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
    else dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept");  // as the dialog's own Save button does
}

void record_fact(const std::string& key, const std::string& value) {
    std::ofstream facts("facts", std::ios::app | std::ios::binary);
    facts << key << '=' << value << '\n';
}

}  // namespace corvane::testing
