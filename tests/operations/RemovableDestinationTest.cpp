// Segments and joined files that land on a removable medium are on it before success is shown,
// and a flush that fails is reported as the file error it is. The machine's own disks are left to
// write back in their own time.

#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RemovableTmpfs.h"
#include "support/RowName.h"
#include "support/Strace.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

using namespace test;

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
    int fsyncs;         // flushes asked for: of a file, then of its directory (and for a joined
                        // file, the checksum file of a split and its segment 1, the directory
                        // again once it has its name)
    const char* report; // the file error, "<d>" standing for the directory; nullptr: success
    int reached;        // the bytes that reached the medium before a report: the bar's position
};

// clang-format off
const Flush rows[] = {
    {"ByNumber_InternalDisk_NoFlush", byNumber, false, "error=EIO", 0, nullptr, 0},
    {"Join_InternalDisk_NoFlush", join, false, "error=EIO", 0, nullptr, 0},
    {"BySize_EachFileThenItsDirectory_EinvalMeansNothingToFlush", bySize, true, "error=EINVAL:when=2+2", 10, nullptr, 0},
    {"ByNumber_Segment1sFlushFails", byNumber, true, "error=EIO:when=1", 1, "A hardware I/O error was reported while accessing <d>/a1.", 1000},
    {"BySize_TheMediumTurnsReadOnlyAtSegment2", bySize, true, "error=EROFS:when=3", 3, "Access to <d>/a2 was denied.", 2000},
    {"ByNumber_TheDirectorysFlushFails", byNumber, true, "error=EIO:when=2", 2, "A hardware I/O error was reported while accessing <d>/a1.", 1000},
    {"Join_TheTargetsFlushFails", join, true, "error=EROFS:when=1", 1, "Access to <d>/a was denied.", 3000},
    {"Join_Flushed_TheDirectorysEinvalIgnored", join, true, "error=EINVAL:when=2", 3, nullptr, 0},
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
        const char* amount = row.operation == bySize ? "1000" : "3";
        outcome = drive(row.operation, row.operation == join ? source + "1" : source, amount);
    }
    std::string report = row.report ? row.report : "";
    if (const auto at = report.find("<d>"); at != std::string::npos)
        report.replace(at, 3, dir);
    const Box shown = row.report
                          ? Box{report, app, BoxType::iconStop, bytesMoved(3000, row.reached)}
                          : success(row.operation, filled(3000));
    EXPECT_EQ(outcome.boxes, std::vector<Box>{shown});
    EXPECT_EQ(fsyncCalls(log), row.fsyncs);
    if (row.operation == join) {
        // A joined file whose flush failed never gets the target's name.
        EXPECT_EQ(Files::exists(source) ? Files::read(source) : "", row.report ? "" : bytes);
    } else if (row.report) {
        // The segment whose flush failed keeps its bytes, segment 1 apart; no later one is made.
        const std::size_t made = row.reached / 1000;
        EXPECT_FALSE(Files::exists(source + "1"));
        for (std::size_t k = 2; k <= made; ++k)
            EXPECT_EQ(Files::size(source + std::to_string(k)), 1000u);
        EXPECT_FALSE(Files::exists(source + std::to_string(made + 1)));
    } else {
        EXPECT_EQ(Files::segmentLengths(source), std::vector<std::uint64_t>(3, 1000));
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, RemovableDestination, testing::ValuesIn(rows), rowName);

// On a removable medium the bytes move on the worker thread; the bar shows its count at every
// chunk while a slow medium holds each one up.
TEST(RemovableDestination, TheBarFollowsTheWorkersBytesChunkByChunk) {
    constexpr std::uint64_t MiB = 1 << 20, length = 4 * MiB + 1;
    TempDir internal;
    RemovableTmpfs medium("size=16m");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    const std::string source = medium.file("a");
    Files::write(source, Files::pattern(length));
    std::set<int> seen; // positions of the bar while the segment was on its way
    Outcome outcome;
    {
        Strace strace({"-e", "inject=copy_file_range:delay_enter=300000"});
        if (!strace.attached())
            GTEST_SKIP() << "cannot trace this process with strace";
        outcome = drive(byNumber, source, "1", {Answer::ok}, [&](platform::Window dialog) {
            const Bar bar = barOf(dialog, resources::ControlIds::Split::progress);
            std::error_code none;
            const std::string written = Files::workFile(medium.path()); // segment 1's, until done
            const auto reached = std::filesystem::file_size(written, none);
            if (!none && bar.position != bar.high) {
                EXPECT_LE(std::uint64_t(bar.position), reached) << "the bar ran ahead";
                seen.insert(bar.position);
            }
        });
    }
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(byNumber, filled(length))});
    for (const std::uint64_t chunk : {MiB, 2 * MiB, 3 * MiB})
        EXPECT_TRUE(seen.count(int(chunk))) << "never at " << chunk;
}

} // namespace
