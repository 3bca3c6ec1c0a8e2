// The frame's tests share one application on Qt's offscreen platform. Tests that end the
// program run in a fresh copy of this program (death tests in the thread-safe style), so
// each starts with an application of its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The font library keeps a few blocks to the end of the process on purpose; the leak
// checker of the sanitizer build is told so (the function is unused without it).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
