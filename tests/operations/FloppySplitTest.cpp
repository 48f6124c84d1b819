// The floppy split against a scripted free-space query, with a plain directory playing drive A:.

#include "common/CSegmentName.h"
#include "operations/CFloppySplitDlg.h"
#include "operations/FloppyDriver.h"
#include "operations/FloppyExpect.h"
#include "support/Files.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace {

using test::Files;
using test::FloppyDriver;
using namespace test::floppy;

constexpr std::uint64_t floppy = 1457664; // 2,847 free clusters of one 512-byte sector
const std::string measure = "(free space measured)";

// A directory of the test as drive A:, and a place for the source.
class ScriptedDrive final {
  public:
    ScriptedDrive() : m_drive(m_work.file("drive")) {
        std::filesystem::create_directory(m_drive);
        setenv("SUNDREL_DRIVE_A", m_drive.c_str(), 1);
    }
    ~ScriptedDrive() { unsetenv("SUNDREL_DRIVE_A"); }
    ScriptedDrive(const ScriptedDrive&) = delete;
    ScriptedDrive& operator=(const ScriptedDrive&) = delete;

    std::string work(const std::string& name) const { return m_work.file(name); }
    const std::string& workDirectory() const { return m_work.path(); }
    const std::string& drive() const { return m_drive; }

    std::map<std::string, std::uint64_t> segmentSizes() const {
        std::map<std::string, std::uint64_t> sizes;
        for (const auto& entry : std::filesystem::directory_iterator(m_drive))
            sizes[entry.path().filename().string()] = entry.file_size();
        return sizes;
    }

  private:
    test::TempDir m_work;
    std::string m_drive;
};

// Runs the current directory of the process elsewhere for one test.
class WorkingDirectory final {
  public:
    explicit WorkingDirectory(const std::string& directory)
        : m_before(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(m_before); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path m_before;
};

struct Walk {
    const char* label;
    std::uint64_t sourceBytes;
    std::vector<std::optional<std::uint64_t>> freeSpace; // the query's answers, in order
    std::vector<int> answers;                            // to the boxes, in order
    std::vector<std::string> seen; // box texts and measurements, in the order they happened
    std::vector<std::uint64_t> segments;
};

void PrintTo(const Walk& walk, std::ostream* out) {
    *out << walk.label;
}

std::vector<std::string> repeated(int times, const std::vector<std::string>& steps,
                                  const std::vector<std::string>& end) {
    std::vector<std::string> all;
    for (int k = 0; k < times; ++k)
        all.insert(all.end(), steps.begin(), steps.end());
    all.insert(all.end(), end.begin(), end.end());
    return all;
}

std::vector<Walk> walks() {
    const std::vector<std::string> disk{insertDisk, measure};
    return {
        {"ThreeDisksOfAFloppy",
         3000000,
         {floppy, floppy, floppy},
         {1, 1, 1, 1},
         repeated(3, disk, {allDone}),
         {floppy, floppy, 84672}},
        {"SmallerThanTheFirstDisk", 1000, {floppy}, {1, 1}, repeated(1, disk, {allDone}), {1000}},
        {"FreeSpaceEqualToTheRest", 3000, {3000}, {1, 1}, repeated(1, disk, {allDone}), {3000}},
        {"EmptySourceAsksForNoDisk", 0, {}, {1}, {allDone}, {}},
        {"CancelAtTheFirstPrompt", 5000, {}, {2}, {insertDisk}, {}},
        {"CancelAtTheSecondPromptKeepsTheFirstDisk",
         2000000,
         {floppy},
         {1, 2},
         {insertDisk, measure, insertDisk},
         {floppy}},
        {"NoDiskThenADiskMeasuresWithoutAskingAgain",
         5000,
         {std::nullopt, floppy},
         {1, 1, 1},
         {insertDisk, measure, noDisk, measure, allDone},
         {5000}},
        {"NoDiskThenCancel", 5000, {std::nullopt}, {1, 2}, {insertDisk, measure, noDisk}, {}},
        {"FullDiskThenCancel", 5000, {0}, {1, 2}, {insertDisk, measure, diskFull}, {}},
        {"FullDiskThenNoDiskThenADisk",
         5000,
         {0, std::nullopt, floppy},
         {1, 1, 1, 1},
         {insertDisk, measure, diskFull, measure, noDisk, measure, allDone},
         {5000}},
        // 4 GiB + 1,000 bytes free: a 32-bit count would see 1,000 and cut the file in three.
        {"FreeSpaceBeyond32Bits",
         3000,
         {4294968296ull},
         {1, 1},
         repeated(1, disk, {allDone}),
         {3000}},
        {"TwelveDisksNumberedOnwards",
         1150,
         std::vector<std::optional<std::uint64_t>>(12, 100),
         std::vector<int>(13, 1),
         repeated(12, disk, {allDone}),
         {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 50}},
    };
}

class FloppyWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(FloppyWalk, AsksMeasuresWritesAndRestoresTheDialog) {
    const Walk& walk = GetParam();
    ScriptedDrive drive;
    const std::string source = drive.work("photo.jpg");
    const std::string bytes = Files::pattern(walk.sourceBytes, 7);
    Files::write(source, bytes);
    // A file of the first segment's name already on the disk is replaced whole.
    Files::write(drive.drive() + "/photo.jpg1", std::string(4000000, 'x'));

