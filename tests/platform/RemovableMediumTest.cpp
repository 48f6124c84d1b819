#include "platform/files/RemovableMedium.h"
#include "platform/files/DriveA.h"
#include "support/Files.h"
#include "support/RemovableTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace {

// Removable or not is the answer of the mount that holds the open file, whatever path led to it.
TEST(RemovableMedium, IsTheDescriptorsMountNotThePathsPrefix) {
    test::TempDir internal;
    test::RemovableTmpfs medium("size=64k");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    test::Files::write(medium.file("stick.bin"), "s");
    test::Files::write(internal.file("disk.bin"), "d");
    ASSERT_EQ(symlink(medium.path().c_str(), internal.file("to-medium").c_str()) |
                  symlink(internal.path().c_str(), medium.file("to-disk").c_str()),
              0);
    const struct {
        std::string path;
        bool removable;
    } rows[] = {
        {medium.file("stick.bin"), true},
        {internal.file("to-medium/stick.bin"), true},
        {internal.file("disk.bin"), false},
        {medium.file("to-disk/disk.bin"), false},
    };
    for (const auto& row : rows) {
        const int descriptor = open(row.path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(descriptor, 0) << row.path;
        EXPECT_EQ(platform::RemovableMedium::holds(descriptor), row.removable) << row.path;
        close(descriptor);
    }
}

// A stick mounted by hand (at /mnt/usb, say) is told by what sysfs says of its disk: the newest
// such mount is drive A:, and what is written to it is flushed. A sysfs of three disks stands in
// for the machine's: 8:16 a removable disk, 8:33 a partition of one, 8:1 a partition of a fixed
// one.
TEST(RemovableMedium, SysfsTellsAStickMountedOutsideTheDesktopsFolders) {
    test::TempDir sys;
    namespace fs = std::filesystem;
    const struct {
        const char *device, *disk, *node, *flag;
    } disks[] = {{"8:16", "sdb", "sdb", "1\n"},
                 {"8:33", "sdc", "sdc/sdc1", "1\n"},
                 {"8:1", "sda", "sda/sda1", "0\n"}};
    fs::create_directories(sys.file("dev/block"));
    for (const auto& disk : disks) {
        fs::create_directories(sys.file("devices/") + disk.node);
        test::Files::write(sys.file("devices/") + disk.disk + "/removable", disk.flag);
        fs::create_symlink("../../devices/" + std::string(disk.node),
                           sys.file("dev/block/") + disk.device);
    }
    const auto line = [](int id, const std::string& device, const std::string& point) {
        return std::to_string(id) + " 1 " + device + " / " + point + " rw - ext4 /dev/x rw\n";
    };
    const std::string root = line(1, "8:1", "/"), stick = line(7, "8:16", "/mnt/usb");
    const struct {
        std::string table;
        std::optional<std::string> driveA;
    } rows[] = {
        {root + stick, "/mnt/usb"},
        {root + stick + line(9, "8:1", "/srv"), "/mnt/usb"},
        {root + stick + line(9, "8:33", "/mnt/card"), "/mnt/card"},
        {root + line(9, "8:1", "/srv"), std::nullopt},
    };
    for (const auto& row : rows) {
        const auto mounts = platform::MountTable::parse(row.table);
        EXPECT_EQ(platform::DriveA::mostRecentMedium(mounts, sys.path()), row.driveA) << row.table;
        EXPECT_EQ(platform::RemovableMedium::isRemovable(mounts.back(), sys.path()),
                  mounts.back().mountPoint == row.driveA)
            << row.table;
    }
}

} // namespace
