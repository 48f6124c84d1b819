#include "platform/files/DriveA.h"
#include "platform/files/FileSystemLimits.h"
#include "platform/files/PosixFile.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using platform::DriveA;
using Space = std::optional<std::uint64_t>;
constexpr std::uint64_t KiB = 1024, GiB = KiB * KiB * KiB;

// A 1.44 MB ext2 image, mkfs.ext2 given the options, loop-mounted until the object goes.
struct Ext2Floppy {
    explicit Ext2Floppy(const std::string& options = "-m 0") {
        const std::string image = dir.file("image");
        mounted = std::system(("timeout 120 sh -c 'truncate -s 1474560 " + image +
                               " && PATH=$PATH:/sbin:/usr/sbin mkfs.ext2 -q -F -b 1024 " + options +
                               " " + image + " && mkdir " + path + " && mount -o loop " + image +
                               " " + path + "' >/dev/null 2>&1")
                                  .c_str()) == 0;
    }
    ~Ext2Floppy() {
        if (mounted)
            umount2(path.c_str(), MNT_DETACH);
    }
    test::TempDir dir;
    std::string path = dir.file("medium");
    bool mounted = false;
};

bool fits(const std::string& path, std::uint64_t bytes) {
    std::ofstream out(path, std::ios::binary);
    out << std::string(bytes, 'Z');
    out.close();
    return out.good();
}

