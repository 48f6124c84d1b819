#include "common/CWinApp.h"
#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace test;
using Lengths = std::vector<std::uint64_t>;

struct Worked {
    const char* name;
    std::size_t length;
    const char* amount;
    Lengths segments;
    Bar bar;
};

// The segments hold the source's bytes under names 1, 2, ... (cat joins them into the source, and
// so does the join) and nothing else is made; the one message comes up with the bar where the
// split left it and the source still held.
void expectWorked(Operation operation, const std::vector<Worked>& rows, const char* caption) {
    for (const Worked& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string source = dir.file("a.bin"), bytes = Files::pattern(row.length);
        Files::write(source, bytes);
        const Outcome outcome = drive(operation, source, row.amount);
        EXPECT_EQ(outcome.boxes,
                  (std::vector<Box>{{" The file has been split ! ", caption, 0x40, row.bar}}));
        EXPECT_TRUE(outcome.held && outcome.open);
        EXPECT_EQ(Files::segmentLengths(source), row.segments);
        EXPECT_EQ(Files::listing(dir.path()).size(), row.segments.size() + 1);
        std::string cat = "cat /dev/null";
        for (std::size_t k = 1; k <= row.segments.size(); ++k)
            cat += " " + source + std::to_string(k);
        ASSERT_EQ(std::system((cat + " >" + dir.file("cat")).c_str()), 0);
        EXPECT_TRUE(Files::read(dir.file("cat")) == bytes);
        EXPECT_TRUE(row.segments.empty() ||
                    (drive(join, source + "1").boxes.size() == 1 && Files::read(source) == bytes))
            << "joined back";
    }
}

TEST(SplitByNumber, WorkedCases) {
    expectWorked(
        byNumber,
        {{"10 bytes by 3: the last takes the rest", 10, "3", {3, 3, 4}, {0, 3, 3}},
         {"12 bytes by 3", 12, "3", {4, 4, 4}, {0, 3, 3}},
         {"3 bytes by 5: four empty, then all", 3, "5", {0, 0, 0, 0, 3}, {0, 5, 5}},
         {"empty by 4: three empty, no fourth", 0, "4", {0, 0, 0}, {0, 4, 3}},
         {"empty by 1: nothing", 0, "1", {}, {0, 1, 0}},
         {"count 1: a copy", 10, "1", {10}, {0, 1, 1}},
         {"a negative count: all in one, one step", 10, "-3", {10}, {0, -3, 0}},
         {"12 unpadded names", 100, "12", {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 12}, {0, 12, 12}},
         {"1001 typed by hand", 1001, "1001", Lengths(1001, 1), {0, 1001, 1001}}},
        "Sun Drel - split by number ");
}

TEST(SplitBySize, WorkedCases) {
    expectWorked(bySize,
                 {{"10 by 3: the last takes the rest", 10, "3", {3, 3, 4}, {0, 3, 3}},
                  {"10 by 4", 10, "4", {4, 6}, {0, 2, 2}},
                  {"12 by 4", 12, "4", {4, 4, 4}, {0, 3, 3}},
                  {"a size equal to the length: a copy", 10, "10", {10}, {0, 1, 1}},
                  {"a size over half the length: a copy", 10, "6", {10}, {0, 1, 1}},
                  {"a source shorter than the size: a copy", 10, "64", {10}, {0, 0, 0}},
                  {"an empty source: no segment", 0, "4", {}, {0, 0, 0}}},
                 "Sun Drel - split by size ");
}

TEST(SplitBySize, ASizeBeyond32BitsIsClampedToTheLargest) {
    TempDir dir;
    Files::write(dir.file("a"), "0123456789");
    EXPECT_EQ(drive(bySize, dir.file("a"), "99999999999").kept, dir.file("a") + "|4294967295");
}

// GNU split -n too puts the remainder in the last segment.
TEST(SplitByNumber, MatchesGnuSplitByteForByte) {
    for (const auto& [length, count] : {std::pair{1000003, "7"}, {4099, "100"}}) {
        TempDir dir;
        Files::write(dir.file("a"), Files::pattern(length, 5));
        drive(byNumber, dir.file("a"), count);
        const std::string compare = "cd " + dir.path() + " && split -d -a 4 -n " + count +
                                    " a g && for k in $(seq " + count + "); do cmp a$k " +
                                    "g$(printf %04d $((k-1))) || exit 1; done && ! test -e a$((" +
                                    count + "+1))";
        EXPECT_EQ(std::system(compare.c_str()), 0) << compare;
    }
}

enum Source { aFile, noPath, missing, folder, held };
struct Refusal {
    const char* name;
    Operation operation;
    Source source;
    const char* amount;
    Box box;
};

