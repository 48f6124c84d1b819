#include "app/CMainDlg.h"
#include "app/ShellDriver.h"

#include "platform/DialogHost.h"

#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using platform::Window;
using test::Modal;
using test::ShellDriver;
using test::Ui;

constexpr int sizeDialog = 130;
constexpr int numberDialog = 129;
constexpr int floppyDialog = 132;
constexpr int joinDialog = 131;
constexpr int aboutBox = 100;

// Nothing in the main window asks a question or requests help: an unscripted request fails.
class MainWindow : public ::testing::Test {
  protected:
    test::ScriptedMessageBoxes m_boxes;
    test::ScriptedHelpViewer m_help;
    CMainDlg m_main;
};

struct Press {
    const char* name;
    std::function<void(Window)> press;
    int opens;
};

void PrintTo(const Press& row, std::ostream* out) {
    *out << row.name;
}

std::function<void(Window)> key(Qt::Key letter, Qt::KeyboardModifiers modifiers) {
    return [=](Window main) { Ui::key(main, letter, modifiers); };
}

std::function<void(Window)> click(int id) {
    return [=](Window main) { ShellDriver::clickThroughDesktop(Ui::control(main, id)); };
}

class MainWindowButtons : public MainWindow, public ::testing::WithParamInterface<Press> {};

TEST_P(MainWindowButtons, OpenTheirDialogAndTheMainWindowStays) {
    Modal::run(m_main, [&](Window main) {
        EXPECT_EQ(ShellDriver::focusedId(main), 1000) << "the first button starts with the focus";
        EXPECT_EQ(ShellDriver::dialogsOpenedBy([&] { GetParam().press(main); }),
                  std::vector<int>{GetParam().opens});
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(ShellDriver::dialogsOpenedBy([&] { GetParam().press(main); }),
                  std::vector<int>{GetParam().opens})
            << "a second press opens the dialog again";
    });
}

// Without Alt a letter presses its button only while the focus is on a push button; every
// button of the main window is one, so the letters work wherever the focus is.
INSTANTIATE_TEST_SUITE_P(
    EveryWay, MainWindowButtons,
    ::testing::Values(Press{"AltS", key(Qt::Key_S, Qt::AltModifier), sizeDialog},
                      Press{"AltN", key(Qt::Key_N, Qt::AltModifier), numberDialog},
                      Press{"AltF", key(Qt::Key_F, Qt::AltModifier), floppyDialog},
                      Press{"AltJ", key(Qt::Key_J, Qt::AltModifier), joinDialog},
                      Press{"AltA", key(Qt::Key_A, Qt::AltModifier), aboutBox},
                      Press{"PlainS", key(Qt::Key_S, Qt::NoModifier), sizeDialog},
                      Press{"PlainN", key(Qt::Key_N, Qt::NoModifier), numberDialog},
                      Press{"PlainF", key(Qt::Key_F, Qt::NoModifier), floppyDialog},
                      Press{"PlainJ", key(Qt::Key_J, Qt::NoModifier), joinDialog},
                      Press{"PlainA", key(Qt::Key_A, Qt::NoModifier), aboutBox},
                      Press{"ClickSize", click(1000), sizeDialog},
                      Press{"ClickNumber", click(1002), numberDialog},
                      Press{"ClickFloppies", click(1001), floppyDialog},
                      Press{"ClickJoin", click(1006), joinDialog},
                      Press{"ClickAbout", click(1017), aboutBox}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainWindow, LettersOfNoButtonDoNothing) {
    Modal::run(m_main, [&](Window main) {
        for (Qt::Key letter : {Qt::Key_B, Qt::Key_E, Qt::Key_Z, Qt::Key_1}) {
            EXPECT_TRUE(ShellDriver::dialogsOpenedBy([&] { Ui::key(main, letter); }).empty());
            EXPECT_TRUE(ShellDriver::dialogsOpenedBy([&] {
                            Ui::key(main, letter, Qt::AltModifier);
                        }).empty());
        }
        EXPECT_TRUE(main.isVisible());
    });
}

TEST_F(MainWindow, TabAndShiftTabFollowTheButtonsInOrderAndWrapAround) {
    Modal::run(m_main, [&](Window main) {
        std::vector<int> forward;
        for (int step = 0; step < 6; ++step) {
            Ui::key(main, Qt::Key_Tab);
            forward.push_back(ShellDriver::focusedId(main));
        }
        EXPECT_EQ(forward, (std::vector<int>{1002, 1001, 1006, 1017, 2, 1000}));
        std::vector<int> backward;
        for (int step = 0; step < 6; ++step) {
            Ui::key(main, Qt::Key_Backtab, Qt::ShiftModifier);
            backward.push_back(ShellDriver::focusedId(main));
        }
        EXPECT_EQ(backward, (std::vector<int>{2, 1017, 1006, 1001, 1002, 1000}));
    });
}

TEST_F(MainWindow, EnterPressesTheButtonThatHasTheFocus) {
    Modal::run(m_main, [&](Window main) {
        std::vector<int> opened;
        for (int step = 0; step < 5; ++step) {
            for (int id : ShellDriver::dialogsOpenedBy([&] { Ui::key(main, Qt::Key_Return); }))
                opened.push_back(id);
            Ui::key(main, Qt::Key_Tab);
        }
        EXPECT_EQ(opened,
                  (std::vector<int>{sizeDialog, numberDialog, floppyDialog, joinDialog, aboutBox}));
        EXPECT_EQ(ShellDriver::focusedId(main), 2);
        Ui::key(main, Qt::Key_Enter);
        EXPECT_FALSE(main.isVisible()) << "Enter on Exit ends the main window";
    });
}

struct ExitWay {
    const char* name;
    std::function<void(Window)> exit;
};

void PrintTo(const ExitWay& row, std::ostream* out) {
    *out << row.name;
}

class MainWindowExit : public MainWindow, public ::testing::WithParamInterface<ExitWay> {};

// Every way out ends the program at once, without a question, whatever the dialogs hold.
TEST_P(MainWindowExit, EndsTheMainWindowWithCancelAndNoQuestion) {
    m_main.m_numberDlg.m_strPath = "/tmp/kept";
    m_main.m_numberDlg.m_nSegments = 3;
    m_main.m_sizeDlg.m_nSize = 1000;
    std::vector<int> opened{-1};
    const int result = Modal::run(m_main, [&](Window main) {
        opened = ShellDriver::dialogsOpenedBy([&] { GetParam().exit(main); });
        EXPECT_FALSE(main.isVisible());
    });
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(m_boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, MainWindowExit,
    ::testing::Values(
        ExitWay{"AltX", key(Qt::Key_X, Qt::AltModifier)},
        ExitWay{"PlainX", key(Qt::Key_X, Qt::NoModifier)},
        ExitWay{"Escape", key(Qt::Key_Escape, Qt::NoModifier)}, ExitWay{"ClickExit", click(2)},
        ExitWay{"EnterOnExit",
                [](Window main) {
                    Ui::key(main, Qt::Key_Backtab, Qt::ShiftModifier);
                    Ui::key(main, Qt::Key_Return);
                }},
        ExitWay{"CloseBox", [](Window main) { Ui::widget(main)->windowHandle()->close(); }},
        ExitWay{"SystemMenuClose",
                [](Window main) { platform::DialogHost::sendSysCommand(main, 0xF060); }}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
