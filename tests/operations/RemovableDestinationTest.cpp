// Segments and joined files that land on a removable medium are on it before success is shown,
// and a flush that fails is reported as the file error it is. The machine's own disks are left to
// write back in their own time.

#include "common/CWinApp.h"
#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RemovableTmpfs.h"
#include "support/RowName.h"
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

const char* hardware = "A hardware I/O error was reported while accessing %1.";
const char* denied = "Access to %1 was denied.";
const char* split = " The file has been split ! ";
// clang-format off
const Flush rows[] = {
    {"ByNumber_InternalDisk_NoFlush", byNumber, false, "error=EIO", 0, split, "", 3},
    {"Join_InternalDisk_NoFlush", join, false, "error=EIO", 0, "File Joined ", "", 50},
    {"BySize_EachFileThenItsDirectory_EinvalMeansNothingToFlush", bySize, true, "error=EINVAL:when=2+2", 6, split, "", 3},
    {"ByNumber_Segment1sFlushFails", byNumber, true, "error=EIO:when=1", 1, hardware, "a1", 0},
    {"BySize_TheMediumTurnsReadOnlyAtSegment2", bySize, true, "error=EROFS:when=3", 3, denied, "a2", 1},
    {"ByNumber_TheDirectorysFlushFails", byNumber, true, "error=EIO:when=2", 2, hardware, "a1", 0},
    {"Join_TheTargetsFlushFails", join, true, "error=EROFS:when=1", 1, denied, "a", 3},
    {"Join_Flushed_TheDirectorysEinvalIgnored", join, true, "error=EINVAL:when=2", 2, "File Joined ", "", 50},
};
// clang-format on

class RemovableDestination : public testing::TestWithParam<Flush> {};

// Three segments of 1000 bytes, split from a, or joined into a.
TEST_P(RemovableDestination, IsFlushedBeforeSuccessAndAFailedFlushIsReported) {
    const Flush& row = GetParam();
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
                  report || row.operation == join ? app
                  : row.operation == bySize       ? "Sun Drel - split by size "
                                                  : "Sun Drel - split by number ",
                  report                  ? BoxType::iconStop
                  : row.operation == join ? BoxType::ok
                                          : BoxType::iconInformation,
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
INSTANTIATE_TEST_SUITE_P(Rows, RemovableDestination, testing::ValuesIn(rows), rowName);

} // namespace
