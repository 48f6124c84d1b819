#include "common/CFile.h"
#include "common/CSegmentName.h"
#include "common/CWinApp.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/SplitDriver.h"
#include "platform/ProgressBar.h"
#include "support/Files.h"
#include "support/Modal.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace {

using test::Files;
using test::SplitDriver;

constexpr int countId = 1004;
constexpr unsigned information = 0x40;
constexpr unsigned exclamation = 0x30;

using Box = SplitDriver::Box;
using Boxes = std::vector<Box>;

const Box splitDone{" The file has been split ! ", "Sun Drel - split by number ", information};

// The segments hold the source's bytes in order, and nothing else lies next to the source.
void expectSegments(const std::string& dir, const std::string& source,
                    const std::vector<std::uint64_t>& lengths) {
    EXPECT_EQ(Files::segmentLengths(dir + "/" + source), lengths);
    std::vector<std::string> names{source};
    for (std::size_t k = 1; k <= lengths.size(); ++k)
        names.push_back(CSegmentName::Make(source, static_cast<long long>(k)));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(Files::listing(dir), names);
    const std::string bytes = Files::read(dir + "/" + source);
    std::size_t offset = 0;
    for (std::size_t k = 1; k <= lengths.size() && offset <= bytes.size(); ++k) {
        const std::string name = dir + "/" + CSegmentName::Make(source, static_cast<long long>(k));
        EXPECT_EQ(Files::read(name), bytes.substr(offset, lengths[k - 1])) << name;
        offset += lengths[k - 1];
    }
}

struct WorkedCase {
    const char* label;
    std::size_t length;
    const char* count;
    std::vector<std::uint64_t> segments;
    int barHigh;
    int barPosition;
};

TEST(SplitByNumber, WorkedCasesWriteTheSegmentsStepTheBarAndReportSuccess) {
    std::vector<std::uint64_t> twelve(11, 8);
    twelve.push_back(12);
    const std::vector<std::uint64_t> thousandAndOne(1001, 2);
    const WorkedCase rows[] = {
        {"10 bytes by 3: the last takes the remainder", 10, "3", {3, 3, 4}, 3, 3},
        {"12 bytes by 3: all equal", 12, "3", {4, 4, 4}, 3, 3},
        {"3 bytes by 5: four empty, then the whole", 3, "5", {0, 0, 0, 0, 3}, 5, 5},
        {"empty by 4: three empty, no fourth", 0, "4", {0, 0, 0}, 4, 3},
        {"empty by 1: nothing at all", 0, "1", {}, 1, 0},
        {"count 1: one copy", 10, "1", {10}, 1, 1},
        {"a negative count: the whole source once", 10, "-3", {10}, -3, 0},
        {"12 segments numbered without padding", 100, "12", twelve, 12, 12},
        {"a count above the arrows' range typed by hand", 2002, "1001", thousandAndOne, 1001, 1001},
        {"blanks around the count", 10, "  3\t", {3, 3, 4}, 3, 3},
    };
    for (const WorkedCase& row : rows) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const std::string source = dir.file("a.bin");
        Files::write(source, Files::pattern(row.length));
        CSplitByNumberDlg dialog;
        const SplitDriver::Outcome outcome = SplitDriver(dialog, countId).run(source, row.count);
        EXPECT_EQ(outcome.boxes, Boxes{splitDone});
        expectSegments(dir.path(), "a.bin", row.segments);
        EXPECT_EQ(outcome.barLow, 0);
        EXPECT_EQ(outcome.barHigh, row.barHigh);
        EXPECT_EQ(outcome.barPosition, row.barPosition);
        EXPECT_TRUE(outcome.sourceHeldAtBox) << "the source was let go before the message";
        EXPECT_FALSE(outcome.busyAtBox);
        EXPECT_TRUE(outcome.openAfter);
    }
}

