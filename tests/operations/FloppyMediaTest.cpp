// The floppy split on real media: mounted file systems play the disks, swapped as a user swaps
// them, and the free space comes from the medium itself.

#include "common/CFileException.h"
#include "common/CSegmentName.h"
#include "common/CWinApp.h"
#include "operations/CFloppySplitDlg.h"
#include "operations/FloppyDisks.h"
#include "operations/FloppyDriver.h"
#include "operations/FloppyExpect.h"
#include "platform/DriveA.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace {

using test::Files;
using test::FloppyDisks;
using test::FloppyDriver;
using namespace test::floppy;

constexpr unsigned stopIcon = 0x10;

// Writes into a new file on the medium until it takes no more.
void fillUp(const std::string& path) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(descriptor, 0) << path;
    const std::string block(65536, 'f');
    for (std::size_t offset = 0;;) {
        const ssize_t written = write(descriptor, block.data() + offset, block.size() - offset);
        if (written <= 0)
            break;
        offset = (offset + static_cast<std::size_t>(written)) % block.size();
    }
    close(descriptor);
}

// Each insert prompt is answered by taking the disk out and putting a fresh one in; the segments
// must fit the free space the medium reports, and the disks together hold the file.
void splitAcrossSwappedDisks(FloppyDisks::Kind kind) {
    FloppyDisks disks(kind, "size=1440k");
    if (!disks.insert())
        GTEST_SKIP() << disks.failure();
    const auto free = platform::DriveA::freeSpace();
    ASSERT_TRUE(free.has_value());
    ASSERT_GT(*free, 1000000u);
    test::TempDir work;
    const std::uint64_t length = 3000000;
    const std::string bytes = Files::pattern(length, 11);
    Files::write(work.file("photo.jpg"), bytes);
    const std::uint64_t disksNeeded = (length + *free - 1) / *free;

    // What had reached each medium's device when the user was told to take it out.
    std::vector<std::optional<std::uint64_t>> onDevice;
    CFloppySplitDlg dialog;
    FloppyDriver driver(dialog);
    for (std::uint64_t k = 0; k < disksNeeded; ++k) {
        driver.answer([&](const auto&) {
            onDevice.push_back(disks.bytesOnDevice());
            EXPECT_TRUE(disks.insert()) << disks.failure();
            return 1;
        });
    }
    driver.answer([&](const auto&) {
        onDevice.push_back(disks.bytesOnDevice());
        return 1;
    });
    const auto outcome = driver.run(work.file("photo.jpg"));
    disks.eject();

    std::vector<std::string> expected(disksNeeded, insertDisk);
    expected.push_back(allDone);
    EXPECT_EQ(outcome.texts(), expected);
    for (std::size_t k = 0; k + 1 < outcome.boxes.size(); ++k)
        expectPrompt(outcome.boxes[k]);
    expectSuccess(outcome.boxes.back());
    EXPECT_FALSE(outcome.whileWriting.empty());
    for (const auto& look : outcome.whileWriting)
        expectWriting(look);

    // The first disk was only measured; every later one holds one segment, numbered on.
    ASSERT_EQ(onDevice.size(), disksNeeded + 1);
    const auto& taken = disks.takenOut();
    ASSERT_EQ(taken.size(), disksNeeded + 1);
    EXPECT_TRUE(taken[0].empty());
    std::uint64_t offset = 0;
    for (std::uint64_t k = 1; k <= disksNeeded; ++k) {
        const std::string name = CSegmentName::Make("photo.jpg", static_cast<long long>(k));
        const std::uint64_t size = std::min(*free, length - offset);
        EXPECT_EQ(taken[k], (FloppyDisks::Files{{name, bytes.substr(offset, size)}})) << name;
        // A medium with a block device shows whether the segment was flushed to it.
        if (kind == FloppyDisks::Kind::ext2) {
            ASSERT_TRUE(onDevice[k].has_value()) << "no block device behind the ext2 medium";
            EXPECT_GE(*onDevice[k], size) << name << " was still in memory when it was swapped";
        }
        offset += size;
    }
}

TEST(FloppyMedia, TmpfsDisksSwappedAtEachPromptHoldTheFile) {
    splitAcrossSwappedDisks(FloppyDisks::Kind::tmpfs);
}

// ext2 needs blocks of its own to map a large file: segments sized to the raw free count would
// not fit.
TEST(FloppyMedia, Ext2DisksSwappedAtEachPromptHoldTheFile) {
    splitAcrossSwappedDisks(FloppyDisks::Kind::ext2);
}

