#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/test_env.h"

int main(int argc, char** argv) {
    // Real widgets, no display: every test runs on Qt's offscreen platform.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Nothing a test does may reach the real user's data folder.
    corvessan_test::TempDir dataHome;
    ::setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
