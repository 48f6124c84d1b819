#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RowName.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace test;

struct Worked {
    const char* name;
    Operation operation;
    std::size_t length;
    const char* amount;
    std::vector<std::uint64_t> segments;
    Bar bar;
};

// clang-format off
const Worked worked[] = {
    {"ByNumber_TheLastTakesTheRest", byNumber, 10, "3", {3, 3, 4}, {0, 3, 3}},
    {"ByNumber_FourEmptyThenAll", byNumber, 3, "5", {0, 0, 0, 0, 3}, {0, 5, 5}},
    {"ByNumber_EmptyByFour_ThreeEmptyNoFourth", byNumber, 0, "4", {0, 0, 0}, {0, 4, 3}},
    {"ByNumber_NegativeCount_AllInOneStep", byNumber, 10, "-3", {10}, {0, -3, 0}},
    {"ByNumber_TwelveUnpaddedNames", byNumber, 100, "12", {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 12}, {0, 12, 12}},
    {"BySize_TheLastTakesTheRest", bySize, 10, "4", {4, 6}, {0, 2, 2}},
    {"BySize_OverHalfTheLength_ACopy", bySize, 10, "6", {10}, {0, 1, 1}},
    {"BySize_ShorterThanTheSize_ACopy", bySize, 10, "64", {10}, {0, 0, 0}},
    {"BySize_EmptySource_NoSegment", bySize, 0, "4", {}, {0, 0, 0}},
};
// clang-format on

class Split : public testing::TestWithParam<Worked> {};

// The segments hold the source's bytes under names 1, 2, ... (cat joins them into the source) and
// nothing else is made; the one message comes up with the bar where the split left it and the
// source still held.
TEST_P(Split, WorkedCase) {
    const Worked& row = GetParam();
    TempDir dir;
    const std::string source = dir.file("a.bin"), bytes = Files::pattern(row.length);
    Files::write(source, bytes);
    const Outcome outcome = drive(row.operation, source, row.amount);
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(row.operation, row.bar)});
    EXPECT_TRUE(outcome.held && outcome.open);
    EXPECT_EQ(Files::segmentLengths(source), row.segments);
    EXPECT_EQ(Files::listing(dir.path()).size(), row.segments.size() + 1);
    std::string cat = "cat /dev/null";
    for (std::size_t k = 1; k <= row.segments.size(); ++k)
        cat += " " + source + std::to_string(k);
    EXPECT_EQ(std::system((cat + " | cmp - " + source).c_str()), 0);
}
INSTANTIATE_TEST_SUITE_P(Rows, Split, testing::ValuesIn(worked), rowName);

enum Source { aFile, noPath, missing, folder, held };
struct Refusal {
    const char* name;
    Operation operation;
    Source source;
    const char* amount;
    Box box;
    Hook beforeTheClick = nullptr;
};

// The arrows stop at 2 and at 1000, which they write with the locale's thousands separator.
void pressTheArrows(platform::Window dialog) {
    for (const auto& [key, presses, shown] :
         {std::tuple{Qt::Key_Down, 3, "2"}, {Qt::Key_Up, 998, "1,000"}}) {
        for (int press = 0; press < presses; ++press)
            Ui::key(dialog, key);
        EXPECT_EQ(Ui::text(dialog, resources::ControlIds::Split::segmentCount), shown);
    }
}

const std::string number = "Sundrel - split by number ";
const Box integer{"Please enter an integer.", app, BoxType::iconExclamation, untouched};
const Box positive{"Please enter a positive integer.", app, BoxType::iconExclamation, untouched};
const Box cannotOpen{" Error Opening Source File for reading ", number, BoxType::iconInformation,
                     untouched};
// clang-format off
const Refusal refusals[] = {
    {"ByNumber_EmptyPath", byNumber, noPath, "3", {"Please specify a file to be split ", number, BoxType::iconInformation, untouched}},
    {"ByNumber_CountZero", byNumber, aFile, "0", {" Please give the number of segments required (non-zero) ", "Sun Drel - split by number ", BoxType::iconInformation, untouched}},
    {"ByNumber_CountInLetters", byNumber, aFile, "three", integer},
    {"ByNumber_TheArrowsThousandWithItsSeparator", byNumber, aFile, "3", integer, pressTheArrows},
    {"ByNumber_NoSuchSource", byNumber, missing, "3", cannotOpen},
    {"ByNumber_ADirectoryAsSource", byNumber, folder, "3", cannotOpen},
    {"ByNumber_ASourceHeldByAnotherOpen", byNumber, held, "3", cannotOpen},
    {"BySize_Negative", bySize, aFile, "-5", positive},
    {"BySize_Empty", bySize, aFile, "", positive},
    {"BySize_Zero", bySize, aFile, "0", {" Please give the size of segments required (non-zero) ", "Sun Drel - split by size", BoxType::iconInformation, untouched}},
    {"BySize_NoSuchSource", bySize, missing, "3", {" Error Opening File for reading ", app, 0, untouched}},
};
// clang-format on

class SplitRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(SplitRefusal, ShowsItsMessageAndWritesNothing) {
    const Refusal& row = GetParam();
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TempDir dir;
    Files::write(dir.file("a"), "0123456789");
    std::filesystem::create_directory(dir.file("folder"));
    CFile holder;
    ASSERT_TRUE(row.source != held || holder.Open(dir.file("a"), CFile::modeRead));
    const std::string paths[] = {dir.file("a"), "", dir.file("missing"), dir.file("folder"),
                                 dir.file("a")};
    const Outcome outcome =
        drive(row.operation, paths[row.source], row.amount, {Answer::ok}, {}, {row.beforeTheClick});
    EXPECT_EQ(outcome.boxes, std::vector<Box>{row.box});
    EXPECT_EQ(Files::listing(dir.path()), (std::vector<std::string>{"a", "folder"}));
    EXPECT_TRUE(outcome.open);
    QLocale::setDefault(previous);
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitRefusal, testing::ValuesIn(refusals), rowName);

enum Fault { folderMovedAway, readOnly, fillsUp };
struct FileFault {
    const char* name;
    Fault fault;
    Operation operation;
    std::uint64_t length;
    const char* amount;
    const char *before, *after; // the report: before, the segment that failed, after
    int written;                // the segments finished first, and the bar's position
    int segments;
};

// clang-format off
const FileFault faults[] = {
    {"ByNumber_FolderMovedAwayAfterSegment1", folderMovedAway, byNumber, 6 << 20, "3", "", " contains an invalid path.", 1, 3},
    {"BySize_ReadOnlyMedium", readOnly, bySize, 6 << 20, "2097152", "Access to ", " was denied.", 0, 3},
    {"ByNumber_MediumFillsUpInSegment2", fillsUp, byNumber, 3 << 20, "4", "Disk full while accessing ", ".", 1, 4},
};
// clang-format on

class SplitFault : public testing::TestWithParam<FileFault> {};

// The dialog stays open with its values, and what was written stays: the finished segments
// whole, the failed one with at most the bytes read for it.
TEST_P(SplitFault, EndsTheSplitWithItsReportAndKeepsWhatWasWritten) {
    const FileFault& row = GetParam();
    TempDir dir;
    ScratchTmpfs medium(dir.path(), row.fault == fillsUp ? "size=4m" : "size=16m");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    std::filesystem::create_directory(medium.file("in"));
    const std::string source = medium.file("in/a"), bytes = Files::pattern(row.length);
    Files::write(source, bytes);
    ASSERT_TRUE(row.fault != readOnly || medium.remountReadOnly());
    bool moved = false;
    const auto move = [&](platform::Window) {
        if (row.fault == folderMovedAway && !moved && Files::exists(source + "1"))
            moved = std::rename(medium.file("in").c_str(), medium.file("out").c_str()) == 0;
    };
    const Outcome outcome = drive(row.operation, source, row.amount, {Answer::ok}, move);
    const std::string failed = source + std::to_string(row.written + 1);
    EXPECT_EQ(outcome.boxes, (std::vector<Box>{{row.before + failed + row.after,
                                                app,
                                                BoxType::iconStop,
                                                {0, row.segments, row.written}}}));
    EXPECT_TRUE(outcome.open);
    EXPECT_EQ(outcome.kept, source + "|" + row.amount);
    const std::string base = moved ? medium.file("out/a") : source;
    const std::uint64_t each = row.length / row.segments;
    for (int k = 1; k <= row.written + 1; ++k) {
        const std::string segment = base + std::to_string(k);
        const std::string got = Files::exists(segment) ? Files::read(segment) : "";
        EXPECT_EQ(got, bytes.substr((k - 1) * each, k <= row.written ? each : got.size()));
    }
    EXPECT_FALSE(Files::exists(base + std::to_string(row.written + 2)));
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitFault, testing::ValuesIn(faults), rowName);

// XFS copies by reflinking, so one segment of more than 4 GiB costs neither room nor much time:
// its length survives every count on its way, and the bytes beyond 4 GiB are the source's.
TEST(SplitByNumber, OneSegmentOver4GiBHoldsTheWholeSource) {
    TempDir dir;
    const std::string image = dir.file("xfs.img"), point = dir.file("xfs");
    const std::string make = "timeout 120 sh -c 'truncate -s 1G " + image +
                             " && mkfs.xfs -q -f -m reflink=1 " + image + " && mkdir " + point +
                             " && mount -o loop " + image + " " + point + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "cannot make and loop-mount an XFS image with reflinks here";
    const struct Unmount {
        std::string point;
        ~Unmount() { umount2(point.c_str(), MNT_DETACH); }
    } unmount{point};
    const std::string source = point + "/big.iso";
    const std::uint64_t length = (std::uint64_t(1) << 32) + 4096;
    const std::vector<std::pair<std::uint64_t, std::string>> marks = {
        {0, Files::pattern(4096, 1)}, {length - 8192, Files::pattern(8192, 2)}};
    Files::makeSparse(source, length, marks);
    const Outcome outcome = drive(byNumber, source, "1");
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(byNumber, {0, 1, 1})});
    EXPECT_EQ(Files::segmentLengths(source), std::vector<std::uint64_t>{length});
    std::ifstream segment(source + "1", std::ios::binary);
    for (const auto& [offset, bytes] : marks) {
        std::string read(bytes.size(), '\0');
        segment.seekg(static_cast<std::streamoff>(offset)).read(read.data(), read.size());
        EXPECT_TRUE(segment && read == bytes) << "at " << offset;
    }
}

} // namespace
