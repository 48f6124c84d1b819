#include "common/CWinApp.h"
#include "operations/CJoinDlg.h"
#include "operations/JoinDriver.h"
#include "operations/JoinHeldFile.h"
#include "operations/JoinSegmentSet.h"
#include "support/Files.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

using test::Files;
using test::JoinDriver;
using test::JoinHeldFile;
using test::JoinSegmentSet;

constexpr const char* joined = "File Joined ";
constexpr const char* missing = "Segment File Missing !";
constexpr const char* targetRefused = "Error opening target for writing ! ";
constexpr unsigned stopIcon = 0x10;
constexpr std::uint64_t MiB = 1024 * 1024;
const JoinDriver::Bar fullBar{0, 50, 50};

std::string readOrNothing(const std::string& path) {
    return Files::exists(path) ? Files::read(path) : "(no file)";
}

// A set x1, x2, x3 in a directory, with a file x that may stand where the target goes.
struct SetOnDisk {
    explicit SetOnDisk(const std::string& directory) : dir(directory) {
        JoinSegmentSet::write(base(), {"one ", "two ", "three"});
    }
    std::string base() const { return dir + "/x"; }
    std::string segment(int k) const { return base() + std::to_string(k); }
    std::string dir;
};

struct UnopenableSegment {
    const char* label;
    int segment;
    std::function<std::shared_ptr<void>(const std::string& path)> spoil; // keeps the fault alive
    const char* report; // "%1" stands for the segment's name
    std::string target; // what the target holds afterwards
    JoinDriver::Bar bar;
};

std::shared_ptr<void> heldElsewhere(const std::string& path) {
    auto holder = std::make_shared<JoinHeldFile>(path);
    EXPECT_EQ(holder->failure(), "");
    return holder;
}

std::shared_ptr<void> replacedByADirectory(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    return nullptr;
}

// The target itself, under a segment's name: it must never be read into itself.
std::shared_ptr<void> linkedToTheTarget(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_symlink(path.substr(0, path.size() - 1), path);
    return nullptr;
}

std::string withName(std::string text, const std::string& name) {
    return text.replace(text.find("%1"), 2, name);
}

TEST(JoinFaults, ASegmentThatExistsButCannotBeOpenedEndsTheJoinWithTheReport) {
    const std::vector<UnopenableSegment> cases = {
        {"segment 2 held by another process", 2, heldElsewhere,
         "A sharing violation occurred while accessing %1.", "one ", JoinDriver::Bar{0, 50, 1}},
        {"segment 2 is a directory", 2, replacedByADirectory, "Access to %1 was denied.", "one ",
         JoinDriver::Bar{0, 50, 1}},
        {"segment 2 is a link to the target", 2, linkedToTheTarget,
         "A sharing violation occurred while accessing %1.", "one ", JoinDriver::Bar{0, 50, 1}},
        {"segment 1 held by another process, an older target kept", 1, heldElsewhere,
         "A sharing violation occurred while accessing %1.", "older target", JoinDriver::Bar{}},
    };
    for (const UnopenableSegment& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        SetOnDisk set(dir.path());
        if (row.segment == 1)
            Files::write(set.base(), "older target");
        const std::shared_ptr<void> fault = row.spoil(set.segment(row.segment));
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(set.segment(1));

        ASSERT_EQ(outcome.texts(),
                  std::vector<std::string>{withName(row.report, set.segment(row.segment))});
        EXPECT_EQ(outcome.boxes[0].shown.type, stopIcon);
        EXPECT_EQ(outcome.boxes[0].shown.caption, CWinApp::DisplayName());
        EXPECT_FALSE(outcome.boxes[0].busy);
        EXPECT_EQ(readOrNothing(set.base()), row.target);
        EXPECT_EQ(outcome.after, row.segment == 1 ? outcome.before : row.bar)
            << "the bar stays where the join stopped";
        EXPECT_TRUE(outcome.openAfter);
    }
}