    std::vector<std::string> seen;
    test::ScriptedFreeSpace freeSpace;
    for (const auto& answer : walk.freeSpace) {
        freeSpace.answer([&seen, answer] {
            seen.push_back(measure);
            return answer;
        });
    }
    CFloppySplitDlg dialog;
    FloppyDriver driver(dialog);
    for (int answer : walk.answers) {
        driver.answer([&seen, answer](const test::ScriptedMessageBoxes::Shown& shown) {
            seen.push_back(shown.text);
            return answer;
        });
    }
    const FloppyDriver::Outcome outcome = driver.run(source);

    EXPECT_EQ(seen, walk.seen);
    for (const auto& box : outcome.boxes) {
        if (box.shown.text == allDone)
            expectSuccess(box);
        else
            expectPrompt(box);
    }
    ASSERT_TRUE(outcome.openAfter);
    expectRestored(outcome.after);
    EXPECT_EQ(dialog.m_strPath, source);
    for (const auto& look : outcome.whileWriting)
        expectWriting(look);
    const bool bigSegment =
        std::any_of(walk.segments.begin(), walk.segments.end(), [](auto s) { return s > 1048576; });
    EXPECT_EQ(bigSegment, !outcome.whileWriting.empty());

    std::map<std::string, std::uint64_t> expected;
    std::uint64_t offset = 0;
    for (std::size_t k = 0; k < walk.segments.size(); ++k) {
        const std::string name = CSegmentName::Make("photo.jpg", static_cast<long long>(k + 1));
        expected[name] = walk.segments[k];
        EXPECT_EQ(Files::read(drive.drive() + "/" + name), bytes.substr(offset, walk.segments[k]))
            << name;
        offset += walk.segments[k];
    }
    if (walk.segments.empty())
        expected["photo.jpg1"] = 4000000; // the disk was never written to
    EXPECT_EQ(drive.segmentSizes(), expected);
}

INSTANTIATE_TEST_SUITE_P(Floppy, FloppyWalk, ::testing::ValuesIn(walks()),
                         [](const auto& info) { return std::string(info.param.label); });

struct BareName {
    const char* label;
    std::string fileName; // the source, in the test's directory
    bool typedRelative;   // typed without any directory, from the test's directory
    std::string segment;  // the first segment's name on drive A:
};

void PrintTo(const BareName& row, std::ostream* out) {
    *out << row.label;
}

class FloppyBareName : public ::testing::TestWithParam<BareName> {};

TEST_P(FloppyBareName, NamesTheSegmentsAfterTheTextBehindTheLastSlash) {
    const BareName& row = GetParam();
    ScriptedDrive drive;
    Files::write(drive.work(row.fileName), "abc");
    std::optional<WorkingDirectory> inWork;
    if (row.typedRelative)
        inWork.emplace(drive.workDirectory());
    test::ScriptedFreeSpace freeSpace;
    freeSpace.answer(floppy);
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog).answer(1).answer(1).run(
        row.typedRelative ? row.fileName : drive.work(row.fileName));

    EXPECT_EQ(outcome.texts(), (std::vector<std::string>{insertDisk, allDone}));
    EXPECT_EQ(drive.segmentSizes(), (std::map<std::string, std::uint64_t>{{row.segment, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    Floppy, FloppyBareName,
    ::testing::Values(BareName{"AbsolutePath", "photo.jpg", false, "photo.jpg1"},
                      BareName{"PathWithoutSlash", "photo.jpg", true, "photo.jpg1"},
                      // A backslash is part of a name here, not a separator.
                      BareName{"BackslashInTheName", "C:\\docs\\photo.jpg", false,
                               "C:\\docs\\photo.jpg1"},
                      BareName{"LongerThan51Characters", std::string(120, 'n') + ".bin", false,
                               std::string(120, 'n') + ".bin1"}),
    [](const auto& info) { return std::string(info.param.label); });

struct Refusal {
    const char* label;
    std::string path; // "<work>/" stands for the test's directory
    std::string text;
};

void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.label;
}

class FloppyRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(FloppyRefusal, ShowsItsMessageBeforeTheButtonsComeBackAndTouchesNoDisk) {
    const Refusal& row = GetParam();
    ScriptedDrive drive;
    std::filesystem::create_directory(drive.work("folder"));
    std::string path = row.path;
    if (path.rfind("<work>/", 0) == 0)
        path = drive.work(path.substr(7));
    test::ScriptedFreeSpace freeSpace; // any query would fail the test
    CFloppySplitDlg dialog;
    const auto outcome = FloppyDriver(dialog).answer(1).run(path);

    ASSERT_EQ(outcome.boxes.size(), 1u);
    const auto& box = outcome.boxes[0];
    EXPECT_EQ(box.shown.text, row.text);
    EXPECT_EQ(box.shown.caption, caption);
    EXPECT_EQ(box.shown.type, ok);
    EXPECT_TRUE(box.look.collapsed());
    EXPECT_FALSE(box.look.splitEnabled);
    EXPECT_FALSE(box.look.doneEnabled);
    EXPECT_FALSE(box.look.animating);
    expectRestored(outcome.after);
    EXPECT_TRUE(drive.segmentSizes().empty());
}

INSTANTIATE_TEST_SUITE_P(Floppy, FloppyRefusal,
                         ::testing::Values(Refusal{"EmptyField", "", noFile},
                                           Refusal{"MissingFile", "<work>/missing.bin", cannotOpen},
                                           Refusal{"Directory", "<work>/folder", cannotOpen}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
