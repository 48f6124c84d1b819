#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

// GUI tests run on Qt's offscreen platform unless a display is asked for.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
