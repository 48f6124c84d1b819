// Segments and joined files that land on a removable medium are on it before success is shown,
// and a flush that fails is reported as the file error it is. The machine's own disks are left to
// write back in their own time.

#include "common/CWinApp.h"
#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RemovableTmpfs.h"
#include "support/Strace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace test;
const std::string app = CWinApp::DisplayName();

int fsyncCalls(const std::string& log) {
    std::ifstream in(log);
    int calls = 0;
    for (std::string line; std::getline(in, line);)
        calls += line.find("fsync(") != std::string::npos;
    return calls;
}

struct Flush {
    const char* name;
    Operation operation;
    bool removable;
    const char* inject; // what strace makes of the flushes
    int fsyncs;         // flushes asked for: of a file, then of its directory
    const char* text;   // the one message; "%1" stands for the file of a report
    const char* file;   // the file that a report names
    int position;       // of the bar behind the message
};

// Three segments of 1000 bytes, split from a, or joined into a.
TEST(RemovableDestination, IsFlushedBeforeSuccessAndAFailedFlushIsReported) {
    const char* hardware = "A hardware I/O error was reported while accessing %1.";
    const char* denied = "Access to %1 was denied.";
    const char* split = " The file has been split ! ";
    // clang-format off
    const Flush rows[] = {
        {"by number, internal disk: no flush", byNumber, false, "error=EIO", 0, split, "", 3},
        {"join, internal disk: no flush", join, false, "error=EIO", 0, "File Joined ", "", 50},
        {"by size: each file, then its directory, whose EINVAL means nothing to flush", bySize, true, "error=EINVAL:when=2+2", 6, split, "", 3},
        {"by number: segment 1's flush fails", byNumber, true, "error=EIO:when=1", 1, hardware, "a1", 0},
        {"by size: the medium turns read-only at segment 2", bySize, true, "error=EROFS:when=3", 3, denied, "a2", 1},
        {"by number: the directory's flush fails", byNumber, true, "error=EIO:when=2", 2, hardware, "a1", 0},
        {"join: the target's flush fails", join, true, "error=EROFS:when=1", 1, denied, "a", 3},
        {"join: flushed, the directory's EINVAL ignored", join, true, "error=EINVAL:when=2", 2, "File Joined ", "", 50},
    };
    // clang-format on
    for (const Flush& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir internal;
        RemovableTmpfs medium("size=1m");
        if (!medium.mounted())
            GTEST_SKIP() << medium.failure();
        const std::string dir = row.removable ? medium.path() : internal.path();
        const std::string source = dir + "/a", bytes = Files::pattern(3000);
        if (row.operation == join) {
            for (int k = 0; k < 3; ++k)
                Files::write(source + std::to_string(k + 1), bytes.substr(k * 1000, 1000));
        } else {
            Files::write(source, bytes);
        }
        const std::string log = internal.file("strace.log");
        Outcome outcome;
        {
            Strace strace({"-e", std::string("inject=fsync:") + row.inject}, log);
            if (!strace.attached())
                GTEST_SKIP() << "cannot trace this process with strace";
            outcome = row.operation == join
                          ? drive(join, source + "1")
                          : drive(row.operation, source, row.operation == bySize ? "1000" : "3");
        }
        std::string text = row.text;
        const bool report = text.find("%1") != std::string::npos;
        if (report)
            text.replace(text.find("%1"), 2, dir + "/" + row.file);
        const Box box{text,
                      report                    ? app
                      : row.operation == join   ? app
                      : row.operation == bySize ? "Sun Drel - split by size "
                                                : "Sun Drel - split by number ",
                      report                  ? 0x10u
                      : row.operation == join ? 0u
                                              : 0x40u,
                      {0, row.operation == join ? 50 : 3, row.position}};
        EXPECT_EQ(outcome.boxes, std::vector<Box>{box});
        EXPECT_EQ(fsyncCalls(log), row.fsyncs);
        if (row.operation == join) {
            EXPECT_EQ(Files::read(source), bytes);
        } else {
            // The segment whose flush failed keeps its bytes; no later segment is made.
            const std::size_t made = report ? std::string(row.file).back() - '0' : 3;
            EXPECT_EQ(Files::segmentLengths(source), std::vector<std::uint64_t>(made, 1000));
        }
    }
}

} // namespace