TEST(SplitByNumber, MatchesGnuSplitByteForByte) {
    if (std::system("split --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "GNU split is not installed";
    // GNU split -n gives segments of length div count and puts the remainder in the last, as
    // this split does, whenever the source holds at least one byte per segment.
    const std::pair<std::size_t, int> rows[] = {{1000003, 7}, {65537, 3}, {10, 3}, {4099, 100}};
    for (const auto& [length, count] : rows) {
        SCOPED_TRACE(std::to_string(length) + " bytes by " + std::to_string(count));
        test::TempDir dir;
        const std::string source = dir.file("random.bin");
        Files::write(source, Files::pattern(length, static_cast<unsigned>(length)));
        CSplitByNumberDlg dialog;
        const auto outcome = SplitDriver(dialog, countId).run(source, std::to_string(count));
        EXPECT_EQ(outcome.boxes, Boxes{splitDone});
        const std::string command = "split -n " + std::to_string(count) + " -d -a 4 '" + source +
                                    "' '" + dir.file("gnu.") + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (int k = 1; k <= count; ++k) {
            char gnuName[16];
            std::snprintf(gnuName, sizeof gnuName, "gnu.%04d", k - 1);
            EXPECT_EQ(Files::read(CSegmentName::Make(source, k)), Files::read(dir.file(gnuName)))
                << "segment " << k;
        }
        EXPECT_FALSE(Files::exists(CSegmentName::Make(source, count + 1)));
    }
}

struct Refusal {
    const char* label;
    // Makes what the row needs below dir and answers the path to type.
    std::function<std::string(const test::TempDir& dir, std::unique_ptr<CFile>& holder)> path;
    const char* count;
    Box box;
};

TEST(SplitByNumber, RefusalsShowTheirMessageAndWriteNothing) {
    const std::string app = CWinApp::DisplayName();
    const auto existing = [](const test::TempDir& dir, std::unique_ptr<CFile>&) {
        Files::write(dir.file("a.bin"), Files::pattern(10));
        return dir.file("a.bin");
    };
    const Box cannotOpen{" Error Opening Source File for reading ", "Sundrel - split by number ",
                         information};
    const Refusal rows[] = {
        {"an empty path",
         [](const test::TempDir&, std::unique_ptr<CFile>&) { return ""; },
         "3",
         {"Please specify a file to be split ", "Sundrel - split by number ", information}},
        {"count 0",
         existing,
         "0",
         {" Please give the number of segments required (non-zero) ", "Sun Drel - split by number ",
          information}},
        {"the arrows' 1,000", existing, "1,000", {"Please enter an integer.", app, exclamation}},
        {"letters", existing, "three", {"Please enter an integer.", app, exclamation}},
        {"an empty count", existing, "", {"Please enter an integer.", app, exclamation}},
        {"a source that does not exist",
         [](const test::TempDir& dir, std::unique_ptr<CFile>&) { return dir.file("missing"); }, "3",
         cannotOpen},
        {"a directory as the source",
         [](const test::TempDir& dir, std::unique_ptr<CFile>&) {
             std::filesystem::create_directory(dir.file("folder"));
             return dir.file("folder");
         },
         "3", cannotOpen},
        {"a source held by another open",
         [&](const test::TempDir& dir, std::unique_ptr<CFile>& holder) {
             const std::string path = existing(dir, holder);
             holder = std::make_unique<CFile>();
             EXPECT_TRUE(holder->Open(path, CFile::modeRead | CFile::typeBinary));
             return path;
         },
         "3", cannotOpen},
        {"a path of blanks", [](const test::TempDir&, std::unique_ptr<CFile>&) { return "   "; },
         "3", cannotOpen},
    };
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        std::unique_ptr<CFile> holder;
        const std::string path = row.path(dir, holder);
        const auto before = Files::listing(dir.path());
        CSplitByNumberDlg dialog;
        const auto outcome = SplitDriver(dialog, countId).run(path, row.count);
        EXPECT_EQ(outcome.boxes, Boxes{row.box});
        EXPECT_EQ(Files::listing(dir.path()), before);
        EXPECT_EQ(outcome.barPosition, 0);
        EXPECT_EQ(outcome.barHigh, 100) << "the bar was touched";
        EXPECT_TRUE(outcome.openAfter);
    }
}

TEST(SplitByNumber, ASecondSplitInOneOpeningStartsTheBarAgainAndLeavesHigherNumbers) {
    test::TempDir dir;
    const std::string source = dir.file("a.bin");
    Files::write(source, Files::pattern(10));
    constexpr std::uint64_t MiB = 1024 * 1024;
    CSplitByNumberDlg dialog;
    test::ScriptedMessageBoxes boxes;
    boxes.answer(1).answer(1);
    int positionWhileMoving = -1;
    test::Modal::run(dialog, [&](platform::Window window) {
        test::Ui::type(window, 1001, source);
        test::Ui::type(window, countId, "5");
        test::Ui::click(window, 1003);
        // A larger source in two, so the bar can be seen while the first segment moves.
        Files::write(source, Files::pattern(4 * MiB, 7));
        test::Ui::type(window, countId, "2");
        const platform::ProgressBar bar(window.child(1020));
        QTimer pump;
        QObject::connect(&pump, &QTimer::timeout, [&] {
            if (positionWhileMoving < 0 && Files::exists(source + "1"))
                positionWhileMoving = bar.position();
        });
        pump.start(0);
        test::Ui::click(window, 1003);
        EXPECT_EQ(bar.position(), 2);
    });
    EXPECT_EQ(positionWhileMoving, 0);
    EXPECT_EQ(SplitDriver::boxesOf(boxes), (Boxes{splitDone, splitDone}));
    const std::string bytes = Files::pattern(4 * MiB, 7);
    EXPECT_EQ(Files::read(source + "1"), bytes.substr(0, 2 * MiB));
    EXPECT_EQ(Files::read(source + "2"), bytes.substr(2 * MiB));
    // Left from the first split: a later join would take them as part of the set.
    EXPECT_EQ(Files::segmentLengths(source),
              (std::vector<std::uint64_t>{2 * MiB, 2 * MiB, 2, 2, 2}));
}

} // namespace
