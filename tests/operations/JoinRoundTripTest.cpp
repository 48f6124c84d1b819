#include "common/CSegmentName.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "operations/JoinDriver.h"
#include "operations/JoinSegmentSet.h"
#include "support/Files.h"
#include "support/Modal.h"
#include "support/ScratchTmpfs.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

namespace {

using test::Files;
using test::JoinDriver;
using test::JoinSegmentSet;

constexpr const char* joined = "File Joined ";
constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = 1024 * KiB;
constexpr std::uint64_t GiB = 1024 * MiB;

struct RoundTrip {
    const char* label;
    std::uint64_t length;
    bool byNumber; // otherwise by size
    std::uint64_t amount;
    std::size_t segments;
};

TEST(JoinRoundTrip, SetsCutByNumberAndBySizeJoinBackByteForByte) {
    const std::vector<RoundTrip> cases = {
        {"3 by number, the rest in the last", MiB + 5, true, 3, 3},
        {"12 by number", 100000, true, 12, 12},
        {"more segments than bytes: empty ones, then all of it", 5, true, 7, 7},
        {"by size, the rest joining the last", 10 * KiB + 1, false, 1000, 10},
        {"12 by size", 12 * 4096 + 4095, false, 4096, 12},
        {"one segment the size of the file", 777, false, 777, 1},
    };
    for (const RoundTrip& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const std::string source = dir.file("data.bin");
        const std::string bytes = Files::pattern(row.length, static_cast<unsigned>(row.length));
        const auto lengths = row.byNumber ? JoinSegmentSet::byNumber(row.length, row.amount)
                                          : JoinSegmentSet::bySize(row.length, row.amount);
        ASSERT_EQ(lengths.size(), row.segments);
        JoinSegmentSet::cut(bytes, source, lengths);
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(source + "1");

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
        ASSERT_TRUE(Files::exists(source));
        EXPECT_TRUE(Files::read(source) == bytes) << "the joined file differs from the source";
        EXPECT_EQ(JoinSegmentSet::listing(dir.path()).size(), row.segments + 1);
    }
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(JoinRoundTrip, AFileOver4GiBJoinsBackWithFlatMemory) {
    test::TempDir dir;
    // The joined file is written for real; in memory that takes seconds, on a busy disk minutes.
    // The segments and the original stay sparse either way.
    test::ScratchTmpfs memory(dir.path(), "size=4200m");
    const std::string place = memory.mounted() ? memory.path() : dir.path();
    std::filesystem::create_directory(place + "/set");
    const std::uint64_t length = 4 * GiB + 4099;
    const auto lengths = JoinSegmentSet::byNumber(length, 3);
    // Marks at both ends, across each cut and across the 4 GiB mark, which segment 3 spans.
    const JoinSegmentSet::Pieces pieces = {
        {0, Files::pattern(5000, 1)},
        {lengths[0] - 100, Files::pattern(300, 2)},
        {lengths[0] + lengths[1] - 7, Files::pattern(4096, 3)},
        {4 * GiB - 2048, Files::pattern(4096, 4)},
        {length - 1000, Files::pattern(1000, 5)},
    };
    JoinSegmentSet::writeSparse(place + "/original", length, pieces);
    JoinSegmentSet::cutSparse(length, pieces, place + "/set/big.iso", lengths);

    const long before = peakMemoryKiB();
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome =
        JoinDriver(dialog).answer(1).within(280).run(place + "/set/big.iso1");
    const long grown = peakMemoryKiB() - before;

    EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
    EXPECT_LT(grown, 64 * 1024) << "peak memory grew by " << grown << " KiB";
    ASSERT_EQ(Files::size(place + "/set/big.iso"), length);
    EXPECT_EQ(JoinSegmentSet::firstDifference(place + "/original", place + "/set/big.iso"), "same");
}

TEST(JoinRoundTrip, CatAndTheJoinMakeTheSameFile) {
    test::TempDir dir;
    const std::vector<std::string> segments = {Files::pattern(3 * MiB + 17, 1), "",
                                               Files::pattern(1, 2), Files::pattern(65536, 3),
                                               Files::pattern(MiB, 4)};
    JoinSegmentSet::write(dir.file("movie.mkv"), segments);
    std::string catCommand = "cat";
    for (std::size_t k = 1; k <= segments.size(); ++k)
        catCommand += " '" + dir.file("movie.mkv" + std::to_string(k)) + "'";
    catCommand += " > '" + dir.file("by-cat") + "'";
    ASSERT_EQ(std::system(catCommand.c_str()), 0);
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(dir.file("movie.mkv1"));

    EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
    const std::string byCat = Files::read(dir.file("by-cat"));
    EXPECT_EQ(byCat.size(), Files::size(dir.file("movie.mkv")));
    EXPECT_TRUE(Files::read(dir.file("movie.mkv")) == byCat);
}

struct RealSplit {
    const char* label;
    std::function<CDialog*()> make;
    int amountId;
    std::string amount;
    std::size_t segments;
};

// Split with the program's own dialogs, then join what they left.
TEST(JoinRoundTrip, WhatTheSplitDialogsWriteJoinsBack) {
    const std::vector<RealSplit> cases = {
        {"split by number", [] { return new CSplitByNumberDlg; }, 1004, "12", 12},
        {"split by size", [] { return new CSplitBySizeDlg; }, 1005, "100000", 5},
    };
    for (const RealSplit& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const std::string source = dir.file("holiday.mov");
        const std::string bytes = Files::pattern(500 * KiB + 3, 9);
        Files::write(source, bytes);
        {
            const std::unique_ptr<CDialog> split(row.make());
            test::ScriptedMessageBoxes boxes;
            boxes.answer(1);
            test::Modal::run(*split, [&](platform::Window window) {
                test::Ui::type(window, 1001, source);
                test::Ui::type(window, row.amountId, row.amount);
                test::Ui::click(window, 1003);
            });
            ASSERT_EQ(boxes.texts(), std::vector<std::string>{" The file has been split ! "});
        }
        ASSERT_TRUE(
            Files::exists(CSegmentName::Make(source, static_cast<long long>(row.segments))));
        ASSERT_FALSE(
            Files::exists(CSegmentName::Make(source, static_cast<long long>(row.segments + 1))));
        std::filesystem::remove(source);
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(source + "1");

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
        ASSERT_TRUE(Files::exists(source));
        EXPECT_TRUE(Files::read(source) == bytes);
    }
}

} // namespace
