#include "platform/DriveA.h"
#include "platform/MountedMedium.h"
#include "platform/PosixFile.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using platform::DriveA;
using platform::PosixFile;
constexpr std::uint64_t MiB = 1024 * 1024;

// Sets or clears SUNDREL_DRIVE_A for one test and puts the old value back.
class DriveVariable final {
  public:
    explicit DriveVariable(const char* value) {
        if (const char* old = std::getenv("SUNDREL_DRIVE_A"))
            m_old = old;
        if (value != nullptr)
            setenv("SUNDREL_DRIVE_A", value, 1);
        else
            unsetenv("SUNDREL_DRIVE_A");
    }
    ~DriveVariable() {
        if (m_old)
            setenv("SUNDREL_DRIVE_A", m_old->c_str(), 1);
        else
            unsetenv("SUNDREL_DRIVE_A");
    }

  private:
    std::optional<std::string> m_old;
};

// Writes a file of exactly that many bytes on drive A:; the errno of the failure, or 0.
int writeOnDriveA(const std::string& name, std::uint64_t bytes) {
    const auto opened = PosixFile::open("a:" + name, PosixFile::Access::write, true);
    if (opened.error != 0)
        return opened.error;
    const std::string chunk(MiB, '\x5A');
    int error = 0;
    for (std::uint64_t done = 0; done < bytes && error == 0;) {
        const auto written =
            PosixFile::write(opened.descriptor, chunk.data(), std::min(bytes - done, MiB));
        error = written.error != 0 ? written.error : (written.count == 0 ? ENOSPC : 0);
        done += written.count;
    }
    if (error == 0)
        error = PosixFile::flush(opened.descriptor, "a:" + name);
    PosixFile::close(opened.descriptor);
    return error;
}

std::uint64_t rawFreeBytes(const std::string& directory) {
    struct statvfs space {};
    statvfs(directory.c_str(), &space);
    return static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize;
}

TEST(DriveA, SundrelDriveANamesTheDirectory) {
    test::TempDir dir;
    {
        DriveVariable named((dir.path() + "/.").c_str());
        EXPECT_EQ(DriveA::directory(), dir.path());
        // A directory that is not the root of a mounted file system is no medium to measure.
        EXPECT_EQ(DriveA::freeSpace(), std::nullopt);
    }
    DriveVariable missing(dir.file("unplugged").c_str());
    EXPECT_EQ(DriveA::directory(), std::nullopt);
    EXPECT_EQ(DriveA::freeSpace(), std::nullopt);
}

TEST(DriveA, AFloppySizedTmpfsOffersAllOfItsSpace) {
    test::TempDir dir;
    test::MountedMedium medium(dir.path(), {"tmpfs", "size=1440k", 0, {}});
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    DriveVariable named(medium.path().c_str());
    ASSERT_EQ(DriveA::freeSpace(), std::optional<std::uint64_t>(1440 * 1024));
    EXPECT_EQ(writeOnDriveA("photo.jpg1", 1440 * 1024), 0);
    EXPECT_EQ(DriveA::freeSpace(), std::optional<std::uint64_t>(0));
}

