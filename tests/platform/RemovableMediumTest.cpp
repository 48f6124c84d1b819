#include "platform/files/RemovableMedium.h"
#include "support/Files.h"
#include "support/RemovableTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

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

} // namespace
