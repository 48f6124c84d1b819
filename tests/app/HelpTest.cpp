#include "app/CMainDlg.h"
#include "app/CSegmentApp.h"
#include "app/ShellDriver.h"

#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform::Window;
using test::Modal;
using test::ShellDriver;
using test::Ui;

std::string programDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

class Help : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CWinApp::Get(), &theApp) << "help goes through the application";
    }

    // Runs `body` in the main window, or in the dialog that `open` (a key) opens from it.
    void inDialog(std::optional<Qt::Key> open, const std::function<void(Window)>& body) {
        Modal::run(m_main, [&](Window main) {
            if (!open) {
                body(main);
                return;
            }
            Modal::whenOpens([&] { Ui::key(main, *open, Qt::AltModifier); }, body);
        });
    }

    test::ScriptedMessageBoxes m_boxes;
    test::ScriptedHelpViewer m_help;
    CMainDlg m_main;
};

struct HelpRow {
    const char* name;
    std::optional<Qt::Key> open;
    unsigned context;
};

void PrintTo(const HelpRow& row, std::ostream* out) {
    *out << row.name;
}

class HelpContexts : public Help, public ::testing::WithParamInterface<HelpRow> {};

TEST_P(HelpContexts, F1AsksTheViewerForTheDialogsContextInTheProgramsHelpFile) {
    m_help.answer(true);
    inDialog(GetParam().open,
             [&](Window dialog) { ShellDriver::keyThroughDesktop(dialog, Qt::Key_F1); });
    ASSERT_EQ(m_help.requests().size(), 1u);
    EXPECT_EQ(m_help.requests()[0].context, GetParam().context);
    EXPECT_EQ(m_help.requests()[0].helpFile, programDirectory() + "/test_app.HLP");
    EXPECT_TRUE(m_boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, HelpContexts,
                         ::testing::Values(HelpRow{"MainWindow", std::nullopt, 0x20066},
                                           HelpRow{"AboutBox", Qt::Key_A, 0x20064},
                                           HelpRow{"SplitByNumber", Qt::Key_N, 0x20081},
                                           HelpRow{"SplitBySize", Qt::Key_S, 0x20082},
                                           HelpRow{"Join", Qt::Key_J, 0x20083},
                                           HelpRow{"Floppies", Qt::Key_F, 0x20084}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Help, FollowsTheFocusedControlToItsDialog) {
    m_help.answer(true).answer(true);
    inDialog(Qt::Key_S, [&](Window size) {
        Ui::type(size, 1005, "12");
        ShellDriver::keyThroughDesktop(size, Qt::Key_F1);
        Ui::key(size, Qt::Key_Tab);
        EXPECT_NE(ShellDriver::focusedId(size), 1005);
        ShellDriver::keyThroughDesktop(size, Qt::Key_F1);
    });
    ASSERT_EQ(m_help.requests().size(), 2u);
    EXPECT_EQ(m_help.requests()[0].context, 0x20082u);
    EXPECT_EQ(m_help.requests()[1].context, 0x20082u);
}

struct Held {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    std::optional<Qt::Key> open;
};

void PrintTo(const Held& row, std::ostream* out) {
    *out << row.name;
}

class HelpWithModifiers : public Help, public ::testing::WithParamInterface<Held> {};

// The scripted viewer has no answer: any request fails the test.
TEST_P(HelpWithModifiers, F1WithShiftCtrlOrAltRequestsNothing) {
    inDialog(GetParam().open, [&](Window dialog) {
        ShellDriver::keyThroughDesktop(dialog, Qt::Key_F1, GetParam().modifiers);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_TRUE(m_help.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HelpWithModifiers,
    ::testing::Values(Held{"ShiftInMainWindow", Qt::ShiftModifier, std::nullopt},
                      Held{"CtrlInMainWindow", Qt::ControlModifier, std::nullopt},
                      Held{"AltInMainWindow", Qt::AltModifier, std::nullopt},
                      Held{"ShiftInSizeDialog", Qt::ShiftModifier, Qt::Key_S},
                      Held{"CtrlInSizeDialog", Qt::ControlModifier, Qt::Key_S},
                      Held{"AltInSizeDialog", Qt::AltModifier, Qt::Key_S},
                      Held{"CtrlShiftInAboutBox", Qt::ControlModifier | Qt::ShiftModifier,
                           Qt::Key_A}),
    [](const auto& row) { return std::string(row.param.name); });

struct Refusal {
    const char* name;
    std::optional<Qt::Key> open;
    const char* ownerCaption;
};

void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.name;
}

class HelpRefused : public Help, public ::testing::WithParamInterface<Refusal> {};

TEST_P(HelpRefused, ShowsTheWarningCaptionedWithTheDisplayNameAndTheProgramGoesOn) {
    m_help.answer(false);
    m_boxes.answer(1);
    inDialog(GetParam().open, [&](Window dialog) {
        ShellDriver::keyThroughDesktop(dialog, Qt::Key_F1);
        EXPECT_TRUE(dialog.isVisible());
    });
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    const auto& box = m_boxes.shown()[0];
    EXPECT_EQ(box.text, "Failed to launch help.");
    EXPECT_EQ(box.caption, "test_app");
    EXPECT_EQ(box.type, 0x30u) << "warning icon and OK";
    EXPECT_EQ(box.ownerCaption, GetParam().ownerCaption);
}

INSTANTIATE_TEST_SUITE_P(Where, HelpRefused,
                         ::testing::Values(Refusal{"MainWindow", std::nullopt, " Sun Drel "},
                                           Refusal{"JoinDialog", Qt::Key_J,
                                                   "Sun Drel   Join Split Segments"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Help, AfterARefusalTheMainWindowStillWorks) {
    m_help.answer(false).answer(true);
    m_boxes.answer(1);
    Modal::run(m_main, [&](Window main) {
        ShellDriver::keyThroughDesktop(main, Qt::Key_F1);
        EXPECT_EQ(ShellDriver::dialogsOpenedBy([&] { Ui::key(main, Qt::Key_A, Qt::AltModifier); }),
                  std::vector<int>{100});
        ShellDriver::keyThroughDesktop(main, Qt::Key_F1);
    });
    EXPECT_EQ(m_help.requests().size(), 2u);
}

} // namespace