TEST(SplitRefusals, ShowTheirMessageAndWriteNothing) {
    const std::string app = CWinApp::DisplayName(), number = "Sundrel - split by number ";
    const auto box = [](const std::string& text, const std::string& caption, unsigned type) {
        return Box{text, caption, type, {0, 100, 0}};
    };
    const Box integer = box("Please enter an integer.", app, 0x30);
    const Box positive = box("Please enter a positive integer.", app, 0x30);
    const Box cannotOpen = box(" Error Opening Source File for reading ", number, 0x40);
    const Box noFile = box("Please specify a file to be split ", number, 0x40);
    const Box noCount = box(" Please give the number of segments required (non-zero) ",
                            "Sun Drel - split by number ", 0x40);
    const Box noSize = box(" Please give the size of segments required (non-zero) ",
                           "Sun Drel - split by size", 0x40);
    const Box noSource = box(" Error Opening File for reading ", app, 0);
    const Refusal rows[] = {
        {"empty path", byNumber, noPath, "3", noFile},
        {"count 0", byNumber, aFile, "0", noCount},
        {"count: the arrows' 1,000", byNumber, aFile, "1,000", integer},
        {"count: letters", byNumber, aFile, "three", integer},
        {"no such source", byNumber, missing, "3", cannotOpen},
        {"a directory as source", byNumber, folder, "3", cannotOpen},
        {"a source held by another open", byNumber, held, "3", cannotOpen},
        {"size -5", bySize, aFile, "-5", positive},
        {"size: letters", bySize, aFile, "five", positive},
        {"size: empty", bySize, aFile, "", positive},
        {"size: the arrows' 1,000", bySize, aFile, "1,000", positive},
        {"size 0", bySize, aFile, "0", noSize},
        {"size: no such source, no icon, no own caption", bySize, missing, "3", noSource},
    };
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        Files::write(dir.file("a"), "0123456789");
        std::filesystem::create_directory(dir.file("folder"));
        CFile holder;
        ASSERT_TRUE(row.source != held || holder.Open(dir.file("a"), CFile::modeRead));
        const std::string paths[] = {dir.file("a"), "", dir.file("missing"), dir.file("folder"),
                                     dir.file("a")};
        const Outcome outcome = drive(row.operation, paths[row.source], row.amount);
        EXPECT_EQ(outcome.boxes, std::vector<Box>{row.box});
        EXPECT_EQ(Files::listing(dir.path()), (std::vector<std::string>{"a", "folder"}));
        EXPECT_TRUE(outcome.open);
    }
}

// The arrows write the locale's thousands separator, which the count's exchange then refuses.
TEST(SplitByNumber, TheArrowsStopAt2And1000AndTheirThousandIsRefused) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TempDir dir;
    Files::write(dir.file("a"), "0123456789");
    std::vector<std::string> seen;
    const auto arrows = [&](platform::Window dialog) {
        for (const auto& [key, presses] : {std::pair{Qt::Key_Down, 3}, {Qt::Key_Up, 998}}) {
            for (int press = 0; press < presses; ++press)
                Ui::key(dialog, key);
            seen.push_back(Ui::text(dialog, 1004));
        }
    };
    const Outcome outcome = drive(byNumber, dir.file("a"), "3", {1}, {}, {arrows});
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "1,000"}));
    EXPECT_EQ(outcome.boxes,
              (std::vector<Box>{
                  {"Please enter an integer.", CWinApp::DisplayName(), 0x30, {0, 100, 0}}}));
    EXPECT_EQ(Files::listing(dir.path()), std::vector<std::string>{"a"});
    QLocale::setDefault(previous);
}

enum Fault { folderMovedAway, readOnly, fillsUp };
struct FileFault {
    const char* name;
    Fault fault;
    std::uint64_t length;
    const char *count, *size;
    const char *before, *after; // the report: before, the segment that failed, after
    int written;                // the segments finished first, and the bar's position
    int segments;
};

// Each fault met through both dialogs. The dialog stays open with its values, and what was
// written stays: the finished segments whole, the failed one with at most the bytes read for it.
TEST(SplitFaults, AFileErrorEndsTheSplitWithItsReportAndKeepsWhatWasWritten) {
    const FileFault rows[] = {
        {"the folder moved away after segment 1", folderMovedAway, 6 << 20, "3", "2097152", "",
         " contains an invalid path.", 1, 3},
        {"a read-only medium", readOnly, 6 << 20, "3", "2097152", "Access to ", " was denied.", 0,
         3},
        {"the medium fills up in segment 2", fillsUp, 3 << 20, "4", "786432",
         "Disk full while accessing ", ".", 1, 4},
    };
    for (const Operation operation : {byNumber, bySize}) {
        for (const FileFault& row : rows) {
            const std::string amount = operation == byNumber ? row.count : row.size;
            SCOPED_TRACE(std::string(row.name) + ", amount " + amount);
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
            const Outcome outcome = drive(operation, source, amount, {1}, move);
            const std::string failed = source + std::to_string(row.written + 1);
            EXPECT_EQ(outcome.boxes, (std::vector<Box>{{row.before + failed + row.after,
                                                        CWinApp::DisplayName(),
                                                        0x10,
                                                        {0, row.segments, row.written}}}));
            EXPECT_TRUE(outcome.open);
            EXPECT_EQ(outcome.kept, source + "|" + amount);
            const std::string base = moved ? medium.file("out/a") : source;
            const std::uint64_t each = row.length / row.segments;
            for (int k = 1; k <= row.written + 1; ++k) {
                const std::string segment = base + std::to_string(k);
                const bool whole = k <= row.written;
                if (!whole && !Files::exists(segment))
                    break;
                EXPECT_EQ(Files::read(segment),
                          bytes.substr((k - 1) * each, whole ? each : Files::size(segment)));
            }
            EXPECT_FALSE(Files::exists(base + std::to_string(row.written + 2)));
        }
    }
}

} // namespace
