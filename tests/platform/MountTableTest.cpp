#include "platform/MountTable.h"

#include <gtest/gtest.h>

namespace {

using platform::MountTable;

TEST(MountTable, MountInfoLinesGiveDeviceMountPointAndType) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "35 22 8:17 / /media/u/MY\\040STICK rw,nosuid master:3 shared:9 - vfat /dev/sdb1 rw\n"
        "36 22 0:45 / /tmp/a\\134b rw - tmpfs tmpfs rw,size=1440k\n"
        "garbage\n"
        "37 22 7:0 / /mnt/floppy rw,relatime - ext2 /dev/loop0 rw\n";
    const auto mounts = MountTable::parse(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[1].device, "8:17");
    EXPECT_EQ(mounts[1].mountPoint, "/media/u/MY STICK");
    EXPECT_EQ(mounts[1].fileSystem, "vfat");
    EXPECT_EQ(mounts[2].mountPoint, "/tmp/a\\b");
    EXPECT_EQ(mounts[3].fileSystem, "ext2");
    EXPECT_EQ(MountTable::mountedOn(mounts, "/mnt/floppy")->device, "7:0");
    EXPECT_EQ(MountTable::mountedOn(mounts, "/mnt"), std::nullopt);
}

TEST(MountTable, TheRootFileSystemIsAmongTheCurrentMounts) {
    EXPECT_TRUE(MountTable::mountedOn(MountTable::current(), "/").has_value());
}

} // namespace
