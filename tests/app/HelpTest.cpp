#include "app/CMainDlg.h"
#include "app/CSegmentApp.h"

#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/Ui.h"

#include <QTest>
#include <QWidget>

#include <filesystem>

#include <gtest/gtest.h>

namespace {

using platform::Window;
using test::Modal;
using test::Ui;

const std::string programDirectory =
    std::filesystem::read_symlink("/proc/self/exe").parent_path().string();

// The desktop gives keys to the active window only, and help asks which window that is.
void pressF1(Window dialog, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QWidget* top = Ui::widget(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(top, 5000)) << "not active after 5 s";
    QTest::keyClick(top->windowHandle(), Qt::Key_F1, held);
}

// F1 with Shift, Ctrl or Alt comes first: a request for it would find no scripted answer.
TEST(Help, F1AsksForTheContextOfTheDialogWithTheFocusAndModifiedF1ForNothing) {
    ASSERT_EQ(CWinApp::Get(), &theApp);
    test::ScriptedHelpViewer help;
    test::ScriptedMessageBoxes noBox; // an unscripted request's warning ends at once, as a failure
    const auto press = [&](Window dialog) {
        help.answer(true);
        for (auto held : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
            pressF1(dialog, held);
        pressF1(dialog);
    };
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        press(window);
        for (Qt::Key open : {Qt::Key_A, Qt::Key_N, Qt::Key_S, Qt::Key_J, Qt::Key_F})
            Modal::whenOpens([&] { Ui::key(window, open, Qt::AltModifier); }, press);
    });
    std::vector<unsigned> contexts;
    for (const auto& request : help.requests()) {
        contexts.push_back(request.context);
        EXPECT_EQ(request.helpFile, programDirectory + "/test_app.HLP");
    }
    // The main window, About, and the dialogs by number, by size, join and floppies.
    EXPECT_EQ(contexts,
              (std::vector<unsigned>{0x20066, 0x20064, 0x20081, 0x20082, 0x20083, 0x20084}));
}

TEST(Help, RefusedShowsAWarningCaptionedWithTheDisplayNameAndTheProgramGoesOn) {
    test::ScriptedHelpViewer help;
    test::ScriptedMessageBoxes boxes;
    help.answer(false);
    boxes.answer(platform::MessageBoxAnswer::ok);
    CMainDlg main;
    Modal::run(main, [&](Window window) {
        pressF1(window);
        EXPECT_TRUE(window.isVisible());
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to launch help.");
    EXPECT_EQ(boxes.shown()[0].caption, "test_app");
    EXPECT_EQ(boxes.shown()[0].type, unsigned(platform::MessageBoxType::iconExclamation))
        << "warning icon and OK";
    EXPECT_EQ(boxes.shown()[0].ownerCaption, " Sun Drel ");
}

// The display name captions the boxes; a renamed program file renames both (the running program's
// own name is checked with F1 above).
TEST(ProgramName, DisplayNameIsTheFileNameLessItsExtensionAndHelpSitsBesideIt) {
    const std::vector<std::array<const char*, 3>> rows{
        {"/usr/bin/Sundrel", "Sundrel", "/usr/bin/Sundrel.HLP"},
        {"/opt/app/Sundrel.EXE", "Sundrel", "/opt/app/Sundrel.HLP"},
        {"/opt/my.tools/Sundrel", "Sundrel", "/opt/my.tools/Sundrel.HLP"},
        {"/a/archive.tar.gz", "archive.tar", "/a/archive.tar.HLP"}};
    for (const auto& [path, name, helpFile] : rows) {
        EXPECT_EQ(CWinApp::DisplayNameOf(path), name) << path;
        EXPECT_EQ(CWinApp::HelpFilePathOf(path), helpFile) << path;
    }
}

} // namespace
