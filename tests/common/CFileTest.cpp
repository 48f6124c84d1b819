#include "common/CFile.h"
#include "common/CSegmentName.h"
#include "common/CSegmentTransfer.h"
#include "common/CWinApp.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/ForkedChild.h"
#include "support/InjectedFaults.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using test::Files;
constexpr unsigned readMode = CFile::typeBinary | CFile::modeRead;
constexpr unsigned createMode = CFile::typeBinary | CFile::modeCreate | CFile::modeWrite;
constexpr std::uint64_t MiB = 1 << 20;
constexpr std::uint64_t GiB = 1 << 30;

std::string openError(const std::string& name, unsigned mode) {
    CFile file;
    CFileException error;
    return file.Open(name, mode, &error) ? "opened" : test::FileFaults::describe(error);
}

std::string moveError(const std::string& source, const std::string& segment, std::uint64_t count) {
    CFile input, output; // a failed open shows as an error on a closed file
    input.Open(source, readMode);
    output.Open(segment, createMode);
    try {
        CSegmentTransfer::Move(input, output, count);
    } catch (const CFileException& error) {
        return test::FileFaults::describe(error);
    }
    return "moved";
}

std::string inChild(const std::function<std::string()>& body) {
    return test::ForkedChild::run(body).value_or("the child did not report back");
}

// The program's own start-up, running a piece of a test in place of the main window.
class StartedProgram final : public CWinApp {
  public:
    explicit StartedProgram(std::function<std::string()> body) : m_body(std::move(body)) {}
    std::string run() {
        Run();
        return m_result;
    }

  private:
    bool InitInstance() override {
        m_result = m_body();
        return false;
    }
    std::function<std::string()> m_body;
    std::string m_result;
};

bool straceMissing() {
    return std::system("command -v strace >/dev/null 2>&1") != 0;
}

// Failed opens name the file as given; failed transfers name its full path ("/./" gone).
TEST(CFile, RealFaultsCarryTheCauseTheErrorCodeTheNameAndTheReport) {
    test::TempDir dir;
    test::ScratchTmpfs full(dir.path(), "size=64k");
    test::ScratchTmpfs readOnly(dir.path(), "size=1m");
    if (!full.mounted() || !readOnly.mounted())
        GTEST_SKIP() << full.failure() << readOnly.failure();
    if (straceMissing())
        GTEST_SKIP() << "strace is not installed";
    const std::string given = dir.path() + "/./";
    const std::string source = dir.file("source.bin");
    const std::string held = dir.file("held.bin");
    const std::string keptOnMount = readOnly.file("kept.bin");
    Files::write(source, Files::pattern(MiB));
    Files::write(held, Files::pattern(5000));
    Files::write(keptOnMount, "kept");
    ASSERT_TRUE(readOnly.remountReadOnly());
    ASSERT_EQ(chmod(dir.path().c_str(), 0755) | chmod(source.c_str(), 0644), 0);
    CFile holder;
    ASSERT_TRUE(holder.Open(held, readMode));
    const std::string tooLong = given + std::string(600, 'n');
    const char* denied = "Access to %1 was denied.";
    const char* diskFull = "Disk full while accessing %1.";
    const char* sharing = "A sharing violation occurred while accessing %1.";
    const struct {
        const char* name;
        std::function<std::string()> provoke;
        int cause, osError;
        std::string fileName;
        const char* report; // "%1" stands for the file name
    } rows[] = {
        {"missing file", [&] { return openError(given + "missing", readMode); }, 2, ENOENT,
         given + "missing", "%1 was not found."},
        {"missing directory", [&] { return openError(given + "nodir/seg1", createMode); }, 3,
         ENOENT, given + "nodir/seg1", "%1 contains an invalid path."},
        {"directory opened as a file", [&] { return openError(dir.path(), readMode); }, 5, EISDIR,
         dir.path(), denied},
        {"read-only mount", [&] { return openError(keptOnMount, createMode); }, 5, EROFS,
         keptOnMount, denied},
        {"unprivileged child",
         [&] {
             return inChild([&] {
                 if (setresgid(65534, 65534, 65534) != 0 || setresuid(65534, 65534, 65534) != 0)
                     return std::string("cannot drop privileges");
                 return openError(source, createMode);
             });
         },
         5, EACCES, source, denied},
        {"full tmpfs",
         [&] { return moveError(given + "source.bin", full.path() + "/./seg1", MiB); }, 13, ENOSPC,
         full.file("seg1"), diskFull},
        {"a character device, written", [&] { return openError("/dev/full", createMode); }, 5,
         EACCES, "/dev/full", denied},
        {"a character device, read", [&] { return openError("/dev/zero", readMode); }, 5, EACCES,
         "/dev/zero", denied},
        {"a file of the kernel's own", [&] { return openError("/proc/cpuinfo", readMode); }, 5,
         EACCES, "/proc/cpuinfo", denied},
        {"file size limit, under the program's own start-up",
         [&] {
             return inChild([&] {
                 return StartedProgram([&] {
                            const rlimit limit{10000, 10000};
                            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                                return std::string("cannot limit the file size");
                            return moveError(given + "source.bin", given + "limited", MiB);
                        })
                     .run();
             });
         },
         1, EFBIG, dir.file("limited"), "An unknown error occurred while accessing %1."},
        {"second open in this process", [&] { return openError(held, createMode); }, 11,
         EWOULDBLOCK, held, sharing},
        {"second open by another process",
         [&] { return inChild([&] { return openError(held, createMode); }); }, 11, EWOULDBLOCK,
         held, sharing},
        {"short source", [&] { return moveError(given + "source.bin", given + "short1", 2 * MiB); },
         14, -1, dir.file("source.bin"), "An attempt was made to access %1 past its end."},
        {"unreadable source",
         [&] {
             return test::InjectedFaults::run({"copy_file_range:error=EIO", "read:error=EIO"}, [&] {
                 return moveError(given + "source.bin", given + "unread1", MiB);
             });
         },
         10, EIO, "", "A hardware I/O error was reported while accessing %1."},
        {"name too long, report cut at 511 bytes", [&] { return openError(tooLong, createMode); },
         3, ENAMETOOLONG, tooLong, "%1 contains an invalid path."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::string report = row.report;
        report.replace(report.find("%1"), 2,
                       row.fileName.empty() ? "an unnamed file" : row.fileName);
        EXPECT_EQ(row.provoke(), test::FileFaults::describe({row.cause, row.osError, row.fileName,
                                                             report.substr(0, 511)}));
    }
    EXPECT_FALSE(Files::exists(dir.file("nodir")));
    EXPECT_EQ(Files::read(keptOnMount), "kept");
    EXPECT_EQ(Files::read(source), Files::pattern(MiB));
    EXPECT_EQ(Files::read(full.file("seg1")), Files::pattern(64 * 1024));
    EXPECT_EQ(Files::read(dir.file("limited")), Files::pattern(10000));
    EXPECT_EQ(Files::read(held), Files::pattern(5000));
    EXPECT_EQ(Files::read(dir.file("short1")), Files::pattern(MiB));
    EXPECT_EQ(Files::size(dir.file("unread1")), 0u);
}

// A named pipe with nobody at the other end would hold open() for ever; it is refused at once.
TEST(CFile, ANamedPipeIsRefusedWithoutWaiting) {
    test::TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (unsigned mode : {readMode, createMode}) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(pipe, mode, &error));
        EXPECT_TRUE(error.m_cause == CFileException::accessDenied ||
                    error.m_cause == CFileException::hardIO);
    }
}

