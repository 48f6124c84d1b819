#include "common/CWinApp.h"
#include "operations/CJoinDlg.h"
#include "operations/JoinDriver.h"
#include "operations/JoinSegmentSet.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

using test::Files;
using test::JoinDriver;
using test::JoinSegmentSet;

constexpr const char* joined = "File Joined ";
constexpr const char* missing = "Segment File Missing !";
constexpr const char* askForName = "Please enter the name of the first split segment ";
constexpr std::uint64_t MiB = 1024 * 1024;
const JoinDriver::Bar fullBar{0, 50, 50};

// Every box of the join is plain: OK, no icon, the display name as caption, owned by the join
// dialog, and shown while the dialog takes commands again.
void expectPlainBoxes(const JoinDriver::Outcome& outcome) {
    for (const JoinDriver::Box& box : outcome.boxes) {
        EXPECT_EQ(box.shown.type, 0u) << box.shown.text;
        EXPECT_EQ(box.shown.caption, CWinApp::DisplayName()) << box.shown.text;
        EXPECT_EQ(box.shown.ownerCaption, "Sun Drel   Join Split Segments") << box.shown.text;
        EXPECT_FALSE(box.busy) << box.shown.text;
    }
}

// Relative names in a row are typed as they stand, so they resolve inside the row's directory.
class InDirectory final {
  public:
    explicit InDirectory(const std::string& directory) : m_before(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~InDirectory() { std::filesystem::current_path(m_before); }

  private:
    std::filesystem::path m_before;
};

std::string contentOf(const std::string& name) {
    return "<" + name + ">";
}

struct NameCase {
    const char* label;
    std::vector<std::string> present; // files in the directory, each holding contentOf(its name)
    std::string typed;
    std::string target;              // empty when no target is to be made
    std::vector<std::string> joined; // whose contents the target holds, in order
    const char* box;
};

TEST(JoinDlg, TheTargetIsTheNameLessItsLastWholeCharacter) {
    const std::vector<NameCase> cases = {
        {"report.zip1 rebuilds report.zip",
         {"report.zip1", "report.zip2", "report.zip3"},
         "report.zip1",
         "report.zip",
         {"report.zip1", "report.zip2", "report.zip3"},
         joined},
        {"any one-digit segment names the same set, read from 1",
         {"report.zip1", "report.zip2", "report.zip3"},
         "report.zip3",
         "report.zip",
         {"report.zip1", "report.zip2", "report.zip3"},
         joined},
        {"a name not ending in a digit loses its last letter",
         {"notes.txt"},
         "notes.txt",
         "",
         {},
         missing},
        {"a two-byte character goes whole",
         {"Zürich1", "Zürich2"},
         "Züriché",
         "Zürich",
         {"Zürich1", "Zürich2"},
         joined},
        {"a three-byte character goes whole", {"отчёт1"}, "отчёт€", "отчёт", {"отчёт1"}, joined},
        {"a four-byte character goes whole", {"x1", "x2"}, "x😀", "x", {"x1", "x2"}, joined},
        {"an empty field", {"1"}, "", "", {}, askForName},
        {"one character", {"1"}, "a", "", {}, askForName},
        {"one character of two bytes", {"1"}, "é", "", {}, askForName},
        {"one character of four bytes", {"1"}, "😀", "", {}, askForName},
    };
    for (const NameCase& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        InDirectory inside(dir.path());
        for (const std::string& name : row.present)
            Files::write(name, contentOf(name));
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(row.typed);

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{row.box});
        expectPlainBoxes(outcome);
        std::vector<std::string> expectedListing = row.present;
        if (!row.target.empty()) {
            std::string content;
            for (const std::string& name : row.joined)
                content += contentOf(name);
            EXPECT_EQ(Files::read(row.target), content);
            expectedListing.push_back(row.target);
        }
        std::sort(expectedListing.begin(), expectedListing.end());
        EXPECT_EQ(JoinSegmentSet::listing(dir.path()), expectedListing) << "nothing else is made";
        for (const std::string& name : row.present)
            EXPECT_EQ(Files::read(name), contentOf(name)) << "segments are left as they were";
        EXPECT_EQ(outcome.after, row.box == askForName ? outcome.before : fullBar);
        EXPECT_EQ(dialog.m_strFirstSegment, row.typed);
    }
}

struct SetCase {
    const char* label;
    std::vector<std::optional<std::string>> segments; // nothing: that number does not exist
    std::string target;
};

TEST(JoinDlg, AppendsEveryConsecutiveNumberThatExists) {
    const std::vector<SetCase> cases = {
        {"a gap ends the set", {"one", "two", std::nullopt, "four"}, "onetwo"},
        {"segments left by an earlier, larger split are appended",
         {"new1", "new2", "new3", "old4", "old5"},
         "new1new2new3old4old5"},
        {"zero-length segments add nothing", {"abc", "", "", "def", ""}, "abcdef"},
        {"a set of zero-length segments gives an empty target", {"", "", ""}, ""},
    };
    for (const SetCase& row : cases) {
        SCOPED_TRACE(row.label);
        test::TempDir dir;
        for (std::size_t k = 0; k < row.segments.size(); ++k)
            if (row.segments[k])
                Files::write(dir.file("x" + std::to_string(k + 1)), *row.segments[k]);
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(dir.file("x1"));

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
        expectPlainBoxes(outcome);
        ASSERT_TRUE(Files::exists(dir.file("x")));
        EXPECT_EQ(Files::read(dir.file("x")), row.target);
        EXPECT_EQ(outcome.boxes[0].bar, fullBar) << "the bar fills before the success message";
    }
}

