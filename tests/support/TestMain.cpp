#include "platform/gui/Application.h"
#include "support/Modal.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

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

// GUI tests run on Qt's offscreen platform unless a display is asked for. A test program that
// may mount does it in a mount table of its own (before any thread starts): media that other
// programs mount meanwhile, this suite's or anyone's, never pass for the newest removable medium
// here, nor do this program's media there, and they go with the program however it ends.
int main(int argc, char** argv) {
    if (geteuid() == 0 && unshare(CLONE_NEWNS) == 0)
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    platform::Application desktop(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new NoWindowLeftOpen);
    return RUN_ALL_TESTS();
}
