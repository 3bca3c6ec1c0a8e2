// A user played by a test: steps that each wait for a condition (the console reading, a
// dialog up) and then act with real key events, clicks or menu commands. The steps run from
// a timer, so they go on inside every loop the program runs: a console read, a modal
// dialog, the end of the program. A step that waits too long ends the program with status
// 99 and names the step, so that a test fails instead of hanging.
#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace corvane::frame {
class DesktopFrame;
}

namespace corvane::testing {

class ScriptedUser : public QObject {
public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    ScriptedUser();
    // Adds a step; returns *this for chaining.
    ScriptedUser& then(std::string what, Condition ready, Action act);
    ScriptedUser& then(std::string what, Action act) { return then(std::move(what), [] { return true; }, std::move(act)); }
    void start();
    bool done() const { return next_ >= steps_.size(); }

private:
    struct Step {
        std::string what;
        Condition ready;
        Action act;
    };
    void tick();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int waited_ticks_ = 0;
    QTimer timer_;
};

// The modal widget on top, if it is a T.
template <class T>
T* modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Types `text` and Enter into `widget` with key events.
void type_line(QWidget* widget, const QString& text);
// Presses a button of the message box on top; returns its text first.
QString answer_box(int standard_button);
// Chooses `path` in the file dialog on top.
void choose_file(const QString& path);

// Facts a program in a child process records for the test to check after it has ended.
void record_fact(const std::string& key, const std::string& value);

}  // namespace corvane::testing
