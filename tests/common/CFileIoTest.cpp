#include "common/CFile.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/ForkedChild.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <functional>

namespace {

constexpr unsigned readMode = CFile::typeBinary | CFile::modeRead;
constexpr unsigned createMode = CFile::typeBinary | CFile::modeCreate | CFile::modeWrite;

std::string expected(int cause, long osError, const std::string& name, const std::string& message) {
    return test::FileFaults::describe({cause, osError, name, message});
}

// Runs a request that must fail and returns its error, flattened.
std::string failure(const std::function<void()>& request) {
    try {
        request();
    } catch (const CFileException& error) {
        return test::FileFaults::describe(error);
    }
    return "no error";
}

TEST(CFileIo, AWriteOnAFullMediumNamesTheFullPathAndKeepsWhatFitted) {
    test::TempDir dir;
    test::ScratchTmpfs medium(dir.path(), "size=64k");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    const std::string name = medium.file("seg1");
    const std::string bytes = test::Files::pattern(256 * 1024);
    CFile file;
    ASSERT_TRUE(file.Open(name, createMode));
    EXPECT_EQ(failure([&] { file.Write(bytes.data(), bytes.size()); }),
              expected(13, ENOSPC, name, "Disk full while accessing " + name + "."));
    file.Close();
    const std::string kept = test::Files::read(name);
    EXPECT_EQ(kept.size(), 64u * 1024u);
    EXPECT_EQ(kept, bytes.substr(0, kept.size()));
}

TEST(CFileIo, AWriteToAFailingDeviceIsADiskFull) {
    CFile file;
    ASSERT_TRUE(file.Open("/dev/full", createMode));
    EXPECT_EQ(failure([&] { file.Write("x", 1); }),
              expected(13, ENOSPC, "/dev/full", "Disk full while accessing /dev/full."));
}

TEST(CFileIo, AWritePastTheFileSizeLimitNamesTheFullPath) {
    test::TempDir dir;
    const std::string name = dir.file("seg1");
    const auto report = test::ForkedChild::run([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{10000, 10000};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("cannot limit the file size");
        const std::string bytes = test::Files::pattern(20000);
        CFile file;
        if (!file.Open(name, createMode))
            return std::string("cannot create");
        return failure([&] { file.Write(bytes.data(), bytes.size()); });
    });
    ASSERT_TRUE(report.has_value()) << "the child did not report back";
    EXPECT_EQ(*report,
              expected(1, EFBIG, name, "An unknown error occurred while accessing " + name + "."));
    EXPECT_EQ(test::Files::read(name), test::Files::pattern(20000).substr(0, 10000));
}

TEST(CFileIo, FailingReadsNameAnUnnamedFile) {
    test::TempDir dir;
    char buffer[64];
    {
        SCOPED_TRACE("a medium error");
        CFile memory; // offset 0 of a process's memory is never mapped: reading it is an I/O error
        ASSERT_TRUE(memory.Open("/proc/self/mem", readMode));
        EXPECT_EQ(failure([&] { memory.Read(buffer, sizeof buffer); }),
                  expected(10, EIO, "",
                           "A hardware I/O error was reported while accessing an unnamed file."));
    }
    {
        SCOPED_TRACE("a file that was opened for writing");
        CFile segment;
        ASSERT_TRUE(segment.Open(dir.file("seg1"), createMode));
        EXPECT_EQ(failure([&] { segment.Read(buffer, sizeof buffer); }),
                  expected(2, EBADF, "", "an unnamed file was not found."));
    }
}

TEST(CFileIo, AWriteToAFileOpenedForReadingNamesTheFullPath) {
    test::TempDir dir;
    test::Files::write(dir.file("source.bin"), "abc");
    CFile source;
    ASSERT_TRUE(source.Open(dir.file("source.bin"), readMode));
    EXPECT_EQ(
        failure([&] { source.Write("x", 1); }),
        expected(2, EBADF, dir.file("source.bin"), dir.file("source.bin") + " was not found."));
    EXPECT_EQ(test::Files::read(dir.file("source.bin")), "abc");
}

TEST(CFileIo, AReadStopsOnlyAtTheEndOfTheFile) {
    test::TempDir dir;
    const std::string bytes = test::Files::pattern(3 * 1024 * 1024 + 17);
    test::Files::write(dir.file("source.bin"), bytes);
    CFile source;
    ASSERT_TRUE(source.Open(dir.file("source.bin"), readMode));
    std::string first(1024 * 1024, '\0');
    std::string rest(4 * 1024 * 1024, '\0');
    EXPECT_EQ(source.Read(first.data(), first.size()), first.size());
    EXPECT_EQ(source.Read(rest.data(), rest.size()), bytes.size() - first.size());
    EXPECT_EQ(source.Read(rest.data(), rest.size()), 0u);
    EXPECT_EQ(first + rest.substr(0, bytes.size() - first.size()), bytes);
}

} // namespace