// On ext2 a file of more than 12 blocks needs indirect blocks of its own, taken from the same
// free space: a file sized to the raw free count does not fit, one sized to the answer does.
TEST(DriveA, AnExt2FloppyOffersWhatOneFileCanReallyTake) {
    struct Row {
        const char* label;
        std::vector<std::string> format;
        bool rawCountFits; // root may use the blocks reserved for it
    };
    const Row rows[] = {
        {"no blocks reserved", {"mkfs.ext2", "-q", "-F", "-b", "1024", "-m", "0"}, false},
        {"default reserve", {"mkfs.ext2", "-q", "-F", "-b", "1024"}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        test::MountedMedium medium(dir.path(), {"ext2", "", 1474560, row.format});
        if (!medium.mounted())
            GTEST_SKIP() << medium.failure();
        DriveVariable named(medium.path().c_str());
        const auto offered = DriveA::freeSpace();
        ASSERT_TRUE(offered.has_value());
        const std::uint64_t raw = rawFreeBytes(medium.path());
        EXPECT_LT(*offered, raw);
        EXPECT_GT(*offered, raw - 16 * 1024); // a few indirect blocks, no more
        if (!row.rawCountFits) {
            EXPECT_EQ(writeOnDriveA("raw.bin", raw), ENOSPC);
            ASSERT_EQ(unlink(medium.file("raw.bin").c_str()), 0);
        }
        EXPECT_EQ(writeOnDriveA("photo.jpg1", *offered), 0);
        EXPECT_EQ(test::Files::size(medium.file("photo.jpg1")), *offered);
    }
}

TEST(DriveA, AFatMediumOffersNoMoreThanItsLargestFile) {
    test::TempDir dir;
    test::MountedMedium medium(dir.path(), {"vfat", "", 5 * 1024 * MiB, {"mkfs.vfat", "-F", "32"}});
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    DriveVariable named(medium.path().c_str());
    ASSERT_GT(rawFreeBytes(medium.path()), 0xFFFFFFFFull);
    EXPECT_EQ(DriveA::freeSpace(), std::optional<std::uint64_t>(0xFFFFFFFFull));
}

// Mounts below /run/media/ for one test and removes what it made there.
class MediaDirectory final {
  public:
    MediaDirectory() {
        m_madeRoot = mkdir("/run/media", 0755) == 0;
        std::string pattern = "/run/media/sundrel-test-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~MediaDirectory() {
        if (!m_path.empty())
            rmdir(m_path.c_str());
        if (m_madeRoot)
            rmdir("/run/media");
    }
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    bool m_madeRoot = false;
};

TEST(DriveA, WithoutSundrelDriveATheLatestMountedMediumIsDriveA) {
    DriveVariable unset(nullptr);
    MediaDirectory media;
    if (media.path().empty())
        GTEST_SKIP() << "cannot make a directory below /run/media";
    EXPECT_NE(DriveA::directory(), media.path()) << "a bare directory is taken for a medium";
    std::string mountPoint;
    {
        test::MountedMedium medium(media.path(), {"tmpfs", "size=1440k", 0, {}});
        if (!medium.mounted())
            GTEST_SKIP() << medium.failure();
        mountPoint = medium.path();
        EXPECT_EQ(DriveA::directory(), mountPoint);
        EXPECT_EQ(DriveA::freeSpace(), std::optional<std::uint64_t>(1440 * 1024));
    }
    EXPECT_NE(DriveA::directory(), mountPoint) << "a medium taken out is still drive A:";
}

// A fake sysfs: /dev/block/<major:minor> links to the device's directory, a partition's
// directory lies inside its disk's, and the disk says whether its medium is removable.
class FakeSysfs final {
  public:
    FakeSysfs() {
        disk("8:0", "sda", false);
        partition("8:1", "sda", "sda1");
        disk("8:16", "sdb", true);
        partition("8:17", "sdb", "sdb1");
    }
    const std::string& root() const { return m_dir.path(); }

  private:
    void disk(const std::string& device, const std::string& name, bool removable) {
        const auto directory = std::filesystem::path(m_dir.path()) / "devices/pci0/block" / name;
        std::filesystem::create_directories(directory);
        test::Files::write(directory / "removable", removable ? "1\n" : "0\n");
        link(device, directory);
    }
    void partition(const std::string& device, const std::string& disk, const std::string& name) {
        const auto directory =
            std::filesystem::path(m_dir.path()) / "devices/pci0/block" / disk / name;
        std::filesystem::create_directories(directory);
        link(device, directory);
    }
    void link(const std::string& device, const std::filesystem::path& target) {
        std::filesystem::create_directories(std::filesystem::path(m_dir.path()) / "dev/block");
        std::filesystem::create_directory_symlink(target, std::filesystem::path(m_dir.path()) /
                                                              "dev/block" / device);
    }
    test::TempDir m_dir;
};

TEST(DriveA, RemovableMediaAreTakenFromTheMountTable) {
    FakeSysfs sysfs;
    using Mounts = std::vector<platform::MountTable::Mount>;
    struct Row {
        const char* label;
        Mounts mounts;
        std::optional<std::string> medium;
    };
    const platform::MountTable::Mount root{"8:1", "/", "ext4"};
    const platform::MountTable::Mount stick{"8:17", "/mnt/stick", "vfat"};
    const platform::MountTable::Mount wholeDisk{"8:16", "/mnt/disk", "vfat"};
    const platform::MountTable::Mount media{"0:44", "/media/u/FLOPPY", "tmpfs"};
    const platform::MountTable::Mount runMedia{"0:45", "/run/media/u/DISK", "tmpfs"};
    const platform::MountTable::Mount mediaLookalike{"0:46", "/mediafiles", "tmpfs"};
    const Row rows[] = {
        {"only fixed disks", {root, mediaLookalike}, std::nullopt},
        {"a partition of a removable disk", {root, stick}, "/mnt/stick"},
        {"a removable disk without partitions", {root, wholeDisk}, "/mnt/disk"},
        {"anything mounted below /media/", {root, media}, "/media/u/FLOPPY"},
        {"anything mounted below /run/media/", {root, runMedia}, "/run/media/u/DISK"},
        {"the latest of several", {root, stick, media, mediaLookalike}, "/media/u/FLOPPY"},
        {"nothing mounted", {}, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DriveA::mostRecentMedium(row.mounts, sysfs.root()), row.medium) << row.label;
}

} // namespace
