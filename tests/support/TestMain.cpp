#include "platform/gui/Application.h"
#include "support/Modal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Every test ends with no window of the program left on screen.
class NoWindowLeftOpen final : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        const auto windows = QApplication::topLevelWidgets();
        if (std::any_of(windows.begin(), windows.end(),
                        [](QWidget* w) { return w->isVisible(); })) {
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
