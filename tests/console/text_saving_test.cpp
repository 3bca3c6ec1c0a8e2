// Saving a text window: the file (lines as stored, CR LF after each), the default name,
// Save and Save As with their dialog, the save question's answers, and what a file that
// cannot be written leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "console/text_saving.hpp"
#include "console/window_text_file.hpp"
#include "console_fakes.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

using console::SaveAnswer;

struct FakeSaveHost : console::SaveHost {
    std::string window_title = "Input/Output";
    std::string directory = "/home/user";
    std::optional<std::string> dialog_answer;  // nothing: the user cancels
    SaveAnswer question_answer = SaveAnswer::yes;
    std::vector<std::pair<std::string, std::string>> dialogs;  // (caption, initial name)
    std::vector<std::string> warnings;
    std::vector<std::string> questions;

    std::string title() const override { return window_title; }
    void set_title(std::string_view t) override { window_title = t; }
    std::string current_directory() const override { return directory; }
    std::optional<std::string> choose_save_file(std::string_view caption, std::string_view initial) override {
        dialogs.emplace_back(caption, initial);
        return dialog_answer;
    }
    void warn(std::string_view text) override { warnings.emplace_back(text); }
    SaveAnswer ask(std::string_view text) override {
        questions.emplace_back(text);
        return question_answer;
    }
};

TEST(WindowTextFile, LinesAsStoredEachWithCrLfAndThePartialLastLine) {
    ScratchDirectory dir;
    ModelWindow w;
    w.write("abc  \r\n");
    w.write("\r\n");
    w.write("x\ty\r\n");
    w.type("typed");  // the line being typed is saved too
    ASSERT_EQ(console::write_window_text(w.window, "out.txt"), console::SaveOutcome::saved);
    EXPECT_EQ(read_file("out.txt"), "abc  \r\n\r\nx       y\r\ntyped\r\n");

    ModelWindow empty;
    ASSERT_EQ(console::write_window_text(empty.window, "empty.txt"), console::SaveOutcome::saved);
    EXPECT_EQ(read_file("empty.txt"), "");
    EXPECT_EQ(console::write_window_text(w.window, "no/such/dir/out.txt"), console::SaveOutcome::cannot_create);
}

TEST(WindowTextFile, DefaultNameAndQuestionText) {
    struct Row {
        const char* last_path;
        const char* title;
        const char* expected;
    };
    for (const Row& r : {Row{"", "Input/Output", "/home/user/Untitled"},
                         Row{"/data/run1/transcript.txt", "transcript.txt", "/data/run1/transcript.txt"},
                         Row{"/data/run1/a.txt", "Plot   ", "/data/run1/Plot"},
                         Row{"no-directory.txt", "Input/Output", "Untitled"}}) {
        EXPECT_EQ(console::default_save_name(r.last_path, r.title, "/home/user"), r.expected) << r.last_path;
    }
    EXPECT_EQ(console::save_question_text("Input/Output"), "Save changes to Input/Output?");
    const std::string long_title(60, 'T');
    EXPECT_EQ(console::save_question_text(long_title), "Save changes to " + std::string(34, 'T'));
}

TEST(TextSaving, SaveAsksOnceThenWritesWithoutDialogAndGraysSave) {
    ScratchDirectory dir;
    ModelWindow w;
    w.write("line one\r\n");
    FakeSaveHost host;
    host.directory = dir.path();
    console::SavePaths paths;

    // Cancelled: nothing changes.
    EXPECT_FALSE(console::save_window(w.window, host, paths, false));
    EXPECT_TRUE(w.window.state().modified);
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0], std::make_pair(std::string("Untitled"), dir.path() + "/Untitled"));

    host.dialog_answer = dir.path() + "/session.txt";
    EXPECT_TRUE(console::save_window(w.window, host, paths, false));
    EXPECT_EQ(read_file("session.txt"), "line one\r\n");
    EXPECT_EQ(host.window_title, "session.txt");
    EXPECT_FALSE(w.window.state().modified);
    EXPECT_FALSE(w.view.enabled[console::command_save]);
    EXPECT_EQ(paths.last_path, dir.path() + "/session.txt");

    // Save again after a change: no dialog.
    w.write("line two\r\n");
    EXPECT_TRUE(w.window.state().modified);
    EXPECT_TRUE(console::save_window(w.window, host, paths, false));
    EXPECT_EQ(host.dialogs.size(), 2u);
    EXPECT_EQ(read_file("session.txt"), "line one\r\nline two\r\n");

    // Save As always asks, starting from the folder last chosen and the window's title.
    host.dialog_answer = std::nullopt;
    w.write("three\r\n");
    EXPECT_FALSE(console::save_window(w.window, host, paths, true));
    EXPECT_EQ(host.dialogs.back().second, dir.path() + "/session.txt");
    EXPECT_TRUE(w.window.state().modified);
}

TEST(TextSaving, AFileThatCannotBeWrittenLeavesTheWindowUnsaved) {
    ScratchDirectory dir;
    ModelWindow w;
    w.write("precious\r\n");
    FakeSaveHost host;
    console::SavePaths paths;
    host.dialog_answer = dir.path() + "/missing/folder/x.txt";
    EXPECT_FALSE(console::save_window(w.window, host, paths, true));
    EXPECT_EQ(host.warnings, std::vector<std::string>{"Cannot create file"});
    EXPECT_TRUE(w.window.state().modified);
    EXPECT_NE(w.view.enabled.count(console::command_save) ? w.view.enabled[console::command_save] : true, false);

    // The save question: a failed Yes keeps the window open.
    host.question_answer = SaveAnswer::yes;
    EXPECT_FALSE(console::close_question(w.window, host, paths));
    EXPECT_EQ(host.warnings.size(), 2u);
}

TEST(TextSaving, SaveQuestionAnswers) {
    ScratchDirectory dir;
    struct Row {
        SaveAnswer answer;
        bool has_file;
        std::optional<std::string> dialog;
        bool closes;
        bool written;
        std::size_t dialogs;
    };
    const std::string file = dir.path() + "/t.txt";
    for (const Row& r : {Row{SaveAnswer::cancel, false, std::nullopt, false, false, 0},
                         Row{SaveAnswer::no, false, std::nullopt, true, false, 0},
                         Row{SaveAnswer::yes, false, file, true, true, 1},
                         Row{SaveAnswer::yes, false, std::nullopt, true, false, 1},
                         Row{SaveAnswer::yes, true, std::nullopt, true, true, 0}}) {
        SCOPED_TRACE(static_cast<int>(r.answer) * 10 + r.has_file);
        std::filesystem::remove(file);
        ModelWindow w;
        w.write("x\r\n");
        FakeSaveHost host;
        console::SavePaths paths;
        if (r.has_file) w.window.set_file_name(file);
        host.question_answer = r.answer;
        host.dialog_answer = r.dialog;
        EXPECT_EQ(console::close_question(w.window, host, paths), r.closes);
        EXPECT_EQ(host.questions, std::vector<std::string>{"Save changes to Input/Output?"});
        EXPECT_EQ(file_exists(file), r.written);
        EXPECT_EQ(host.dialogs.size(), r.dialogs);
    }
    // An unmodified window closes without a question.
    ModelWindow w;
    w.write("x\r\n");
    w.window.mark_saved();
    FakeSaveHost host;
    console::SavePaths paths;
    EXPECT_TRUE(console::close_question(w.window, host, paths));
    EXPECT_TRUE(host.questions.empty());
}

}  // namespace
}  // namespace corvane::testing
