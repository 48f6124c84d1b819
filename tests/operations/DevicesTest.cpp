#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>

namespace {

using namespace test;
namespace fs = std::filesystem;
constexpr std::uint64_t stickSize = (3 << 20) + 1536; // whole sectors

// A loop device attached over an image file for one test, detached when the object goes; the
// path is empty when this machine will not attach one.
struct LoopDevice final {
    explicit LoopDevice(const std::string& image) {
        const std::string named = image + ".device";
        if (std::system(("timeout 60 losetup -f --show '" + image + "' >" + named).c_str()) == 0)
            path = Files::read(named).substr(0, Files::read(named).find('\n'));
    }
    ~LoopDevice() {
        if (!path.empty())
            std::system(("losetup -d " + path).c_str());
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;
    std::string path;
};

// A stick is imaged into segments through a link to its device, measured by the device's size.
// Nothing is written into a device: not a node under a join's target name, not a segment beside
// a device node (on devtmpfs nothing is made at all).
TEST(Devices, ABlockDeviceIsReadByItsSizeAndNeverWritten) {
    TempDir dir;
    const std::string image = dir.file("stick.img"), bytes = Files::pattern(stickSize);
    Files::write(image, bytes);
    LoopDevice stick(image);
    ScratchTmpfs nodes(dir.path(), "size=1m");
    if (stick.path.empty() || !nodes.mounted())
        GTEST_SKIP() << "cannot attach a loop device or mount a tmpfs: " << nodes.failure();

    fs::create_symlink(stick.path, dir.file("stick"));
    const Outcome split = drive(byNumber, dir.file("stick"), "3");
    EXPECT_EQ(split.boxes, std::vector<Box>{success(byNumber, filled(stickSize))});
    const std::uint64_t third = stickSize / 3;
    EXPECT_EQ(Files::segmentLengths(dir.file("stick")),
              (std::vector<std::uint64_t>{third, third, stickSize - 2 * third}));
    EXPECT_EQ(std::system(("cat " + dir.file("stick?") + " | cmp - " + image).c_str()), 0);

    struct stat device {};
    ASSERT_EQ(stat(stick.path.c_str(), &device), 0);
    const std::string node = nodes.file("dv");
    ASSERT_EQ(mknod(node.c_str(), S_IFBLK | 0600, device.st_rdev), 0);
    ASSERT_TRUE(Files::read(node) == bytes) << "the node does not lead to the device";
    Files::write(node + "1", "segment");
    const Outcome join = drive(test::join, node + "1");
    EXPECT_EQ(join.boxes, (std::vector<Box>{{"Error opening target for writing ! ", app,
                                             BoxType::ok, untouched}}));

    const std::string devices = dir.file("devices");
    fs::create_directory(devices);
    if (mount("devtmpfs", devices.c_str(), "devtmpfs", 0, nullptr) == 0) {
        const std::string onDevtmpfs = devices + "/" + fs::path(stick.path).filename().string();
        const Outcome beside = drive(bySize, onDevtmpfs, "2000000");
        EXPECT_EQ(beside.boxes, (std::vector<Box>{{"Access to " + onDevtmpfs + "1 was denied.", app,
                                                   BoxType::iconStop, bytesMoved(stickSize, 0)}}));
        EXPECT_FALSE(Files::exists(onDevtmpfs + "1"));
        fs::remove(onDevtmpfs + "1"); // in the system's own /dev, should the refusal ever fail

        // Nor when the source's folder comes to lead there once segment 1 is being written (under
        // its work name).
        fs::create_directory(dir.file("in"));
        const std::string source = dir.file("in/a");
        Files::write(source, Files::pattern(6 << 20));
        const auto swap = [&](platform::Window) {
            if (!fs::is_symlink(dir.file("in")) && !Files::workFile(dir.file("in")).empty()) {
                fs::rename(dir.file("in"), dir.file("was"));
                fs::create_directory_symlink(devices, dir.file("in"));
            }
        };
        const Outcome swapped = drive(byNumber, source, "3", {Answer::ok}, swap);
        EXPECT_EQ(swapped.boxes,
                  (std::vector<Box>{{"Access to " + source + "2 was denied.", app,
                                     BoxType::iconStop, bytesMoved(6 << 20, 2 << 20)}}));
        EXPECT_FALSE(Files::exists(devices + "/a2"));
        fs::remove(devices + "/a2");
        umount2(devices.c_str(), MNT_DETACH);
    } else {
        ADD_FAILURE() << "cannot mount a devtmpfs";
    }
    EXPECT_TRUE(Files::read(stick.path) == bytes) << "the device was written";
}

} // namespace