// NFS emulates flock with byte-range locks, and refuses an exclusive one on a descriptor open for
// reading (EBADF): a shared lock is taken instead. Where there are no locks at all (ENOLCK), files
// open unlocked, and a file this process reads is still never emptied.
TEST(CFile, OpensWhereTheFileSystemRefusesOrLacksLocks) {
    if (straceMissing())
        GTEST_SKIP() << "strace is not installed";
    test::TempDir dir;
    const std::string file = dir.file("x1");
    Files::write(file, "kept");
    const auto readThenCreate = [&] {
        CFile reader;
        CFileException error;
        const bool read = reader.Open(file, readMode, &error);
        return (read ? "read" : test::FileFaults::describe(error)) + "; " +
               openError(file, createMode);
    };
    const auto fault = [&](int cause, int osError, const std::string& report) {
        return test::FileFaults::describe({cause, osError, file, report});
    };
    const std::string sharing = "A sharing violation occurred while accessing " + file + ".";
    const std::string notFound = fault(2, EBADF, file + " was not found.");
    const struct {
        const char* injection;
        std::string expected;
    } rows[] = {
        {"flock:error=EBADF:when=1", "read; " + fault(11, EWOULDBLOCK, sharing)},
        {"flock:error=EBADF", notFound + "; " + notFound},
        {"flock:error=ENOLCK", "read; " + fault(11, EBUSY, sharing)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(test::InjectedFaults::run({row.injection}, readThenCreate), row.expected)
            << row.injection;
        EXPECT_EQ(Files::read(file), "kept") << row.injection;
    }
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Each segment is split off and then joined onto the copy, in flat memory.
TEST(CSegmentTransfer, AFileLargerThan4GiBSurvivesASplitAndAJoinInFlatMemory) {
    test::TempDir dir;
    const std::string source = dir.file("big.bin");
    const std::uint64_t length = 4 * GiB + 4096;
    Files::makeSparse(source, length,
                      {{0, Files::pattern(4096, 1)},
                       {4 * GiB - 2048, Files::pattern(4096, 2)},
                       {length - 700, Files::pattern(700, 3)}});
    const std::vector<std::uint64_t> sizes = {2 * GiB - 7, 2 * GiB + 100, 4003}; // across 4 GiB
    const long peakBefore = peakResidentKiB();
    CFile input, copy;
    ASSERT_TRUE(input.Open(source, readMode));
    ASSERT_TRUE(copy.Open(dir.file("copy.bin"), createMode));
    for (int k = 1; k <= 3; ++k) {
        CFile segment;
        ASSERT_TRUE(segment.Open(CSegmentName::Make(source, k), createMode));
        CSegmentTransfer::Move(input, segment, sizes[k - 1]);
        // Opening again lets go of the segment first, or its own lock would refuse it.
        ASSERT_TRUE(segment.Open(CSegmentName::Make(source, k), readMode));
        CSegmentTransfer::Move(segment, copy, segment.GetLength());
    }
    EXPECT_LT(peakResidentKiB() - peakBefore, 64 * 1024);
    EXPECT_EQ(Files::segmentLengths(source), sizes);
    EXPECT_EQ(std::system(("cmp " + source + " " + dir.file("copy.bin")).c_str()), 0);
}

} // namespace