TEST(JoinFaults, NoSegment1LeavesAnExistingTargetAsItWas) {
    for (const bool targetExists : {true, false}) {
        SCOPED_TRACE(targetExists ? "a file of the target's name exists" : "no target yet");
        test::TempDir dir;
        if (targetExists)
            Files::write(dir.file("archive.tar"), "precious");
        Files::write(dir.file("archive.tar2"), "a segment 2 alone is no set");
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome =
            JoinDriver(dialog).answer(1).run(dir.file("archive.tar1"));

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{missing});
        EXPECT_EQ(outcome.boxes.at(0).shown.type, 0u);
        EXPECT_EQ(outcome.boxes.at(0).bar, (JoinDriver::Bar{0, 50, 0}));
        EXPECT_EQ(outcome.after, fullBar) << "the bar still ends full";
        EXPECT_EQ(readOrNothing(dir.file("archive.tar")), targetExists ? "precious" : "(no file)");
    }
}

// Given segment 12 of a set, the target is segment 1's name.
TEST(JoinFaults, ATargetThatMayBeASegmentIsReplacedOnlyWhenTheUserAgrees) {
    for (const int button : {2, 1}) {
        SCOPED_TRACE(button == 1 ? "OK" : "Cancel");
        test::TempDir dir;
        std::vector<std::string> segments;
        for (int k = 1; k <= 12; ++k)
            segments.push_back("segment " + std::to_string(k) + ";");
        JoinSegmentSet::write(dir.file("x"), segments);
        CJoinDlg dialog;
        JoinDriver driver(dialog);
        driver.answer(button);
        if (button == 1)
            driver.answer(1);
        const JoinDriver::Outcome outcome = driver.run(dir.file("x12"));

        ASSERT_FALSE(outcome.boxes.empty());
        EXPECT_EQ(outcome.boxes[0].shown.text,
                  dir.file("x1") + " already exists and may be a segment itself. Replace it?");
        EXPECT_EQ(outcome.boxes[0].shown.type, 0x31u);
        EXPECT_EQ(outcome.boxes[0].shown.caption, CWinApp::DisplayName());
        EXPECT_FALSE(outcome.boxes[0].busy);
        const std::string kept = button == 1 ? segments[10] + segments[11] : segments[0];
        EXPECT_EQ(Files::read(dir.file("x1")), kept);
        for (int k = 2; k <= 12; ++k)
            EXPECT_EQ(Files::read(dir.file("x" + std::to_string(k))), segments[k - 1]);
        if (button == 1) {
            EXPECT_EQ(outcome.boxes.size(), 2u);
            EXPECT_EQ(outcome.boxes.at(1).shown.text, joined);
            EXPECT_EQ(outcome.after, fullBar);
        } else {
            EXPECT_EQ(outcome.boxes.size(), 1u);
            EXPECT_EQ(outcome.after, outcome.before);
        }
    }
}

TEST(JoinFaults, NoQuestionWhenNothingOfTheTargetsNameExists) {
    test::TempDir dir;
    JoinSegmentSet::write(
        dir.file("y"), {"1;", "2;", "3;", "4;", "5;", "6;", "7;", "8;", "9;", "10;", "11;", "12;"});
    std::filesystem::remove(dir.file("y1"));
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(dir.file("y12"));

    EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
    EXPECT_EQ(Files::read(dir.file("y1")), "11;12;");
}

struct RefusedTarget {
    const char* label;
    // Lays out a set whose target cannot be created; returns the name to type and what keeps the
    // fault alive.
    std::function<std::pair<std::string, std::shared_ptr<void>>(const std::string& dir)> arrange;
    std::string expectedTarget; // what stands at the target's name afterwards
};

