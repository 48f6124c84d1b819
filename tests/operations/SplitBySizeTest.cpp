#include "common/CSegmentName.h"
#include "common/CWinApp.h"
#include "operations/CSplitBySizeDlg.h"
#include "operations/SplitDriver.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using test::Files;
using test::SplitDriver;

constexpr int sizeId = 1005;
constexpr unsigned information = 0x40;
constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;

using Box = SplitDriver::Box;
using Boxes = std::vector<Box>;
const Box splitDone{" The file has been split ! ", "Sun Drel - split by size ", information};

struct WorkedCase {
    const char* label;
    std::size_t length;
    const char* size;
    std::vector<std::uint64_t> segments;
    int barHigh;
};

TEST(SplitBySize, WorkedCasesWriteTheSegmentsStepTheBarAndReportSuccess) {
    const WorkedCase rows[] = {
        {"10 bytes by 3: the last takes the remainder", 10, "3", {3, 3, 4}, 3},
        {"10 by 4: the remainder never stands alone", 10, "4", {4, 6}, 2},
        {"12 by 4: all equal", 12, "4", {4, 4, 4}, 3},
        {"a size equal to the length: one copy", 10, "10", {10}, 1},
        {"a size above half the length: one copy", 10, "6", {10}, 1},
        {"a source shorter than the size: one copy, nothing made up", 10, "64", {10}, 0},
        {"an empty source: no segment", 0, "4", {}, 0},
        {"a size above the arrows' range typed by hand", 5000, "1001", {1001, 1001, 1001, 1997}, 4},
    };
    for (const WorkedCase& row : rows) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const std::string source = dir.file("a.bin");
        const std::string bytes = Files::pattern(row.length);
        Files::write(source, bytes);
        CSplitBySizeDlg dialog;
        const SplitDriver::Outcome outcome = SplitDriver(dialog, sizeId).run(source, row.size);
        EXPECT_EQ(outcome.boxes, Boxes{splitDone});
        EXPECT_EQ(Files::segmentLengths(source), row.segments);
        std::string joined;
        for (std::size_t k = 1; k <= row.segments.size(); ++k)
            joined += Files::read(CSegmentName::Make(source, static_cast<long long>(k)));
        EXPECT_EQ(joined, bytes);
        EXPECT_EQ(Files::listing(dir.path()).size(), row.segments.size() + 1);
        EXPECT_EQ(outcome.barLow, 0);
        EXPECT_EQ(outcome.barHigh, row.barHigh);
        EXPECT_EQ(outcome.barPosition, row.barHigh);
        EXPECT_TRUE(outcome.sourceHeldAtBox) << "the source was let go before the message";
        EXPECT_FALSE(outcome.busyAtBox);
    }
}

struct Refusal {
    const char* label;
    std::function<std::string(const test::TempDir&)> path;
    const char* size;
    Box box;
};

TEST(SplitBySize, RefusalsShowTheirMessageAndWriteNothing) {
    const std::string app = CWinApp::DisplayName();
    const auto existing = [](const test::TempDir& dir) {
        Files::write(dir.file("a.bin"), Files::pattern(10));
        return dir.file("a.bin");
    };
    const auto missing = [](const test::TempDir& dir) { return dir.file("missing"); };
    const auto folder = [](const test::TempDir& dir) {
        std::filesystem::create_directory(dir.file("folder"));
        return dir.file("folder");
    };
    const std::string positive = "Please enter a positive integer.";
    const std::string cannotOpen = " Error Opening File for reading ";
    const Refusal rows[] = {
        {"a minus sign", existing, "-5", {positive, app, 0x30}},
        {"letters", existing, "five", {positive, app, 0x30}},
        {"an empty size", existing, "", {positive, app, 0x30}},
        {"the arrows' 1,000", existing, "1,000", {positive, app, 0x30}},
        {"an empty path",
         [](const test::TempDir&) { return ""; },
         "3",
         {"Please specify a file to be split ", "Sundrel - split by size", information}},
        {"size 0",
         existing,
         "0",
         {" Please give the size of segments required (non-zero) ", "Sun Drel - split by size",
          information}},
        // The one message without a caption of its own, and without an icon.
        {"a source that does not exist", missing, "3", {cannotOpen, app, 0}},
        {"a directory as the source", folder, "3", {cannotOpen, app, 0}},
    };
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const std::string path = row.path(dir);
        const auto before = Files::listing(dir.path());
        CSplitBySizeDlg dialog;
        const auto outcome = SplitDriver(dialog, sizeId).run(path, row.size);
        EXPECT_EQ(outcome.boxes, Boxes{row.box});
        EXPECT_EQ(Files::listing(dir.path()), before);
        EXPECT_EQ(outcome.barHigh, 100) << "the bar was touched";
    }
}

TEST(SplitBySize, ASizeBeyond32BitsIsKeptAsTheLargest) {
    test::TempDir dir;
    Files::write(dir.file("a.bin"), Files::pattern(10));
    CSplitBySizeDlg dialog;
    const auto outcome = SplitDriver(dialog, sizeId).run(dir.file("a.bin"), "99999999999");
    EXPECT_EQ(dialog.m_nSize, 4294967295u);
    EXPECT_EQ(outcome.boxes, Boxes{splitDone});
    EXPECT_EQ(Files::segmentLengths(dir.file("a.bin")), std::vector<std::uint64_t>{10});
}

TEST(SplitBySize, ASparseSourceOver4GiBSplitsIntoWholeGibibytes) {
    test::TempDir dir;
    // On a tmpfs when one can be mounted: the 4 GiB of segments then never wait for a disk.
    test::ScratchTmpfs memory(dir.path(), "size=5g");
    const std::string source = memory.mounted() ? memory.file("big.bin") : dir.file("big.bin");
    const std::uint64_t length = 4 * GiB + 1000;
    // Marks at the edges of every segment, so a shifted or dropped range shows.
    std::vector<std::pair<std::uint64_t, std::string>> marks{{0, Files::pattern(4096, 1)}};
    for (std::uint64_t k = 1; k <= 3; ++k)
        marks.push_back({k * GiB - 2048, Files::pattern(4096, static_cast<unsigned>(k + 1))});
    marks.push_back({4 * GiB - 300, Files::pattern(600, 8)});
    marks.push_back({length - 200, Files::pattern(200, 9)});
    Files::makeSparse(source, length, marks);
    const std::string original = Files::checksum({source});
    ASSERT_FALSE(original.empty());

    CSplitBySizeDlg dialog;
    const auto outcome = SplitDriver(dialog, sizeId).run(source, "1073741824");
    EXPECT_EQ(outcome.boxes, Boxes{splitDone});
    EXPECT_EQ(outcome.barHigh, 4);
    EXPECT_EQ(outcome.barPosition, 4);
    EXPECT_EQ(Files::segmentLengths(source),
              (std::vector<std::uint64_t>{GiB, GiB, GiB, GiB + 1000}));
    std::filesystem::remove(source);
    std::vector<std::string> segments;
    for (long long k = 1; k <= 4; ++k)
        segments.push_back(CSegmentName::Make(source, k));
    EXPECT_EQ(Files::checksum(segments, true), original);
}

} // namespace
