#include "common/CFile.h"
#include "common/CSegmentTransfer.h"
#include "common/CWinApp.h"
#include "platform/files/Folder.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/ForkedChild.h"
#include "support/InjectedFaults.h"
#include "support/RowName.h"
#include "support/ScratchTmpfs.h"
#include "support/Strace.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using test::Files;
constexpr unsigned readMode = CFile::typeBinary | CFile::modeRead;
constexpr unsigned createMode = CFile::typeBinary | CFile::modeCreate | CFile::modeWrite;
constexpr std::uint64_t MiB = 1 << 20;

std::string inChild(const std::function<std::string()>& body) {
    return test::ForkedChild::run(body).value_or("the child did not report back");
}

bool straceMissing() {
    return std::system("command -v strace >/dev/null 2>&1") != 0;
}

// Where a fault is provoked: a scratch directory named through "/./" as a user may type it, a
// 1 MiB source, a file this process holds open, a named pipe, and a tmpfs for the rows that need
// one.
struct Scene {
    test::TempDir dir;
    std::string given = dir.path() + "/./";
    std::string source = dir.file("source.bin");
    std::string held = dir.file("held.bin");
    CFile holder;
    std::unique_ptr<test::ScratchTmpfs> medium;

    // A path written with "{given}" (the directory as given, ending in "/./"), "{dir}" (its full
    // path), "{medium}" (the tmpfs) and "{long}" (600 bytes of a name that is not UTF-8).
    std::string path(std::string text) const {
        const std::pair<std::string, std::string> words[] = {
            {"{given}", given},
            {"{dir}", dir.path()},
            {"{medium}", medium ? medium->path() : ""},
            {"{long}", std::string(600, '\xA9')}};
        for (const auto& [word, meaning] : words)
            if (const auto at = text.find(word); at != std::string::npos)
                text.replace(at, word.size(), meaning);
        return text;
    }
};

enum class Needs { nothing, mount, root, strace, rootAndStrace };

// Failed opens name the file as given; failed transfers name its full path ("/./" gone).
struct Fault {
    const char* name;
    Needs needs;
    std::function<std::string(Scene&)> provoke;
    int cause, osError;
    const char* fileName;
    const char* report; // "%1" stands for the file name
    // A file left afterwards and the length of the pattern it holds (-1: the file must not
    // exist); by default the source, whole.
    const char* left = "{dir}/source.bin";
    long leftBytes = MiB;
};

// folder: the folder of the name, looked at once beforehand, as an operation opens its segments.
std::string openAt(const Scene& s, const char* path, unsigned mode,
                   const platform::Folder* folder = nullptr) {
    CFile file;
    CFileException error;
    return file.Open(s.path(path), mode, &error, folder) ? "opened"
                                                         : test::FileFaults::describe(error);
}

std::string openFromFolder(const Scene& s, const char* path, unsigned mode) {
    const platform::Folder folder(s.path(path));
    return openAt(s, path, mode, &folder);
}

std::string moveAt(const Scene& s, const char* source, const char* segment, std::uint64_t count) {
    CFile input, output; // a failed open shows as an error on a closed file
    input.Open(s.path(source), readMode);
    output.Open(s.path(segment), createMode);
    try {
        CSegmentTransfer::Move(input, output, count);
    } catch (const CFileException& error) {
        return test::FileFaults::describe(error);
    }
    return "moved";
}