TEST(JoinFaults, ATargetThatCannotBeCreatedIsRefusedAndNothingIsMade) {
    const std::vector<RefusedTarget> cases = {
        {"a read-only medium",
         [](const std::string& dir) -> std::pair<std::string, std::shared_ptr<void>> {
             auto medium = std::make_shared<test::ScratchTmpfs>(dir, "size=1m");
             if (!medium->mounted())
                 return {"", nullptr};
             JoinSegmentSet::write(medium->file("x"), {"one", "two"});
             EXPECT_TRUE(medium->remountReadOnly());
             return {medium->file("x1"), medium};
         },
         "(no file)"},
        {"a target held by another process",
         [](const std::string& dir) -> std::pair<std::string, std::shared_ptr<void>> {
             JoinSegmentSet::write(dir + "/x", {"one", "two"});
             Files::write(dir + "/x", "in use elsewhere");
             return {dir + "/x1", heldElsewhere(dir + "/x")};
         },
         "in use elsewhere"},
        {"a directory of the target's name",
         [](const std::string& dir) -> std::pair<std::string, std::shared_ptr<void>> {
             JoinSegmentSet::write(dir + "/x", {"one", "two"});
             std::filesystem::create_directory(dir + "/x");
             return {dir + "/x1", nullptr};
         },
         "(no file)"},
        {"a link into a directory that does not exist",
         [](const std::string& dir) -> std::pair<std::string, std::shared_ptr<void>> {
             JoinSegmentSet::write(dir + "/x", {"one", "two"});
             std::filesystem::create_symlink(dir + "/unplugged/x", dir + "/x");
             return {dir + "/x1", nullptr};
         },
         "(no file)"},
    };
    std::string skipped;
    for (const RefusedTarget& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        const auto [name, fault] = row.arrange(dir.path());
        if (name.empty()) {
            skipped +=
                std::string(row.label) + " needs a tmpfs mount, which is not permitted here. ";
            continue;
        }
        const std::string target = name.substr(0, name.size() - 1);
        const auto listingBefore = JoinSegmentSet::listing(dir.path());
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(name);

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{targetRefused});
        EXPECT_EQ(outcome.boxes.at(0).shown.type, 0u);
        EXPECT_EQ(outcome.after, outcome.before) << "the bar is left as it was";
        EXPECT_EQ(std::filesystem::is_regular_file(target) ? Files::read(target) : "(no file)",
                  row.expectedTarget);
        EXPECT_EQ(JoinSegmentSet::listing(dir.path()), listingBefore);
        EXPECT_EQ(Files::read(name), "one") << "segment 1 is left as it was";
    }
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
}

// Segment 1 lives where the target would go: a name in a directory that does not exist has no
// segment 1, and that is what the user is told.
TEST(JoinFaults, ANameInAMissingDirectoryFindsNoSegment) {
    test::TempDir dir;
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome =
        JoinDriver(dialog).answer(1).run(dir.file("unplugged/report.zip1"));

    EXPECT_EQ(outcome.texts(), std::vector<std::string>{missing});
    EXPECT_TRUE(JoinSegmentSet::listing(dir.path()).empty());
}

TEST(JoinFaults, AFullDiskPartWayKeepsWhatReachedTheTargetAndReportsIt) {
    test::TempDir dir;
    // Three segments of 1 MiB leave room for one and a half more on a 4.5 MiB medium.
    test::ScratchTmpfs medium(dir.path(), "size=4608k");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    const std::vector<std::string> segments = {Files::pattern(MiB, 1), Files::pattern(MiB, 2),
                                               Files::pattern(MiB, 3)};
    JoinSegmentSet::write(medium.file("disk.img"), segments);
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(medium.file("disk.img1"));

    ASSERT_EQ(outcome.texts(), std::vector<std::string>{"Disk full while accessing " +
                                                        medium.file("disk.img") + "."});
    EXPECT_EQ(outcome.boxes[0].shown.type, stopIcon);
    EXPECT_FALSE(outcome.boxes[0].busy);
    const std::string target = Files::read(medium.file("disk.img"));
    EXPECT_GT(target.size(), MiB) << "segment 1 and part of segment 2 reached the target";
    EXPECT_LT(target.size(), 2 * MiB);
    EXPECT_EQ(target, (segments[0] + segments[1]).substr(0, target.size()));
    EXPECT_EQ(outcome.after, (JoinDriver::Bar{0, 50, 1})) << "the bar stays after segment 1";
    EXPECT_TRUE(outcome.openAfter);
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(Files::read(medium.file("disk.img" + std::to_string(k))), segments[k - 1]);
}

} // namespace