// Any named directory is drive A:, measured by the mount that holds it. Once it has been seen on
// a medium mounted at or above it, the same name on the disk below is no medium.
TEST(DriveA, ANamedDirectoryIsDriveAUntilTheMediumItWasSeenOnGoes) {
    test::TempDir dir;
    setenv("SUNDREL_DRIVE_A", dir.file("unplugged").c_str(), 1);
    EXPECT_EQ(DriveA::directory(), std::nullopt);
    EXPECT_EQ(DriveA::freeSpace(), std::nullopt);
    const std::string point = dir.file("drive");
    ASSERT_EQ(mkdir(point.c_str(), 0755), 0);
    setenv("SUNDREL_DRIVE_A", (point + "/.").c_str(), 1);
    EXPECT_EQ(DriveA::directory(), point);
    EXPECT_NE(DriveA::freeSpace(), std::nullopt) << "a bare directory offers its disk's space";
    if (mount("tmpfs", point.c_str(), "tmpfs", 0, "size=1440k") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const std::string folder = point + "/backup";
    EXPECT_EQ(mkdir(folder.c_str(), 0755), 0);
    setenv("SUNDREL_DRIVE_A", folder.c_str(), 1);
    EXPECT_EQ(DriveA::directory(), folder);
    EXPECT_EQ(DriveA::freeSpace(), Space(1440 * KiB));
    setenv("SUNDREL_DRIVE_A", point.c_str(), 1);
    EXPECT_EQ(DriveA::freeSpace(), Space(1440 * KiB));

    ASSERT_EQ(umount2(point.c_str(), MNT_DETACH), 0); // the medium is pulled
    EXPECT_EQ(DriveA::directory(), std::nullopt);
    EXPECT_EQ(DriveA::freeSpace(), std::nullopt);
    const auto opened =
        platform::PosixFile::open("a:photo.jpg1", platform::PosixFile::Access::write, true);
    EXPECT_EQ(opened.error.osError, ENOMEDIUM);
    EXPECT_TRUE(std::filesystem::is_empty(point)) << "written to the disk below the mount point";
}

// A medium swapped between the look that measured it and the open: the segment still lands on the
// medium measured, and the next look finds the new one.
TEST(DriveA, ALookServesTheMeasurementAndTheOpenFromOneMedium) {
    test::TempDir dir;
    const std::string point = dir.file("drive");
    ASSERT_EQ(mkdir(point.c_str(), 0755), 0);
    if (mount("tmpfs", point.c_str(), "tmpfs", 0, "size=1440k") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    setenv("SUNDREL_DRIVE_A", point.c_str(), 1);
    DriveA::Look look;
    look.take();
    EXPECT_EQ(DriveA::freeSpace(), Space(1440 * KiB));
    ASSERT_EQ(umount2(point.c_str(), MNT_DETACH), 0);
    ASSERT_EQ(mount("tmpfs", point.c_str(), "tmpfs", 0, "size=720k"), 0);
    EXPECT_EQ(DriveA::freeSpace(), Space(1440 * KiB));
    const auto opened =
        platform::PosixFile::open("a:photo.jpg1", platform::PosixFile::Access::write, true);
    ASSERT_FALSE(opened.error);
    EXPECT_EQ(opened.path, point + "/photo.jpg1");
    platform::PosixFile::close(opened.descriptor);
    EXPECT_TRUE(std::filesystem::is_empty(point)) << "written on the medium put in after the look";
    look.take();
    EXPECT_EQ(DriveA::freeSpace(), Space(720 * KiB));
    look.release();
    umount2(point.c_str(), MNT_DETACH);
}

// A large file on ext2 needs indirect blocks taken from the same free space, and what mkfs reserves
// for root (5 % unless told otherwise) is no room for a user.
void offersWhatOneFileCanReallyTake(const std::string& medium) {
    setenv("SUNDREL_DRIVE_A", medium.c_str(), 1);
    const auto offered = DriveA::freeSpace();
    struct statvfs space {};
    ASSERT_EQ(statvfs(medium.c_str(), &space), 0);
    const std::uint64_t raw = space.f_bavail * space.f_frsize;
    ASSERT_TRUE(offered.has_value());
    EXPECT_LT(*offered, raw);
    EXPECT_GT(*offered, raw - 16 * KiB);
    const std::string file = medium + "/photo.jpg" + std::to_string(geteuid());
    EXPECT_TRUE(fits(file, *offered));
    EXPECT_EQ(test::Files::size(file), *offered);
    std::filesystem::remove(file);
}

struct Reserve {
    const char *name, *options;
};
class Ext2FloppySpace : public testing::TestWithParam<Reserve> {};

TEST_P(Ext2FloppySpace, OffersWhatOneFileCanReallyTake) {
    if (test::Unprivileged::isRerun())
        return offersWhatOneFileCanReallyTake(test::Unprivileged::scene());
    Ext2Floppy medium(GetParam().options);
    if (!medium.mounted)
        GTEST_SKIP() << "cannot format and loop-mount an ext2 image here";
    ASSERT_EQ(chmod(medium.dir.path().c_str(), 0755) | chmod(medium.path.c_str(), 01777), 0);
    offersWhatOneFileCanReallyTake(medium.path);
    if (geteuid() == 0) {
        EXPECT_EQ(test::Unprivileged::rerun(medium.path), "");
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, Ext2FloppySpace,
                         testing::Values(Reserve{"NoneReserved", "-m 0"},
                                         Reserve{"FivePercentReservedForRoot", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Limit {
    const char *name, *fileSystem;
    std::uint64_t freeBlocks, blockSize, largestFile;
};

class FileSystemLimits : public testing::TestWithParam<Limit> {};

TEST_P(FileSystemLimits, OneNewFileTakesTheFreeSpaceLessWhatMapsIt) {
    const Limit& row = GetParam();
    EXPECT_EQ(
        platform::FileSystemLimits::largestNewFile(row.fileSystem, row.freeBlocks, row.blockSize),
        row.largestFile);
}

// ext2 with 1 KiB blocks maps 12 blocks from the inode, then 256, 256^2 and 256^3 indirectly.
INSTANTIATE_TEST_SUITE_P(
    Rows, FileSystemLimits,
    testing::Values(Limit{"Ext2StopsAtWhatTheInodeMaps", "ext2", 100 * GiB / KiB, KiB,
                          (12 + 256 + 65536 + 16777216ull) * KiB},
                    Limit{"Ext4FifthExtentNeedsATreeBlock", "ext4", 5, 4 * KiB, 16 * KiB},
                    Limit{"VfatOver4GiB", "vfat", 10 * GiB / (32 * KiB), 32 * KiB, 4 * GiB - 1},
                    Limit{"ExfatHasNo4GiBLimit", "exfat", 1 << 20, 64 * KiB, 64 * GiB}),
    [](const auto& info) { return std::string(info.param.name); });

// The blank in the mount point reaches the mount table escaped.
TEST(DriveA, WithoutTheVariableTheLatestMountedMediumIsDriveA) {
    unsetenv("SUNDREL_DRIVE_A");
    const bool madeRoot = mkdir("/run/media", 0755) == 0;
    std::string media = "/run/media/sundrel test-XXXXXX", mountPoint;
    if (mkdtemp(media.data()) == nullptr)
        GTEST_SKIP() << "cannot make a directory below /run/media";
    EXPECT_NE(DriveA::directory(), media) << "a bare directory is taken for a medium";
    {
        test::ScratchTmpfs medium(media, "size=1440k");
        if (medium.mounted()) {
            mountPoint = medium.path();
            EXPECT_EQ(DriveA::directory(), mountPoint);
            EXPECT_EQ(DriveA::freeSpace(), Space(1440 * KiB));
        }
    }
    rmdir(media.c_str());
    if (madeRoot)
        rmdir("/run/media");
    if (mountPoint.empty())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    EXPECT_NE(DriveA::directory(), mountPoint) << "a medium taken out is still drive A:";
}

} // namespace