// The name is free when it is looked at, and another user's link to the source stands there by
// the time it is created: the opening thread is stalled in open() (strace) while the link is
// planted. Its system call is read from /proc through a descriptor opened before the stall.
std::string openWhileALinkIsPlanted(Scene& s, const char* path, bool fromFolder) {
    const std::string name = s.path(path);
    const uid_t stranger = test::Unprivileged::stranger();
    if (chmod(s.dir.path().c_str(), 01777) != 0)
        return "cannot open the folder to all";
    std::optional<platform::Folder> folder;
    if (fromFolder)
        folder.emplace(name);
    std::mutex mutex;
    std::condition_variable wake;
    bool go = false;
    std::atomic<pid_t> thread = 0;
    std::string opened;
    std::thread opener([&] {
        thread = gettid();
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return go; });
        lock.unlock();
        opened = openAt(s, path, createMode, folder ? &*folder : nullptr);
    });
    while (thread == 0)
        std::this_thread::yield();
    const int call = open(("/proc/self/task/" + std::to_string(thread) + "/syscall").c_str(),
                          O_RDONLY | O_CLOEXEC);
    bool planted = false;
    {
        test::Strace strace({"-e", "inject=openat:delay_enter=2000000"});
        {
            const std::lock_guard lock(mutex);
            go = true;
        }
        wake.notify_one();
        char text[32] = {};
        for (int polls = 0; strace.attached() && polls < 1000 && !planted; ++polls) {
            planted = pread(call, text, sizeof text - 1, 0) > 0 && std::atoi(text) == SYS_openat &&
                      symlink("source.bin", name.c_str()) == 0 &&
                      lchown(name.c_str(), stranger, stranger) == 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        opener.join();
    }
    close(call);
    return planted ? opened : "the link was not planted while the open stalled";
}

// An open under a fault strace injects into flock(), while this process reads the source or not.
std::function<std::string(Scene&)> injected(const char* injection, unsigned mode, bool reading) {
    return [=](Scene& s) {
        return test::InjectedFaults::run({injection}, [&] {
            CFile reader;
            if (reading)
                reader.Open(s.source, readMode);
            return openAt(s, "{dir}/source.bin", mode);
        });
    };
}

const char* const denied = "Access to %1 was denied.";
const char* const sharing = "A sharing violation occurred while accessing %1.";
const char* const invalidPath = "%1 contains an invalid path.";

