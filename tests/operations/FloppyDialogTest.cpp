// The floppy dialog's window: its two heights, its buttons and its animation around a split.

#include "operations/CFloppySplitDlg.h"
#include "operations/FloppyDriver.h"
#include "operations/FloppyExpect.h"
#include "platform/Animation.h"
#include "support/Files.h"
#include "support/Modal.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using test::Files;
using test::FloppyDriver;
using namespace test::floppy;

constexpr int animationId = 1019;
constexpr int stripTopUnits = 76; // the animation strip's top in the template, in dialog units

class DriveDirectory final {
  public:
    DriveDirectory() { setenv("SUNDREL_DRIVE_A", m_drive.path().c_str(), 1); }
    ~DriveDirectory() { unsetenv("SUNDREL_DRIVE_A"); }
    DriveDirectory(const DriveDirectory&) = delete;
    DriveDirectory& operator=(const DriveDirectory&) = delete;
    std::string file(const std::string& name) const { return m_drive.file(name); }

  private:
    test::TempDir m_drive;
};

TEST(FloppyDialog, OpensCollapsedJustAboveTheStripAndKeepsItsFullSize) {
    CFloppySplitDlg dialog;
    test::Modal::run(dialog, [&](platform::Window window) {
        const FloppyDriver::Look look = FloppyDriver::lookOf(window);
        EXPECT_TRUE(look.collapsed()) << look.clientHeight;
        // The cut follows the dialog's font: the client area ends where the strip begins.
        EXPECT_EQ(look.clientHeight, window.mapDialogRect({0, 0, 0, stripTopUnits}).height());
        EXPECT_EQ(look.stripTop, look.clientHeight);
        EXPECT_LT(look.buttonsBottom, look.clientHeight);
        EXPECT_EQ(CFloppySplitDlg::s_rcFull.height(), look.fullHeight);
        EXPECT_EQ(CFloppySplitDlg::s_rcFull.width(), look.fullWidth);
        EXPECT_TRUE(look.splitEnabled && look.doneEnabled && look.browseEnabled);
        EXPECT_FALSE(look.animating);
        EXPECT_EQ(dialog.m_animate.GetWindow().handle(), window.child(animationId).handle());
    });
}

TEST(FloppyDialog, EveryOpeningTakesTheFullSizeAgainAndStartsCollapsed) {
    CFloppySplitDlg dialog;
    int firstHeight = 0;
    test::Modal::run(dialog, [&](platform::Window window) {
        firstHeight = FloppyDriver::lookOf(window).clientHeight;
    });
    CFloppySplitDlg::s_rcFull = {0, 0, 10, 10};
    test::Modal::run(dialog, [&](platform::Window window) {
        const FloppyDriver::Look look = FloppyDriver::lookOf(window);
        EXPECT_EQ(CFloppySplitDlg::s_rcFull.height(), look.fullHeight);
        EXPECT_TRUE(look.collapsed());
        EXPECT_EQ(look.clientHeight, firstHeight);
    });
}

// The frame drawn around the client area is the same whether the window shows the strip or not.
TEST(FloppyDialog, ExpandingAndCollapsingKeepTheFrame) {
    DriveDirectory drive;
    test::TempDir work;
    Files::write(work.file("data.bin"), Files::pattern(2000000));
    test::ScriptedFreeSpace freeSpace;
    freeSpace.answer(1457664).answer(1457664);
    CFloppySplitDlg dialog;
    const auto outcome =
        FloppyDriver(dialog).answer(1).answer(1).answer(1).run(work.file("data.bin"));

    ASSERT_EQ(outcome.boxes.size(), 3u);
    ASSERT_FALSE(outcome.whileWriting.empty());
    const int frame = outcome.opened.frameHeight;
    for (const auto& box : outcome.boxes)
        EXPECT_EQ(box.look.frameHeight, frame) << box.shown.text;
    for (const auto& look : outcome.whileWriting)
        EXPECT_EQ(look.frameHeight, frame);
    EXPECT_EQ(outcome.after.frameHeight, frame);
    EXPECT_EQ(outcome.after.clientHeight, outcome.opened.clientHeight);
    EXPECT_TRUE(outcome.boxes[0].look.expanded());
}

// Esc or the close box pressed while a segment is written is refused: the dialog stays, and the
// split goes on to its end.
TEST(FloppyDialog, CannotBeClosedWhileASegmentIsWritten) {
    DriveDirectory drive;
    test::TempDir work;
    const std::string bytes = Files::pattern(1500000);
    Files::write(work.file("data.bin"), bytes);
    test::ScriptedFreeSpace freeSpace;
    freeSpace.answer(1457664).answer(1457664);
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog).answer(1).answer(1).answer(1).closeWhileWriting().run(
        work.file("data.bin"));

    ASSERT_FALSE(outcome.whileWriting.empty());
    EXPECT_TRUE(outcome.openAfter);
    EXPECT_EQ(outcome.texts(), (std::vector<std::string>{insertDisk, insertDisk, allDone}));
    EXPECT_EQ(Files::read(drive.file("data.bin1")) + Files::read(drive.file("data.bin2")), bytes);
}

// The clip is drive A:'s: it plays the program's own clip, which moves on while a segment is
// written and stands still at the prompts.
TEST(FloppyDialog, TheClipMovesWhileASegmentIsWritten) {
    DriveDirectory drive;
    test::TempDir work;
    Files::write(work.file("data.bin"), Files::pattern(3 * 1048576));
    test::ScriptedFreeSpace freeSpace;
    freeSpace.answer(4 * 1048576);
    CFloppySplitDlg dialog;
    std::vector<int> frames;
    FloppyDriver driver(dialog);
    driver.answer(1).answer(1).whileWriting([&](platform::Window window) {
        // Long enough between chunks for the clip's 100 ms frames to move on.
        const platform::Animation clip(window.child(animationId));
        frames.push_back(clip.currentFrame());
        QElapsedTimer waited;
        waited.start();
        while (clip.currentFrame() == frames.back() && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
        frames.push_back(clip.currentFrame());
    });
    const auto outcome = driver.run(work.file("data.bin"));

    ASSERT_GE(frames.size(), 2u);
    EXPECT_NE(frames.front(), frames.back()) << "the clip stood still during the write";
    for (const auto& look : outcome.whileWriting)
        expectWriting(look);
    expectRestored(outcome.after);
}

} // namespace
