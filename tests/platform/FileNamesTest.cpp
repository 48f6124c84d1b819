#include "platform/FileNames.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

using platform::FileNames;

// Runs the test body with the current directory set to dir/work and puts it back afterwards.
class WorkingDirectory final {
  public:
    explicit WorkingDirectory(const std::string& directory)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_previous); }

  private:
    std::filesystem::path m_previous;
};

struct Row {
    const char* name;
    std::string fullPath;
    bool parentExists;
};

TEST(FileNames, NamesAreResolvedAgainstTheCurrentDirectory) {
    test::TempDir dir;
    mkdir(dir.file("work").c_str(), 0755);
    mkdir(dir.file("work/sub").c_str(), 0755);
    test::Files::write(dir.file("work/a.bin"), "a");
    symlink(dir.file("work/sub").c_str(), dir.file("work/link").c_str());
    const std::string work = dir.file("work");
    const Row rows[] = {
        {"a.bin", work + "/a.bin", true},
        {"./b.bin", work + "/b.bin", true},
        {"sub/../a.bin", work + "/a.bin", true},
        {"../x.bin", dir.path() + "/x.bin", true},
        {"link/c.bin", work + "/sub/c.bin", true},
        {"sub", work + "/sub", true},
        {"/", "/", true},
        {"/etc", "/etc", true},
        {"nodir/x1", "nodir/x1", false},
        {"a.bin/x1", work + "/a.bin/x1", false},
    };
    WorkingDirectory inWork(work);
    for (const auto& row : rows) {
        EXPECT_EQ(FileNames::fullPath(row.name), row.fullPath) << row.name;
        EXPECT_EQ(FileNames::parentDirectoryExists(row.name), row.parentExists) << row.name;
    }
}

TEST(FileNames, NamesOnDriveALieInTheMediumsRoot) {
    test::TempDir medium;
    setenv("SUNDREL_DRIVE_A", medium.path().c_str(), 1);
    EXPECT_EQ(FileNames::resolve("a:photo.jpg1"), medium.file("photo.jpg1"));
    EXPECT_EQ(FileNames::resolve("A:photo.jpg1"), medium.file("photo.jpg1"));
    EXPECT_EQ(FileNames::fullPath("a:photo.jpg1"), medium.file("photo.jpg1"));
    EXPECT_TRUE(FileNames::parentDirectoryExists("a:photo.jpg1"));
    EXPECT_EQ(FileNames::resolve("b:photo.jpg1"), "b:photo.jpg1");
    EXPECT_EQ(FileNames::resolve("data/a:b"), "data/a:b");

    setenv("SUNDREL_DRIVE_A", medium.file("unplugged").c_str(), 1);
    EXPECT_EQ(FileNames::resolve("a:photo.jpg1"), std::nullopt);
    EXPECT_EQ(FileNames::fullPath("a:photo.jpg1"), "a:photo.jpg1");
    EXPECT_FALSE(FileNames::parentDirectoryExists("a:photo.jpg1"));
    unsetenv("SUNDREL_DRIVE_A");
}

} // namespace