TEST(FloppyMedia, DiskTakenOutBeforeTheQueryIsNotInserted) {
    FloppyDisks disks(FloppyDisks::Kind::tmpfs, "size=1440k");
    if (!disks.insert())
        GTEST_SKIP() << disks.failure();
    test::TempDir work;
    const std::string bytes = Files::pattern(5000);
    Files::write(work.file("photo.jpg"), bytes);
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog)
                             .answer([&](const auto&) {
                                 disks.eject(); // the mount point stays, a bare directory
                                 return 1;
                             })
                             .answer([&](const auto&) {
                                 EXPECT_TRUE(disks.insert());
                                 return 1;
                             })
                             .answer(1)
                             .run(work.file("photo.jpg"));
    disks.eject();

    EXPECT_EQ(outcome.texts(), (std::vector<std::string>{insertDisk, noDisk, allDone}));
    expectPrompt(outcome.boxes[1]);
    ASSERT_EQ(disks.takenOut().size(), 2u);
    EXPECT_TRUE(disks.takenOut()[0].empty());
    EXPECT_EQ(disks.takenOut()[1], (FloppyDisks::Files{{"photo.jpg1", bytes}}));
    EXPECT_TRUE(
        std::filesystem::is_empty(disks.mountPoint())); // nothing landed on the bare directory
}

TEST(FloppyMedia, FullDiskIsReportedAndAFreshOneMeasuredWithoutAskingAgain) {
    FloppyDisks disks(FloppyDisks::Kind::tmpfs, "size=256k");
    if (!disks.insert())
        GTEST_SKIP() << disks.failure();
    fillUp(disks.mountPoint() + "/full");
    test::TempDir work;
    const std::string bytes = Files::pattern(5000);
    Files::write(work.file("photo.jpg"), bytes);
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog)
                             .answer(1)
                             .answer([&](const auto&) {
                                 EXPECT_TRUE(disks.insert());
                                 return 1;
                             })
                             .answer(1)
                             .run(work.file("photo.jpg"));
    disks.eject();

    EXPECT_EQ(outcome.texts(), (std::vector<std::string>{insertDisk, diskFull, allDone}));
    expectPrompt(outcome.boxes[1]);
    ASSERT_EQ(disks.takenOut().size(), 2u);
    EXPECT_EQ(disks.takenOut()[0].count("photo.jpg1"), 0u);
    EXPECT_EQ(disks.takenOut()[1], (FloppyDisks::Files{{"photo.jpg1", bytes}}));
}

class DriveOn final {
  public:
    explicit DriveOn(const std::string& directory) {
        setenv("SUNDREL_DRIVE_A", directory.c_str(), 1);
    }
    ~DriveOn() { unsetenv("SUNDREL_DRIVE_A"); }
    DriveOn(const DriveOn&) = delete;
    DriveOn& operator=(const DriveOn&) = delete;
};

// A write-protected disk: the segment cannot be created. The report names it as the program
// named it, and the dialog is restored before the report is shown.
TEST(FloppyMedia, ReadOnlyDiskReportsTheSegmentThatCannotBeCreated) {
    test::TempDir work;
    test::ScratchTmpfs medium(work.path(), "size=1440k");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    ASSERT_TRUE(medium.remountReadOnly());
    DriveOn drive(medium.path());
    Files::write(work.file("photo.jpg"), Files::pattern(5000));
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog).answer(1).answer(1).run(work.file("photo.jpg"));

    ASSERT_EQ(outcome.boxes.size(), 2u);
    const auto& report = outcome.boxes[1];
    EXPECT_EQ(
        report.shown.text,
        CFileException(CFileException::accessDenied, EROFS, "a:photo.jpg1").GetErrorMessage());
    EXPECT_EQ(report.shown.text, "Access to a:photo.jpg1 was denied.");
    EXPECT_EQ(report.shown.caption, CWinApp::DisplayName());
    EXPECT_EQ(report.shown.type, stopIcon);
    expectRestored(report.look);
    ASSERT_TRUE(outcome.openAfter);
    expectRestored(outcome.after);
    EXPECT_TRUE(std::filesystem::is_empty(medium.path()));
}

// The medium fills up under the write: the report names the segment's full path, the part that
// was written stays, no further disk is asked for, and the dialog is restored first.
TEST(FloppyMedia, DiskFullDuringAWriteEndsTheSplitWithTheReport) {
    test::TempDir work;
    test::ScratchTmpfs medium(work.path(), "size=1440k");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    DriveOn drive(medium.path());
    Files::write(work.file("photo.jpg"), Files::pattern(1400000));
    CFloppySplitDlg dialog;
    bool filled = false;
    const auto outcome = FloppyDriver(dialog)
                             .answer(1)
                             .answer(1)
                             .whileWriting([&](platform::Window) {
                                 if (!std::exchange(filled, true))
                                     fillUp(medium.file("other"));
                             })
                             .run(work.file("photo.jpg"));

    ASSERT_TRUE(filled);
    ASSERT_EQ(outcome.boxes.size(), 2u);
    const auto& report = outcome.boxes[1];
    const std::string segment = std::filesystem::canonical(medium.path()).string() + "/photo.jpg1";
    EXPECT_EQ(report.shown.text, "Disk full while accessing " + segment + ".");
    EXPECT_EQ(report.shown.type, stopIcon);
    expectRestored(report.look);
    expectRestored(outcome.after);
    const std::uint64_t kept = Files::size(segment);
    EXPECT_GE(kept, 1048576u);
    EXPECT_LT(kept, 1400000u);
}

} // namespace
