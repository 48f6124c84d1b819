#pragma once

#include "operations/FloppyDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace test::floppy {

// What the user reads in the floppy dialog's boxes.
inline const std::string caption = "Sundrel - split to floppies ";
inline const std::string doneCaption = "Sun Drel - split to floppies";
inline const std::string noFile = "Please specify a file to be split ";
inline const std::string cannotOpen = " Error Opening File for reading ";
inline const std::string insertDisk = "Please Replace/Insert a Floppy Disk in Drive !";
inline const std::string diskFull = "Floppy has no free space ..Replace it !!";
inline const std::string noDisk = "Floppy NOT Inserted or not formatted ??";
inline const std::string allDone = " The file has been split and transferred to floppies ! ";
constexpr unsigned ok = 0x40;       // OK, information icon
constexpr unsigned okCancel = 0x41; // OK and Cancel, information icon

// A box that asks for a medium: the split is under way, the window shows the strip, nothing
// moves, the buttons wait, Browse still works, and Esc is not locked out by a write.
inline void expectPrompt(const FloppyDriver::Box& box) {
    SCOPED_TRACE(box.shown.text);
    EXPECT_EQ(box.shown.caption, caption);
    EXPECT_EQ(box.shown.type, okCancel);
    EXPECT_TRUE(box.look.expanded()) << box.look.clientHeight;
    EXPECT_FALSE(box.look.splitEnabled);
    EXPECT_FALSE(box.look.doneEnabled);
    EXPECT_TRUE(box.look.browseEnabled);
    EXPECT_FALSE(box.look.animating);
    EXPECT_FALSE(box.look.busy);
}

// The dialog as every split leaves it: collapsed, idle, both buttons usable.
inline void expectRestored(const FloppyDriver::Look& look) {
    EXPECT_TRUE(look.collapsed()) << look.clientHeight;
    EXPECT_TRUE(look.splitEnabled);
    EXPECT_TRUE(look.doneEnabled);
    EXPECT_TRUE(look.browseEnabled);
    EXPECT_FALSE(look.animating);
    EXPECT_FALSE(look.busy);
}

// The success box comes after the dialog has been restored.
inline void expectSuccess(const FloppyDriver::Box& box) {
    EXPECT_EQ(box.shown.text, allDone);
    EXPECT_EQ(box.shown.caption, doneCaption);
    EXPECT_EQ(box.shown.type, ok);
    expectRestored(box.look);
}

// Every moment of a write: the strip in view and playing, the dialog deaf to commands.
inline void expectWriting(const FloppyDriver::Look& look) {
    EXPECT_TRUE(look.expanded()) << look.clientHeight;
    EXPECT_TRUE(look.animating);
    EXPECT_TRUE(look.busy);
    EXPECT_FALSE(look.splitEnabled);
    EXPECT_FALSE(look.doneEnabled);
}

} // namespace test::floppy
