// The floppy split dialog walked as a user walks it, on a plain directory as drive A: or on real
// media mounted and unmounted as a user swaps disks.

#include "common/CWinApp.h"
#include "operations/CFloppySplitDlg.h"
#include "platform/gui/Animation.h"
#include "platform/gui/DialogCommand.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/MessageBoxAnswer.h"
#include "platform/gui/MessageBoxType.h"
#include "platform/gui/WindowRegistry.h"
#include "resources/ControlIds.h"
#include "resources/DialogTemplates.h"
#include "support/Files.h"
#include "support/Modal.h"
#include "support/RemovableTmpfs.h"
#include "support/RowName.h"
#include "support/ScriptedServices.h"
#include "support/Strace.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <sys/statvfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

namespace {

using test::Files;
using Answer = platform::MessageBoxAnswer;
using BoxType = platform::MessageBoxType;
namespace ids = resources::ControlIds::FloppySplit;

const std::string insertDisk = "Please Replace/Insert a Floppy Disk in Drive !";
const std::string diskFull = "Floppy has no free space ..Replace it !!";
const std::string noDisk = "Floppy NOT Inserted or not formatted ??";
const std::string allDone = " The file has been split and transferred to floppies ! ";
const std::string noFile = "Please specify a file to be split ";
const std::string cannotOpen = " Error Opening File for reading ";
const std::string leftovers = "The numbers that follow the new segments are taken: ";
const std::string stopQuestion =
    "Stop the split? The segment being written will be removed from the medium.";
const std::string stoppedInSegment1 = "The split was stopped. The unfinished segment 1 was "
                                      "removed from the medium in the drive. No medium holds a "
                                      "segment of it.";

// The dialog at one moment: its height, how many of "&Split File !" and "&Done" are enabled,
// whether the clip plays and whether a segment is being written.
std::string stateOf(platform::Window dialog) {
    const platform::ScreenRect client = dialog.clientRect();
    const platform::DialogTemplate* resource =
        resources::DialogTemplates::Find(resources::DialogTemplates::floppySplit);
    const platform::ScreenRect full = dialog.mapDialogRect({0, 0, resource->cx, resource->cy});
    const platform::Window split = dialog.child(ids::split),
                           done = dialog.child(platform::DialogCommand::ok);
    const int stripTop = dialog.child(ids::animation).rect().top - client.top;
    const bool buttonsAbove =
        std::max(split.rect().bottom, done.rect().bottom) - client.top < stripTop;
    const auto* window =
        dynamic_cast<platform::DialogWindow*>(platform::WindowRegistry::widget(dialog.handle()));
    const std::string height = client.width() != full.width()                ? "other size"
                               : client.height() == full.height()            ? "expanded"
                               : client.height() == stripTop && buttonsAbove ? "collapsed"
                                                                             : "other";
    return height + ", " + std::to_string(split.isEnabled() + done.isEnabled()) + " buttons" +
           (platform::Animation(dialog.child(ids::animation)).isPlaying() ? ", playing" : "") +
           (window && window->isBusy() ? ", writing" : "");
}

// A prompt shows the strip standing still and both buttons off; the success message and a file
// error's report come once all is restored.
void expectBox(const test::ScriptedMessageBoxes::Shown& shown, const std::string& state) {
    SCOPED_TRACE(shown.text);
    if (shown.text == stopQuestion) { // asked while the work waits
        EXPECT_EQ(state, "expanded, 0 buttons, playing, writing");
        EXPECT_EQ(shown.caption, "Sundrel - split to floppies ");
        EXPECT_EQ(shown.type, BoxType::okCancel | BoxType::iconQuestion | BoxType::defaultButton2);
        return;
    }
    const bool question = shown.text.starts_with(leftovers);
    const bool prompt =
        question || shown.text == insertDisk || shown.text == diskFull || shown.text == noDisk;
    const bool refusal = shown.text == noFile || shown.text == cannotOpen;
    const bool stopped = shown.text == stoppedInSegment1;
    const bool report = !prompt && !refusal && !stopped && shown.text != allDone;
    EXPECT_EQ(state, prompt    ? "expanded, 0 buttons"
                     : refusal ? "collapsed, 0 buttons"
                               : "collapsed, 2 buttons");
    EXPECT_EQ(shown.caption, report                  ? CWinApp::DisplayName()
                             : shown.text == allDone ? "Sun Drel - split to floppies"
                                                     : "Sundrel - split to floppies ");
    EXPECT_EQ(shown.type,
              question ? BoxType::yesNoCancel | BoxType::iconExclamation | BoxType::defaultButton3
              : prompt ? BoxType::okCancel | BoxType::iconInformation
              : report ? BoxType::iconStop
                       : BoxType::iconInformation);
    // A refusal comes while both buttons are still off; they are on again afterwards.
}

struct Outcome {
    std::vector<std::string> texts;
    bool wrote = false; // events were pumped while a segment was written
};

// Opens the dialog, types the path, clicks "&Split File !" and answers each box with its reply,
// checking the dialog at each box, at each pump while a segment is written (whileWriting then
// runs) and at the end.
Outcome split(
    const std::string& path, const std::vector<std::function<int()>>& replies,
    const std::function<void(platform::Window)>& whileWriting = [](platform::Window) {}) {
    Outcome outcome;
    test::ScriptedMessageBoxes boxes;
    platform::Window window;
    for (const auto& reply : replies)
        boxes.answer([&, reply](const test::ScriptedMessageBoxes::Shown& shown) {
            outcome.texts.push_back(shown.text);
            expectBox(shown, stateOf(window));
            return reply();
        });
    CFloppySplitDlg dialog;
    CFloppySplitDlg::s_rcFull = {}; // every initialisation takes the full size again
    test::Modal::run(dialog, [&](platform::Window opened) {
        window = opened;
        EXPECT_EQ(stateOf(opened), "collapsed, 2 buttons");
        test::Ui::type(opened, ids::path, path);
        QTimer pump; // fires at every pump between a segment's chunks
        QObject::connect(&pump, &QTimer::timeout, [&] {
            const std::string state = stateOf(opened);
            if (!state.ends_with("writing"))
                return;
            EXPECT_EQ(state, "expanded, 0 buttons, playing, writing");
            outcome.wrote = true;
            whileWriting(opened);
        });
        pump.start(0);
        test::Ui::click(opened, ids::split);
        pump.stop();
        ASSERT_TRUE(opened.isVisible());
        EXPECT_EQ(stateOf(opened), "collapsed, 2 buttons");
    });
    return outcome;
}

bool shell(const std::string& command) {
    return std::system(
               ("{ PATH=$PATH:/sbin:/usr/sbin; " + command + "; } >/dev/null 2>&1").c_str()) == 0;
}

// Puts in a fresh medium made by `make` ("IMG" standing for an image file): a tmpfs mount as it
// stands, else made in the image and loop-mounted; 1440 KiB, or as small as mkfs allows.
std::string insertCommand(std::string make, const std::string& image, const std::string& point) {
    for (auto at = make.find("IMG"); at != std::string::npos; at = make.find("IMG"))
        make.replace(at, 3, image);
    return make.starts_with("mount") ? make + " " + point
                                     : "timeout 60 sh -c '" + make +
                                           "' && timeout 60 mount -o loop " + image + " " + point;
}

std::uint64_t freeBytes(const std::string& point) {
    struct statvfs space {};
    return statvfs(point.c_str(), &space) == 0 ? space.f_bavail * space.f_frsize : 0;
}

// Drive A: for one row, named by SUNDREL_DRIVE_A: media go in and out, the first filled (by a
// file named "filler") until it has leaveFree bytes free when that is given, and each medium's
// files are kept as it comes out. Without `make` it is a bare directory, emptied as it "comes out".
struct Disks final {
    Disks(const char* make, std::uint64_t leaveFree) : m_make(make), m_leaveFree(leaveFree) {
        std::filesystem::create_directory(m_point);
        setenv("SUNDREL_DRIVE_A", m_point.c_str(), 1);
    }
    ~Disks() {
        eject();
        unsetenv("SUNDREL_DRIVE_A");
    }
    // Takes out the medium in the drive, if any, and puts a fresh one in; false when it cannot.
    bool insert() {
        eject();
        if (m_make == nullptr)
            return m_inserted = true;
        const std::string image = m_root.file(std::to_string(m_taken.size()) + ".img");
        m_inserted = shell(insertCommand(m_make, image, m_point));
        const std::uint64_t free = freeBytes(m_point);
        if (m_inserted && m_taken.empty() && m_leaveFree != 0 && free > m_leaveFree)
            m_inserted = shell("fallocate -l " + std::to_string(free - m_leaveFree) + " " +
                               m_point + "/filler");
        m_free.push_back(freeBytes(m_point));
        return m_inserted;
    }
    void eject() {
        if (!std::exchange(m_inserted, false))
            return;
        m_taken.emplace_back();
        for (const auto& entry : std::filesystem::directory_iterator(m_point))
            if (entry.is_regular_file() && entry.path().filename() != "filler") // nor lost+found
                m_taken.back()[entry.path().filename()] = Files::read(entry.path());
        shell(m_make == nullptr ? "rm -rf " + m_point + "/*"
                                : "umount " + m_point + " || umount -l " + m_point);
    }
    const char* m_make;
    std::uint64_t m_leaveFree;
    std::vector<std::uint64_t> m_free; // as each medium went in, filled
    test::TempDir m_root;
    std::string m_point = m_root.file("drive");
    bool m_inserted = false;
    std::vector<std::map<std::string, std::string>> m_taken; // each medium's files, in order
};

// What the user does while a box is up: answers OK, having first done what the act names, or
// answers Cancel.
enum class Act {
    ok,
    yes,
    cancel,
    swap,
    takeOut,
    fill,
    fillWhileWriting,
    staleChecksum,
    swapStaleChecksum
};
using enum Act;

// Fills the medium that holds path until a write fails for want of room.
void fillUp(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    while (out << std::string(4096, 'f')) {
    }
}

struct Medium {
    const char* name;
    const char* make;        // the medium, as insertCommand makes it; nullptr: a bare directory
    std::uint64_t leaveFree; // on the first medium, when not 0
    std::uint64_t bytes;
    std::vector<std::pair<std::string, Act>> boxes; // "<A>" stands for drive A:'s directory
    std::uint64_t keptAtLeast = 0; // of the source on the media, all of it when the split succeeds
    std::string typed = "<w>/photo.jpg"; // "<w>": the working directory, which holds the source
    std::vector<std::string> stale = {}; // on the first medium before the split
};

constexpr std::uint64_t MiB = 1024 * 1024;
const std::vector<std::pair<std::string, Act>> secondMedium = {
    {insertDisk, ok}, {insertDisk, swap}, {allDone, ok}};

const char* const tmpfs = "mount -t tmpfs -o size=1440k tmpfs";
const char* const xfs = "truncate -s 300M IMG && mkfs.xfs -q -f IMG";
// clang-format off
const Medium media[] = {
    {"EmptyField", nullptr, 0, 3, {{noFile, ok}}, 0, ""},
    {"SourceCannotBeOpened", nullptr, 0, 3, {{cannotOpen, ok}}, 0, "<w>/missing/photo.jpg"},
    {"CancelAtTheFirstPrompt", nullptr, 0, 5000, {{insertDisk, cancel}}},
    // The checksum file of an empty source, with only the whole file's line, needs a medium.
    {"EmptySource", nullptr, 0, 0, {{insertDisk, ok}, {allDone, ok}}},
    // The last segment fills its medium: the checksum file goes on one more.
    {"TheChecksumFileOnOneMoreMedium", tmpfs, 0, 1440 * 1024, {{insertDisk, ok}, {insertDisk, swap}, {allDone, ok}}},
    {"CancelAtThePromptForTheChecksumFile", tmpfs, 0, 1440 * 1024, {{insertDisk, ok}, {insertDisk, cancel}}, 1440 * 1024},
    // A checksum file of an earlier split goes from every medium that takes a segment.
    {"EarlierChecksumFilesRemoved", tmpfs, 0, 3000000, {{insertDisk, staleChecksum}, {insertDisk, swapStaleChecksum}, {insertDisk, swapStaleChecksum}, {allDone, ok}}},
    // A join would append what stands under the next numbers: Yes takes it off the medium.
    {"StaleSegmentsAfterTheLast", nullptr, 0, 3, {{insertDisk, ok}, {leftovers + "<A>/photo.jpg2 to <A>/photo.jpg3 (2 files). A join of the new segments would append them to the rebuilt file.\n\nRemove them? Yes removes them; No and Cancel keep them.", yes}, {allDone, ok}}, 0, "<w>/photo.jpg", {"photo.jpg2", "photo.jpg3"}},
    {"PathWithoutSlash", nullptr, 0, 3, {{insertDisk, ok}, {allDone, ok}}, 0, "photo.jpg"},
    {"BareNameOver51Characters", nullptr, 0, 3, {{insertDisk, ok}, {allDone, ok}}, 0, "<w>/" + std::string(60, 'n')},
    {"FullThenCancel", tmpfs, 0, 5000, {{insertDisk, fill}, {diskFull, cancel}}},
    {"ReadOnly", "mount -t tmpfs -o size=1440k,ro tmpfs", 0, 5000, {{insertDisk, ok}, {"Access to a:photo.jpg1 was denied.", ok}}},
    // Once the medium has been measured, its mount point alone is no medium.
    {"TakenOutAfterASegment", tmpfs, 0, 3000000,
     {{insertDisk, ok}, {insertDisk, takeOut}, {noDisk, swap}, {insertDisk, swap}, {allDone, ok}}},
    // ext2 needs blocks of its own to map a large file: the segments must still fit.
    {"Ext2SwappedAtEachPrompt", "mkfs.ext2 -q -F -b 1024 IMG 1440", 0, 3000000,
     {{insertDisk, swap}, {insertDisk, swap}, {insertDisk, swap}, {allDone, ok}}},
    // ext2 reserves no room, so another writer can take it: the part written stays and no
    // further disk is asked for.
    {"Ext2FillingUpWhileWritten", "mkfs.ext2 -q -F -b 1024 IMG 1440", 0, 1400000,
     {{insertDisk, fillWhileWriting}, {"Disk full while accessing <A>/photo.jpg1.", ok}}, MiB},
    // One file cannot take all that these report free: each medium takes what it really can.
    {"Ext4With8MiBFree", "truncate -s 64M IMG && mkfs.ext4 -q -F -m 0 IMG", 8 * MiB, 12 * MiB, secondMedium},
    {"XfsWith8MiBFree", xfs, 8 * MiB, 12 * MiB, secondMedium},
    {"BtrfsWith8MiBFree", "truncate -s 300M IMG && mkfs.btrfs -q -f IMG", 8 * MiB, 12 * MiB, secondMedium},
    // Some room free, but not enough for a new file: the medium is full and keeps no segment.
    {"XfsWith64KiBFree", xfs, 64 * 1024, 5000, {{insertDisk, ok}, {diskFull, swap}, {allDone, ok}}},
};
// clang-format on

class FloppySplit : public testing::TestWithParam<Medium> {};

TEST_P(FloppySplit, WalksTheDisks) {
    const Medium& row = GetParam();
    Disks disks(row.make, row.leaveFree);
    if (!disks.insert())
        GTEST_SKIP() << "cannot make and mount this medium here (mount, mkfs, loop)";
    for (const std::string& name : row.stale)
        Files::write(disks.m_point + "/" + name, "stale");
    const std::filesystem::path before = std::filesystem::current_path();
    test::TempDir work;
    std::filesystem::current_path(work.path());
    std::string typed = row.typed;
    if (typed.starts_with("<w>"))
        typed.replace(0, 3, work.path());
    const std::string bare = typed.substr(typed.rfind('/') + 1),
                      bytes = Files::pattern(row.bytes, 11);
    if (!bare.empty())
        Files::write(work.file(bare), bytes);
    const std::string drive = std::filesystem::canonical(disks.m_point);
    std::vector<std::string> texts;
    std::vector<std::function<int()>> replies;
    Act pending = ok;
    for (auto [text, act] : row.boxes) {
        for (auto at = text.find("<A>"); at != std::string::npos; at = text.find("<A>"))
            text.replace(at, 3, drive);
        texts.push_back(text);
        replies.push_back([&, act] {
            if ((act == swap || act == swapStaleChecksum) && !disks.insert())
                ADD_FAILURE() << "no fresh medium";
            if (act == takeOut)
                disks.eject();
            if (act == fill)
                fillUp(disks.m_point + "/other");
            if (act == staleChecksum || act == swapStaleChecksum)
                Files::write(disks.m_point + "/" + bare + ".sundrel.sha256sums", "earlier\n");
            pending = act;
            return act == cancel ? Answer::cancel : act == yes ? Answer::yes : Answer::ok;
        });
    }
    const Outcome outcome = split(typed, replies, [&](platform::Window) {
        if (std::exchange(pending, ok) == fillWhileWriting)
            fillUp(disks.m_point + "/other");
    });
    std::filesystem::current_path(before);
    disks.eject();

    EXPECT_EQ(outcome.texts, texts);
    EXPECT_TRUE(std::filesystem::is_empty(disks.m_point)); // nothing on the bare mount point
    std::string kept; // the segments, numbered on from medium to medium
    std::size_t largest = 0;
    test::TempDir set; // the segments and the source as the checksum file lists them
    std::vector<std::string> listed;
    std::vector<std::pair<std::size_t, std::string>> checksumFiles; // on which medium, content
    for (std::size_t k = 0, count = 0; k < disks.m_taken.size(); ++k) {
        for (const auto& [name, content] : disks.m_taken[k]) {
            if (name == "other")
                continue;
            if (name == bare + ".sundrel.sha256sums") {
                checksumFiles.emplace_back(k, content);
                continue;
            }
            Files::write(set.file(listed.emplace_back(name)), content);
            EXPECT_EQ(name, bare + std::to_string(++count));
            kept += content;
            largest = std::max(largest, content.size());
            if (row.leaveFree != 0 && kept.size() < bytes.size()) { // it filled its medium
                EXPECT_GE(content.size(), disks.m_free.at(k) / 100 * 95) << name;
            }
        }
    }
    EXPECT_EQ(kept, bytes.substr(0, kept.size()));
    EXPECT_GE(kept.size(), row.keptAtLeast);
    // Every byte is on the media after success; a cancel at the checksum file's prompt too.
    EXPECT_TRUE(texts.back() != allDone || kept.size() == bytes.size());
    // A finished split leaves one checksum file, on the last medium, listing what the media hold.
    if (texts.back() == allDone) {
        Files::write(set.file(bare), bytes);
        listed.push_back(bare);
        const auto expected = std::vector<std::pair<std::size_t, std::string>>{
            {disks.m_taken.size() - 1, Files::sha256sum(set.path(), listed)}};
        EXPECT_EQ(checksumFiles, expected);
    } else {
        EXPECT_EQ(checksumFiles.size(), 0u);
    }
    // Events are pumped between a segment's chunks.
    EXPECT_TRUE(outcome.wrote || largest <= MiB);
}
INSTANTIATE_TEST_SUITE_P(Rows, FloppySplit, testing::ValuesIn(media), test::rowName);

struct Slow {
    const char* name;
    const char* inject;
    bool written;       // the segment is all written while the medium is slow
    std::string last;   // box, "<A>" for drive A:'s directory
    int stopAnswer = 0; // to the stop question that Esc asked, when it came while writing
};
const Slow slowRows[] = {
    {"SlowFlush", "fsync:delay_enter=2000000:when=1", true, allDone},
    {"SlowWrite_CancelGoesOn", "copy_file_range:delay_enter=2000000:when=1", false, allDone,
     Answer::cancel},
    {"SlowWrite_OkStopsAndRemovesTheSegment", "copy_file_range:delay_enter=2000000:when=1", false,
     stoppedInSegment1, Answer::ok},
    {"TurnedReadOnlyByAFailedWriteBack", "fsync:error=EROFS:when=1", true,
     "Access to <A>/photo.jpg1 was denied."},
};

class FloppySplitSlow : public testing::TestWithParam<Slow> {
  protected:
    void TearDown() override { unsetenv("SUNDREL_DRIVE_A"); }
};

// A medium that takes seconds to take a segment or to flush it: meanwhile the clip moves and
// timers run, and other input is dropped. Esc and the close box ask at once whether to stop while
// the write stalls (Cancel goes on; OK shows that the split is stopping until the write lets go,
// then removes the unfinished segment); during a flush the segment is whole and stays. A flush
// that fails is the segment's file error.
TEST_P(FloppySplitSlow, TheClipMovesAndInputWaits) {
    const Slow& row = GetParam();
    test::TempDir work;
    test::RemovableTmpfs drive("size=1440k"); // where writes run off the GUI thread
    if (!drive.mounted())
        GTEST_SKIP() << drive.failure();
    setenv("SUNDREL_DRIVE_A", drive.path().c_str(), 1);
    const std::string bytes = Files::pattern(5000, 3), segment = drive.file("photo.jpg1");
    Files::write(work.file("photo.jpg"), bytes);
    std::set<int> frames; // shown while the medium was slow
    bool showedStopping = false;
    const auto whole = [&] {
        return Files::exists(segment) && Files::size(segment) == bytes.size();
    };
    const auto slow = [&](platform::Window dialog) {
        showedStopping |= dialog.text().starts_with("Stopping… ");
        if (row.written != whole())
            return;
        if (frames.empty()) {
            test::Ui::key(dialog, Qt::Key_Escape);
            test::Ui::widget(dialog)->close();
        }
        frames.insert(platform::Animation(dialog.child(ids::animation)).currentFrame());
    };
    std::string last = row.last;
    if (const auto at = last.find("<A>"); at != std::string::npos)
        last.replace(at, 3, drive.path());
    Outcome outcome;
    {
        test::Strace strace({"-e", std::string("inject=") + row.inject});
        if (!strace.attached())
            GTEST_SKIP() << "cannot trace this process with strace";
        std::vector<std::function<int()>> replies{[] { return 1; }, [] { return 1; }};
        if (row.stopAnswer != 0) // asked at once, while the write still stalls
            replies.insert(replies.begin() + 1, [&] {
                EXPECT_FALSE(whole()) << "asked only once the write let go";
                return row.stopAnswer;
            });
        outcome = split(work.file("photo.jpg"), replies, slow);
    }
    std::vector<std::string> texts{insertDisk, last};
    if (row.stopAnswer != 0)
        texts.insert(texts.begin() + 1, stopQuestion);
    EXPECT_EQ(outcome.texts, texts);
    EXPECT_GE(frames.size(), row.last == allDone ? 2u : 0u);
    // After OK the title says so until the write lets go.
    EXPECT_EQ(showedStopping, row.stopAnswer == Answer::ok);
    if (row.stopAnswer == Answer::ok)
        EXPECT_FALSE(Files::exists(segment));
    else
        EXPECT_EQ(Files::read(segment), bytes);
}
INSTANTIATE_TEST_SUITE_P(Rows, FloppySplitSlow, testing::ValuesIn(slowRows), test::rowName);

} // namespace
