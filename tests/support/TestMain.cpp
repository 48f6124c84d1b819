#include "platform/Application.h"
#include "support/Modal.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Every test ends with no window of the program left on screen.
class NoWindowLeftOpen final : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        bool open = false;
        for (QWidget* widget : QApplication::topLevelWidgets())
            open = open || widget->isVisible();
        if (open) {
            test::Modal::closeAll();
            ADD_FAILURE() << "a window was left open";
        }
    }
};

} // namespace

// GUI tests run on Qt's offscreen platform unless a display is asked for.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    platform::Application desktop(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}
