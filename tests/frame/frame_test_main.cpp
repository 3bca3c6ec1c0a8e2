// The frame's tests share one application on Qt's offscreen platform. Tests that end the
// program run in a fresh copy of this program (death tests in the thread-safe style), so
// each starts with an application of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// The font library keeps a few blocks to the end of the process on purpose; the leak
// checker of the sanitizer build is told so (the function is unused without it).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// What the program remembers goes to a folder of this run's own, never the user's: the
// copies of this program that play sessions inherit it through the environment.
void keep_settings_in_a_scratch_folder() {
    if (std::getenv("CORVANE_TEST_SETTINGS")) return;
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / ("corvane-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch);
    ::setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
    ::setenv("CORVANE_TEST_SETTINGS", scratch.c_str(), 1);
    static const std::filesystem::path removed = scratch;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(removed, ignored);
    });
}

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    keep_settings_in_a_scratch_folder();
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