const Fault faults[] = {
    {"MissingFile", Needs::nothing, [](Scene& s) { return openAt(s, "{given}missing", readMode); },
     2, ENOENT, "{given}missing", "%1 was not found."},
    {"MissingDirectory", Needs::nothing,
     [](Scene& s) { return openAt(s, "{given}nodir/seg1", createMode); }, 3, ENOENT,
     "{given}nodir/seg1", invalidPath, "{dir}/nodir", -1},
    {"DirectoryOpenedAsAFile", Needs::nothing,
     [](Scene& s) { return openAt(s, "{dir}", readMode); }, 5, EISDIR, "{dir}", denied},
    {"ReadOnlyMount", Needs::mount,
     [](Scene& s) {
         Files::write(s.path("{medium}/kept.bin"), Files::pattern(4));
         return s.medium->remountReadOnly() ? openAt(s, "{medium}/kept.bin", createMode)
                                            : "cannot remount read-only";
     },
     5, EROFS, "{medium}/kept.bin", denied, "{medium}/kept.bin", 4},
    // Another user's file in a sticky folder open to all: root could remove it, Sundrel does not.
    {"AnotherUsersFileInASharedFolderNotRemoved", Needs::root,
     [](Scene& s) {
         const std::string theirs = s.path("{dir}/theirs");
         const uid_t stranger = test::Unprivileged::stranger();
         Files::write(theirs, Files::pattern(5000));
         if ((chmod(s.dir.path().c_str(), 01777) | chown(theirs.c_str(), stranger, stranger)) != 0)
             return std::string("cannot plant another user's file");
         try {
             CFile::Remove(theirs);
         } catch (const CFileException& error) {
             return test::FileFaults::describe(error);
         }
         return std::string("removed");
     },
     5, EACCES, "{dir}/theirs", denied, "{dir}/theirs", 5000},
    // The name is free when it is looked at, and another user's link to the source stands there
    // by the time it is created: each open stalls (strace) while the link is planted. Only a name
    // still free is taken.
    {"AnotherUsersLinkPlantedBetweenTheLookAndTheOpen", Needs::rootAndStrace,
     [](Scene& s) { return openWhileALinkIsPlanted(s, "{dir}/seg1", false); }, 5, EACCES,
     "{dir}/seg1", denied},
    {"AnotherUsersLinkPlantedWhileTheFolderMakesTheFile", Needs::rootAndStrace,
     [](Scene& s) { return openWhileALinkIsPlanted(s, "{dir}/seg1", true); }, 5, EACCES,
     "{dir}/seg1", denied},
    {"FullTmpfs", Needs::mount,
     [](Scene& s) { return moveAt(s, "{given}source.bin", "{medium}/./seg1", MiB); }, 13, ENOSPC,
     "{medium}/seg1", "Disk full while accessing %1.", "{medium}/seg1", 64 * 1024},
    {"CharacterDeviceWritten", Needs::nothing,
     [](Scene& s) { return openAt(s, "/dev/full", createMode); }, 5, EACCES, "/dev/full", denied},
    {"CharacterDeviceRead", Needs::nothing,
     [](Scene& s) { return openAt(s, "/dev/zero", readMode); }, 5, EACCES, "/dev/zero", denied},
    // Nobody at the other end of a named pipe: open() would wait for ever, so a child that the
    // bound kills tries it.
    {"NamedPipeRead", Needs::nothing,
     [](Scene& s) { return inChild([&] { return openAt(s, "{dir}/pipe", readMode); }); }, 5, EACCES,
     "{dir}/pipe", denied},
    {"NamedPipeWritten", Needs::nothing,
     [](Scene& s) { return inChild([&] { return openAt(s, "{dir}/pipe", createMode); }); }, 5,
     EACCES, "{dir}/pipe", denied},
    {"FileOfTheKernelsOwn", Needs::nothing,
     [](Scene& s) { return openAt(s, "/proc/cpuinfo", readMode); }, 5, EACCES, "/proc/cpuinfo",
     denied},
    {"FileOfTheKernelsOwnFromItsFolder", Needs::nothing,
     [](Scene& s) { return openFromFolder(s, "/proc/cpuinfo", readMode); }, 5, EACCES,
     "/proc/cpuinfo", denied},
    {"FileOfTheKernelsSysfs", Needs::nothing,
     [](Scene& s) { return openAt(s, "/sys/kernel/uevent_seqnum", readMode); }, 5, EACCES,
     "/sys/kernel/uevent_seqnum", denied},
    {"FileSizeLimitUnderTheProgramsOwnStartUp", Needs::nothing,
     [](Scene& s) {
         return inChild([&] {
             CWinApp().Run(); // the program's own start-up, which ends at once without a window
             const rlimit limit{10000, 10000};
             if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                 return std::string("cannot limit the file size");
             return moveAt(s, "{given}source.bin", "{given}limited", MiB);
         });
     },
     1, EFBIG, "{dir}/limited", "An unknown error occurred while accessing %1.", "{dir}/limited",
     10000},
    {"SecondOpenInThisProcess", Needs::nothing,
     [](Scene& s) { return openAt(s, "{dir}/held.bin", createMode); }, 11, EWOULDBLOCK,
     "{dir}/held.bin", sharing, "{dir}/held.bin", 5000},
    {"SecondOpenByAnotherProcess", Needs::nothing,
     [](Scene& s) { return inChild([&] { return openAt(s, "{dir}/held.bin", createMode); }); }, 11,
     EWOULDBLOCK, "{dir}/held.bin", sharing, "{dir}/held.bin", 5000},
    {"ShortSource", Needs::nothing,
     [](Scene& s) { return moveAt(s, "{given}source.bin", "{given}short1", 2 * MiB); }, 14, -1,
     "{dir}/source.bin", "An attempt was made to access %1 past its end.", "{dir}/short1", MiB},
    {"UnreadableSource", Needs::strace,
     [](Scene& s) {
         return test::InjectedFaults::run({"copy_file_range:error=EIO", "read:error=EIO"}, [&] {
             return moveAt(s, "{given}source.bin", "{given}unread1", MiB);
         });
     },
     10, EIO, "", "A hardware I/O error was reported while accessing %1.", "{dir}/unread1", 0},
    {"NameTooLongReportCutAt511Bytes", Needs::nothing,
     [](Scene& s) { return openAt(s, "{given}{long}", createMode); }, 3, ENAMETOOLONG,
     "{given}{long}", invalidPath},
    // NFS emulates flock with byte-range locks and refuses an exclusive one on a descriptor open
    // for reading (EBADF): a shared lock is taken instead. Where there are no locks at all
    // (ENOLCK), files open unlocked. Either way the source this process reads is never emptied.
    {"ExclusiveLockRefusedOnAReadDescriptor", Needs::strace,
     injected("flock:error=EBADF:when=1", createMode, true), 11, EWOULDBLOCK, "{dir}/source.bin",
     sharing},
    {"EveryLockRefusedToARead", Needs::strace, injected("flock:error=EBADF", readMode, false), 2,
     EBADF, "{dir}/source.bin", "%1 was not found."},
    {"EveryLockRefusedToACreate", Needs::strace, injected("flock:error=EBADF", createMode, false),
     2, EBADF, "{dir}/source.bin", "%1 was not found."},
    {"NoLocksAtAll", Needs::strace, injected("flock:error=ENOLCK", createMode, true), 11, EBUSY,
     "{dir}/source.bin", sharing},
};