// Segments a little over one chunk of the transfer, so it pumps events once inside each.
std::vector<std::string> writeLargeSegments(const std::string& base, int count) {
    std::vector<std::string> segments;
    for (int k = 1; k <= count; ++k)
        segments.push_back(Files::pattern(MiB + 1, static_cast<unsigned>(k)));
    JoinSegmentSet::write(base, segments);
    return segments;
}

TEST(JoinDlg, TheBarStepsForTheFirst48SegmentsAndFillsAtTheEnd) {
    for (const int count : {12, 60}) {
        SCOPED_TRACE(std::to_string(count) + " segments");
        test::TempDir dir;
        const std::vector<std::string> segments = writeLargeSegments(dir.file("set"), count);
        CJoinDlg dialog;
        const JoinDriver::Outcome outcome =
            JoinDriver(dialog).answer(1).watch(dir.file("set")).run(dir.file("set1"));

        EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
        ASSERT_GE(outcome.samples.size(), static_cast<std::size_t>(count));
        int highest = 0;
        for (const JoinDriver::Sample& sample : outcome.samples) {
            // While segment k moves, k - 1 segments are complete.
            const auto complete = static_cast<int>(sample.targetSize / (MiB + 1));
            EXPECT_EQ(sample.bar, (JoinDriver::Bar{0, 50, std::min(complete, 48)}))
                << "while segment " << complete + 1 << " moves";
            EXPECT_TRUE(sample.busy);
            highest = std::max(highest, sample.bar.position);
        }
        EXPECT_EQ(highest, std::min(count - 1, 48));
        EXPECT_EQ(outcome.boxes.at(0).bar, fullBar);
        EXPECT_EQ(outcome.after, fullBar);
        EXPECT_EQ(Files::size(dir.file("set")), static_cast<std::uint64_t>(count) * (MiB + 1));
    }
}

TEST(JoinDlg, EscAndTheCloseBoxCannotEndTheDialogDuringAJoin) {
    test::TempDir dir;
    const std::vector<std::string> segments = writeLargeSegments(dir.file("x"), 3);
    CJoinDlg dialog;
    int attempts = 0;
    const JoinDriver::Outcome outcome = JoinDriver(dialog)
                                            .answer(1)
                                            .whileMoving([&](platform::Window window) {
                                                if (attempts++ > 0)
                                                    return;
                                                test::Ui::key(window, Qt::Key_Escape);
                                                test::Ui::widget(window)->close();
                                                test::Ui::click(window, 1);
                                            })
                                            .run(dir.file("x1"));

    EXPECT_GT(attempts, 0);
    EXPECT_TRUE(outcome.openAfter);
    EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
    EXPECT_EQ(Files::read(dir.file("x")), segments[0] + segments[1] + segments[2]);
}

TEST(JoinDlg, AnExistingTargetIsReplacedWithoutAQuestion) {
    test::TempDir dir;
    Files::write(dir.file("photo.jpg"), "an older and much longer photo.jpg");
    JoinSegmentSet::write(dir.file("photo.jpg"), {"new ", "photo"});
    CJoinDlg dialog;
    const JoinDriver::Outcome outcome = JoinDriver(dialog).answer(1).run(dir.file("photo.jpg1"));

    EXPECT_EQ(outcome.texts(), std::vector<std::string>{joined});
    EXPECT_EQ(Files::read(dir.file("photo.jpg")), "new photo");
}

TEST(JoinDlg, EachJoinInOneOpeningStartsAfresh) {
    test::TempDir dir;
    const std::string name = dir.file("x1");
    JoinSegmentSet::write(dir.file("x"), {"first ", "second ", "third"});
    CJoinDlg dialog;
    const std::vector<JoinDriver::Outcome> outcomes =
        JoinDriver(dialog).answer(1).answer(1).answer(1).runEach(
            {name, name, name}, [&](std::size_t join) {
                if (join == 1) {
                    Files::write(dir.file("x2"), "2nd");
                    std::filesystem::remove(dir.file("x3"));
                } else {
                    std::filesystem::remove(dir.file("x1"));
                }
            });

    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(outcomes[0].texts(), std::vector<std::string>{joined});
    // The second join rebuilds the target from segment 1: created anew, not appended to.
    EXPECT_EQ(outcomes[1].texts(), std::vector<std::string>{joined});
    EXPECT_EQ(outcomes[1].before, fullBar);
    // The third finds no segment 1: the bar was emptied before the message and fills after it.
    EXPECT_EQ(outcomes[2].texts(), std::vector<std::string>{missing});
    EXPECT_EQ(outcomes[2].boxes.at(0).bar, (JoinDriver::Bar{0, 50, 0}));
    EXPECT_EQ(outcomes[2].after, fullBar);
    EXPECT_EQ(Files::read(dir.file("x")), "first 2nd")
        << "a join that finds no set changes nothing";
    for (const JoinDriver::Outcome& outcome : outcomes)
        expectPlainBoxes(outcome);
    EXPECT_EQ(dialog.m_strFirstSegment, name);
}

} // namespace