class CFileFault : public testing::TestWithParam<Fault> {};

TEST_P(CFileFault, CarriesTheCauseTheErrorCodeTheNameAndTheReport) {
    const Fault& row = GetParam();
    Scene scene;
    if (row.needs == Needs::root && geteuid() != 0)
        GTEST_SKIP() << "dropping to another user needs root";
    if (row.needs == Needs::rootAndStrace && geteuid() != 0)
        GTEST_SKIP() << "planting another user's link needs root";
    if ((row.needs == Needs::strace || row.needs == Needs::rootAndStrace) && straceMissing())
        GTEST_SKIP() << "strace is not installed";
    if (row.needs == Needs::mount) {
        scene.medium = std::make_unique<test::ScratchTmpfs>(scene.dir.path(), "size=64k");
        if (!scene.medium->mounted())
            GTEST_SKIP() << scene.medium->failure();
    }
    Files::write(scene.source, Files::pattern(MiB));
    Files::write(scene.held, Files::pattern(5000));
    ASSERT_TRUE(scene.holder.Open(scene.held, readMode));
    ASSERT_EQ(mkfifo(scene.path("{dir}/pipe").c_str(), 0600), 0);
    const std::string fileName = scene.path(row.fileName);
    std::string report = row.report;
    report.replace(report.find("%1"), 2, fileName.empty() ? "an unnamed file" : fileName);
    EXPECT_EQ(row.provoke(scene), test::FileFaults::describe(
                                      {row.cause, row.osError, fileName, report.substr(0, 511)}));
    const std::string left = scene.path(row.left);
    EXPECT_EQ(Files::exists(left), row.leftBytes >= 0) << left;
    if (row.leftBytes >= 0) {
        EXPECT_EQ(Files::read(left), Files::pattern(row.leftBytes)) << left;
    }
}

INSTANTIATE_TEST_SUITE_P(Provoked, CFileFault, testing::ValuesIn(faults), test::rowName);

// Root ignores mode bits: a user who may not write a file of root's is shown the denial, and the
// file keeps its bytes. The test program runs again as that user (setpriv).
TEST(CFileAsAUser, AFileOnlyRootMayWriteIsDeniedAndKept) {
    if (test::Unprivileged::isRerun()) {
        const std::string name = test::Unprivileged::scene() + "/source.bin";
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(name, createMode, &error));
        EXPECT_EQ(
            test::FileFaults::describe(error),
            test::FileFaults::describe({5, EACCES, name, "Access to " + name + " was denied."}));
        EXPECT_TRUE(Files::read(name) == Files::pattern(MiB));
        return;
    }
    if (geteuid() != 0)
        GTEST_SKIP() << "running as another user needs root";
    test::TempDir dir;
    Files::write(dir.file("source.bin"), Files::pattern(MiB));
    ASSERT_EQ(chmod(dir.path().c_str(), 0755) | chmod(dir.file("source.bin").c_str(), 0644), 0);
    EXPECT_EQ(test::Unprivileged::rerun(dir.path()), "");
}

} // namespace
