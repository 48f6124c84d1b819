#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RowName.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

namespace {

using namespace test;
namespace fs = std::filesystem;
constexpr std::uint64_t MiB = 1 << 20, GiB = 1 << 30;
// Full once the row's bytes were joined: each row works out its own bar from them.
const Bar full{0, -1, -1};
const Box joined = success(join, full),
          missing{"Segment File Missing !", app, BoxType::ok, bytesMoved(0, 0)};

using Named = std::vector<std::pair<std::string, std::string>>; // names and contents
struct Worked {
    const char* name;
    Named files;
    std::string typed, target, content; // target "": none may appear
    std::vector<Box> boxes;
    std::vector<int> answers = {Answer::ok};
    Named listed = {};               // the set its checksum file was made from, the whole file last
    bool listingCut = false;         // the checksum file cut in the middle of a line
    const char* otherName = nullptr; // a second name (hard link) of the target's file
};

const Box askName{"Please enter the name of the first split segment ", app, BoxType::ok, untouched};
// Given segment 12 the target is segment 1's name: replaced only when the user agrees.
const Box mayBeASegment{"x1 already exists and may be a segment itself. Replace it?", app,
                        BoxType::okCancel | BoxType::iconExclamation, untouched};
const Named twelve = [] {
    Named files;
    for (int k = 1; k <= 12; ++k)
        files.emplace_back(std::string("x").append(std::to_string(k)), std::to_string(k) + ";");
    return files;
}();
const Named madeAs{{"x1", "ab"}, {"x2", "cd"}, {"x", "abcd"}};
const std::vector<int> ok{Answer::ok};
Box damaged(const std::string& segments, const std::string& savedAs) {
    return {segments +
                " damaged or cut short: the checksum file x.sundrel.sha256sums gives other "
                "bytes. The joined bytes were saved as " +
                savedAs + ", not as x.",
            app, BoxType::ok | BoxType::iconExclamation, full};
}
// Where the joined file cannot replace the old one, the join asks before it writes into it.
Box intoItself(const std::string& target, const std::string& why) {
    return {target + " cannot be rebuilt beside the file that stands under its name: " + why +
                ". The join would write into that file itself: what it holds is emptied now, and "
                "lost if the join stops, fails or finds damage.\n\nJoin into it anyway?",
            app, BoxType::okCancel | BoxType::iconExclamation | BoxType::defaultButton2, untouched};
}
const Box hardLinked =
    intoItself("x", "it has other names (hard links), which would keep the old contents");
const Box intoItselfDamaged{"x2 is damaged or cut short: the checksum file x.sundrel.sha256sums "
                            "gives other bytes. x, which the join wrote into, was emptied.",
                            app, BoxType::ok | BoxType::iconExclamation, filled(4)};
const Box unreadable{"x.sundrel.sha256sums is damaged: it is not a list of checksums. Nothing was "
                     "joined.",
                     app, BoxType::ok, untouched};
// clang-format off
const Worked worked[] = {
    {"TwoSegments", {{"report.zip1", "a"}, {"report.zip2", "b"}}, "report.zip1", "report.zip", "ab", {joined}},
    {"NotASegmentName", {{"notes.txt", "n"}}, "notes.txt", "", "", {missing}},
    {"Utf8_TheLastCharacterWhole", {{"Zü1", "z"}}, "Züé", "Zü", "z", {joined}},
    {"EmptyField", {}, "", "", "", {askName}},
    {"OneCharacter", {{"1", "1"}}, "é", "", "", {askName}},
    {"AGapInTheSet_NothingJoined", {{"x1", "1"}, {"x2", "2"}, {"x4", "4"}}, "x1", "", "", {{"x3 was not found.", app, BoxType::iconStop, filled(2)}}},
    {"ASegmentEightPastAMissingOne_NothingJoined", {{"x1", "1"}, {"x2", "2"}, {"x11", "?"}}, "x1", "", "", {{"x3 was not found.", app, BoxType::iconStop, filled(2)}}},
    {"ASegmentFarPastAMissingOne", {{"x1", "1"}, {"x2", "2"}, {"x12", "?"}}, "x1", "x", "12", {joined}},
    {"ZeroLengthSegments", {{"x1", "ab"}, {"x2", ""}, {"x3", "cd"}}, "x1", "x", "abcd", {joined}},
    {"ALongerTargetReplaced", {{"x", "old, longer"}, {"x1", "new"}}, "x1", "x", "new", {joined}},
    {"NoSegment1_TheTargetKept", {{"x", "old"}, {"x2", "2"}}, "x1", "x", "old", {missing}},
    {"Segment12_TheTargetMayBeASegment_Kept", twelve, "x12", "x1", "1;", {mayBeASegment}, {Answer::cancel}},
    {"Segment12_TheTargetMayBeASegment_Replaced", twelve, "x12", "x1", "11;12;", {mayBeASegment, joined}, {Answer::ok, Answer::ok}},
    // With a checksum file beside segment 1, the set is the segments it lists, each checked.
    {"AnOlderTargetWithAnotherName_Cancel_BothKept", {{"x", "old"}, {"x1", "new"}}, "x1", "x", "old", {hardLinked}, {Answer::cancel}, {}, false, "y"},
    {"AnOlderTargetWithAnotherName_Ok_JoinedIntoIt", {{"x", "old"}, {"x1", "new"}}, "x1", "x", "new", {hardLinked, joined}, {Answer::ok, Answer::ok}, {}, false, "y"},
    {"Listed_Whole", {{"x1", "ab"}, {"x2", "cd"}}, "x1", "x", "abcd", {joined}, ok, madeAs},
    {"Listed_AnOlderTargetReplacedWhenWhole", {{"x", "old, longer"}, {"x1", "ab"}, {"x2", "cd"}}, "x1", "x", "abcd", {joined}, ok, madeAs},
    {"Listed_DamagedInAFileWithAnotherName_Emptied", {{"x", "old"}, {"x1", "ab"}, {"x2", "cX"}}, "x1", "x", "", {hardLinked, intoItselfDamaged}, {Answer::ok, Answer::ok}, madeAs, false, "y"},
    {"Listed_ASegmentCutShort", {{"x1", "ab"}, {"x2", "c"}}, "x1", "x.damaged", "abc", {damaged("x2 is", "x.damaged")}, ok, madeAs},
    {"Listed_BytesChanged", {{"x1", "aB"}, {"x2", "Cd"}}, "x1", "x.damaged", "aBCd", {damaged("x1 and x2 are", "x.damaged")}, ok, madeAs},
    {"Listed_DamagedBesideAnOlderTarget_TheTargetKept", {{"x", "old"}, {"x.damaged", "older"}, {"x1", "ab"}, {"x2", "cX"}}, "x1", "x.damaged-2", "abcX", {damaged("x2 is", "x.damaged-2")}, ok, madeAs},
    {"Listed_TheLastSegmentMissing", {{"x", "old"}, {"x1", "ab"}}, "x1", "", "", {{"x2 was not found.", app, BoxType::iconStop, untouched}}, ok, madeAs},
    {"Listed_LeftoversPastTheListedCount", {{"x1", "ab"}, {"x2", "cd"}, {"x3", "ef"}, {"x5", "gh"}}, "x1", "x", "abcd", {joined}, ok, madeAs},
    {"Listed_TheChecksumFileDamaged", {{"x", "old"}, {"x1", "ab"}, {"x2", "cd"}}, "x1", "", "", {unreadable}, ok, madeAs, true},
    {"Listed_NoSegment_AnEmptyFile", {{"x2", "cd"}}, "x1", "x", "", {joined}, ok, {{"x", ""}}},
    {"Listed_OtherNames_JoinedAsASetWithout", {{"x1", "ab"}, {"x2", "cd"}, {"x3", "ef"}}, "x1", "x", "abcdef", {joined}, ok, {{"y1", "ab"}, {"y", "ab"}}},
};
// clang-format on

class Join : public testing::TestWithParam<Worked> {};

// Names typed as they stand, relative to the row's directory. The segments are left as they were
// and nothing but the target is made.
TEST_P(Join, WorkedCase) {
    const Worked& row = GetParam();
    const fs::path before = fs::current_path();
    TempDir dir;
    fs::current_path(dir.path());
    std::set<std::string> names{row.target};
    for (const auto& [name, content] : row.files) {
        Files::write(name, content);
        names.insert(name);
    }
    if (!row.listed.empty()) {
        fs::create_directory("made");
        std::vector<std::string> listed;
        for (const auto& [name, content] : row.listed) {
            Files::write("made/" + name, content);
            listed.push_back(name);
        }
        std::string sums = Files::sha256sum("made", listed);
        fs::remove_all("made");
        Files::write("x.sundrel.sha256sums", sums.substr(0, row.listingCut ? 80 : sums.size()));
        names.insert("x.sundrel.sha256sums");
    }
    names.erase("");
    if (row.otherName) {
        fs::create_hard_link(row.target, row.otherName);
        names.insert(row.otherName);
    }
    const Outcome outcome = drive(join, row.typed, "", row.answers);
    std::vector<Box> boxes = row.boxes;
    for (Box& box : boxes)
        box.bar = box.bar == full ? filled(row.content.size()) : box.bar;
    EXPECT_EQ(outcome.boxes, boxes);
    // The bar fills once "Segment File Missing !" is answered, and otherwise stays as it was.
    EXPECT_EQ(outcome.after, boxes.back() == missing ? filled(0) : boxes.back().bar);
    EXPECT_EQ(Files::listing("."), std::vector<std::string>(names.begin(), names.end()));
    EXPECT_TRUE(row.target.empty() || Files::read(row.target) == row.content);
    for (const auto& [name, content] : row.files)
        EXPECT_TRUE(name == row.target || Files::read(name) == content) << name;
    EXPECT_TRUE(!row.otherName || fs::equivalent(row.otherName, row.target));
    fs::current_path(before);
}
INSTANTIATE_TEST_SUITE_P(Rows, Join, testing::ValuesIn(worked), rowName);

// Segments of several chunks: windows repaint at the first chunk boundary of each, so the bar is
// seen inside every segment, and it always shows what has reached the target.
TEST(JoinDlg, TheBarFollowsTheBytesInsideEachSegmentAndFillsAtTheEnd) {
    TempDir dir;
    constexpr std::uint64_t each = 3 * MiB + 1, count = 5;
    for (std::uint64_t k = 1; k <= count; ++k)
        Files::write(dir.file("x").append(std::to_string(k)), Files::pattern(each, int(k)));
    std::set<std::uint64_t> inside; // the segments the bar was seen inside
    const Outcome outcome =
        drive(join, dir.file("x1"), "", {Answer::ok}, [&](platform::Window dialog) {
            const std::string written = Files::workFile(dir.path());
            const std::uint64_t reached = Files::size(written.empty() ? dir.file("x") : written);
            const Bar bar = barOf(dialog, resources::ControlIds::Join::progress);
            EXPECT_EQ(bar, bytesMoved(count * each, reached));
            if (reached % each != 0)
                inside.insert(reached / each + 1);
        });
    EXPECT_EQ(inside.size(), count);
    EXPECT_GT(outcome.busyPumps, 0);
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(join, filled(count * each))});
    EXPECT_EQ(Files::size(dir.file("x")), count * each);
}

// Segments of one chunk each have no boundary inside them: the window still repaints between them
// once the join has run for a frame's time, which ten thousand opens take on any machine. So many
// segments are measured for the bar beside the join: the bar stands empty until their total is
// known, then follows the bytes.
TEST(JoinDlg, AJoinOfSmallSegmentsLetsTheWindowRepaint) {
    TempDir dir;
    constexpr int count = 10000, size = 16;
    for (int k = 1; k <= count; ++k)
        Files::write(dir.file("s").append(std::to_string(k)), Files::pattern(size, k));
    int pumpsWhileJoining = 0, pumpsWithTheTotal = 0;
    std::string written; // looked for once: the folder holds ten thousand names
    const Outcome outcome =
        drive(join, dir.file("s1"), "", {Answer::ok}, [&](platform::Window dialog) {
            if (written.empty())
                written = Files::workFile(dir.path());
            std::error_code none;
            const auto joined = std::filesystem::file_size(written, none);
            pumpsWhileJoining += !none && joined > 0 && joined < count * size;
            const Bar bar = barOf(dialog, resources::ControlIds::Join::progress);
            if (none || bar == Bar{0, 1, 0})
                return;
            ++pumpsWithTheTotal;
            EXPECT_EQ(bar.high, count * size);
            EXPECT_LE(bar.position, int(joined));
        });
    EXPECT_GT(pumpsWhileJoining, 0) << "the window was frozen for the whole join";
    EXPECT_GT(pumpsWithTheTotal, 0) << "the total never reached the bar";
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(join, filled(count * size))});
    EXPECT_EQ(Files::size(dir.file("s")), count * size);
}

// The second join makes the target anew, from the segments as they are then.
TEST(JoinDlg, ASecondJoinInOneOpeningStartsAfresh) {
    TempDir dir;
    Files::write(dir.file("x1"), "1");
    Files::write(dir.file("x2"), "2");
    const auto change = [&](platform::Window) { Files::write(dir.file("x2"), "two"); };
    const Outcome outcome =
        drive(join, dir.file("x1"), "", {Answer::ok, Answer::ok}, {}, {nullptr, change});
    EXPECT_EQ(outcome.boxes,
              (std::vector<Box>{success(join, filled(2)), success(join, filled(4))}));
    EXPECT_EQ(Files::read(dir.file("x")), "1two");
}

// The joined file replaces the old one with the old one's permissions, and its owner and group
// where the user may give them (root may).
TEST(JoinDlg, TheJoinedFileKeepsThePermissionsAndOwnerOfTheFileItReplaces) {
    TempDir dir;
    Files::write(dir.file("x"), "old");
    Files::write(dir.file("x1"), "new");
    const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    ASSERT_EQ(chown(dir.file("x").c_str(), owner, owner) | chmod(dir.file("x").c_str(), 0640), 0);
    struct stat old {};
    ASSERT_EQ(stat(dir.file("x").c_str(), &old), 0);
    EXPECT_EQ(drive(join, dir.file("x1")).boxes, std::vector<Box>{success(join, filled(3))});
    struct stat now {};
    ASSERT_EQ(stat(dir.file("x").c_str(), &now), 0);
    EXPECT_NE(now.st_ino, old.st_ino) << "written into the old file";
    EXPECT_EQ(now.st_mode & 07777, 0640u);
    EXPECT_EQ(now.st_uid, owner);
    EXPECT_EQ(now.st_gid, owner);
    EXPECT_EQ(Files::read(dir.file("x")), "new");
}

// A user who may write the old file but create nothing in its folder is asked first, and OK
// joins into the old file.
TEST(JoinDlg, AFolderTheUserMayNotCreateInAsksBeforeJoiningIntoTheOldFile) {
    if (Unprivileged::isRerun()) {
        const std::string x = Unprivileged::scene() + "/x";
        const Box asked = intoItself(x, "you may not create files in its folder");
        EXPECT_EQ(drive(join, x + "1", "", {Answer::ok, Answer::ok}).boxes,
                  (std::vector<Box>{asked, success(join, filled(3))}));
        EXPECT_EQ(Files::read(x), "new");
        return;
    }
    if (geteuid() != 0)
        GTEST_SKIP() << "a folder the user may not create in, with his file in it, needs root";
    TempDir dir;
    const std::string folder = dir.file("locked");
    ASSERT_EQ(chmod(dir.path().c_str(), 0755) | mkdir(folder.c_str(), 0755), 0);
    Files::write(folder + "/x", "old");
    Files::write(folder + "/x1", "new");
    ASSERT_EQ(chown((folder + "/x").c_str(), Unprivileged::user(), Unprivileged::user()), 0);
    EXPECT_EQ(Unprivileged::rerun(folder), "");
}

// Segments of 2 MiB leave a medium of 3 MiB no room for the joined file beside the old one: the
// join asks first, and Cancel leaves everything as it was.
TEST(JoinDlg, AMediumWithoutRoomForTwoCopiesAsksBeforeJoiningIntoTheOldFile) {
    TempDir dir;
    ScratchTmpfs medium(dir.path(), "size=3m");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    const std::string x = medium.file("x"), bytes = Files::pattern(MiB, 3);
    Files::write(x, "old");
    Files::write(x + "1", bytes);
    Files::write(x + "2", bytes);
    const Box asked = intoItself(x, "its folder has no room for the joined file beside it");
    EXPECT_EQ(drive(join, x + "1", "", {Answer::cancel}).boxes, std::vector<Box>{asked});
    EXPECT_EQ(Files::listing(medium.path()), (std::vector<std::string>{"x", "x1", "x2"}));
    EXPECT_EQ(Files::read(x), "old");
}

// Work files that killed runs left go before the next join in their folder writes: the user's
// own that nobody holds. One held (locked), another user's and names or entries of other kinds
// stay.
TEST(JoinDlg, RemovesTheWorkFilesThatKilledRunsLeftInItsFolder) {
    TempDir dir;
    Files::write(dir.file("x1"), "1");
    const std::vector<std::string> kept = {".sundrel-held0000.part", ".sundrel-other000.part",
                                           ".sundrel-short.part", ".sundrel-folder00.part"};
    for (const char* name : {".sundrel-left0000.part", ".sundrel-held0000.part",
                             ".sundrel-other000.part", ".sundrel-short.part"})
        Files::write(dir.file(name), "part");
    fs::create_directory(dir.file(".sundrel-folder00.part"));
    const int held = open(dir.file(".sundrel-held0000.part").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const bool stranger = geteuid() == 0;
    ASSERT_TRUE(!stranger || chown(dir.file(".sundrel-other000.part").c_str(), 65534, 65534) == 0);
    EXPECT_EQ(drive(join, dir.file("x1")).boxes, std::vector<Box>{success(join, filled(1))});
    close(held);
    std::vector<std::string> left = kept;
    left.insert(left.end(), {"x", "x1"});
    if (!stranger) {
        left.erase(left.begin() + 1);
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Files::listing(dir.path()), left);
}

// How the join is spoilt: the target a link to a segment, a segment held, and the rest.
enum Spoil {
    as2,
    to3,
    pastAGap,
    whileJoining,
    hold1,
    hold2,
    readOnly,
    noFolder,
    fillsUp,
    fillsLater,
    gone2,
    madeMeanwhile
};
enum Left { nothing, older, segment2, segment3, pastTheGap, later };
struct FileFault {
    const char* name;
    Spoil spoil;
    const char* report; // "<x>" stands for the target
    unsigned type;
    Left left; // what stands under the target's name afterwards
    Bar bar;
    bool listed = false; // the set has its checksum file
};

const char* cannotCreate = "Error opening target for writing ! ";
// Where the bytes stopped: worked out by the test from what reached the target.
const Bar stopped{0, -2, -2};
// clang-format off
const FileFault faults[] = {
    {"Segment2HardLinkedAsTheTarget", as2, cannotCreate, BoxType::ok, segment2, untouched},
    {"TheTargetASymbolicLinkToSegment3", to3, cannotCreate, BoxType::ok, segment3, untouched},
    {"TheTargetASymbolicLinkToASegmentPastAGap", pastAGap, cannotCreate, BoxType::ok, pastTheGap, untouched},
    {"Segment2MadeTheJoinedFileAfterSegment1", whileJoining, cannotCreate, BoxType::ok, nothing, stopped},
    {"Segment2HeldByAnotherOpen_AnOlderTargetKept", hold2, "A sharing violation occurred while accessing <x>2.", BoxType::iconStop, older, stopped},
    {"Segment1Held_AnOlderTargetKept", hold1, "A sharing violation occurred while accessing <x>1.", BoxType::iconStop, older, untouched},
    {"ReadOnlyMedium", readOnly, cannotCreate, BoxType::ok, older, untouched},
    {"TheTargetsFolderMissing", noFolder, cannotCreate, BoxType::ok, nothing, untouched},
    {"FullMedium_NoPartLeft", fillsUp, "Disk full while accessing <x>.", BoxType::iconStop, nothing, stopped},
    {"FullMediumMidway_AnOlderTargetKept", fillsLater, "Disk full while accessing <x>.", BoxType::iconStop, older, stopped},
    {"Segment2ALinkToAMediumThatIsGone", gone2, "<x>2 was not found.", BoxType::iconStop, nothing, stopped},
    // A file that comes to stand under a name that was free as the join began is not replaced.
    {"AFileMadeUnderTheNewNameMeanwhile_Kept", madeMeanwhile, "Access to <x> was denied.", BoxType::iconStop, later, filled(3 * MiB + 1)},
    // With a checksum file the refusals hold, and what a failure leaves is what stood there before.
    {"Listed_TheTargetASymbolicLinkToSegment3", to3, cannotCreate, BoxType::ok, segment3, untouched, true},
    {"Listed_Segment2HeldByAnotherOpen", hold2, "A sharing violation occurred while accessing <x>2.", BoxType::iconStop, nothing, stopped, true},
    {"Listed_FullMediumMidway_AnOlderTargetKept", fillsLater, "Disk full while accessing <x>.", BoxType::iconStop, older, stopped, true},
};
// clang-format on

// Links and names gone beside the segments x1 to x3: the target, or the file the join writes,
// may be a segment under another name, from the start or from a moment during the join. Or the
// medium fills up while the join writes.
void spoil(Spoil fault, const std::string& x) {
    const std::string folder = fs::path(x).parent_path();
    switch (fault) {
    case as2:
        return fs::create_hard_link(x + "2", x);
    case to3:
        return fs::create_symlink("x3", x);
    case pastAGap:
        Files::write(x + "5", "E");
        return fs::create_symlink("x5", x);
    case whileJoining:
        fs::remove(x + "2");
        return fs::create_hard_link(Files::workFile(folder), x + "2");
    case fillsLater:
        return Files::write(folder + "/filler", Files::pattern(2 * MiB));
    case noFolder:
        return fs::create_symlink("unplugged/x", x);
    case gone2:
        fs::remove(x + "2");
        return fs::create_symlink("unplugged/x2", x + "2");
    case madeMeanwhile:
        return Files::write(x, "later");
    default:
        return;
    }
}

class JoinFileError : public testing::TestWithParam<FileFault> {};

// Where the medium is needed, three segments of 1 MiB leave room on it for one and a half more,
// or at first for four, until a file of 2 MiB comes while the join writes. A segment that exists
// but cannot be opened ends the join with the report: only a missing one ends the set. No segment
// is ever emptied as the target, and a join that fails leaves what stood under its name.
TEST_P(JoinFileError, EndsTheJoinWithItsReportAndKeepsWhatStoodUnderTheTarget) {
    const FileFault& row = GetParam();
    TempDir dir;
    const bool onMedium = row.spoil == readOnly || row.spoil == fillsUp || row.spoil == fillsLater;
    ScratchTmpfs medium(dir.path(), row.spoil == fillsLater ? "size=7m" : "size=4608k");
    if (onMedium && !medium.mounted())
        GTEST_SKIP() << medium.failure();
    const std::string x = (onMedium ? medium.path() : dir.path()) + "/x";
    std::vector<std::string> segments; // the first one over a chunk, so that the join pumps in it
    for (int k = 1; k <= 3; ++k)
        Files::write(x + std::to_string(k),
                     segments.emplace_back(Files::pattern(MiB + (k == 1), k)));
    if (row.listed) {
        TempDir made;
        Files::write(made.file("x"), segments[0] + segments[1] + segments[2]);
        std::vector<std::string> names{"x1", "x2", "x3", "x"};
        for (int k = 1; k <= 3; ++k)
            Files::write(made.file(names[k - 1]), segments[k - 1]);
        Files::write(x + ".sundrel.sha256sums", Files::sha256sum(made.path(), names));
    }
    if (row.left == older)
        Files::write(x, "old");
    CFile holder;
    ASSERT_TRUE((row.spoil != hold1 && row.spoil != hold2) ||
                holder.Open(x + (row.spoil == hold1 ? "1" : "2"), CFile::modeRead));
    ASSERT_TRUE(row.spoil != readOnly || medium.remountReadOnly());
    const bool linksLater = row.spoil == whileJoining;
    bool pending = linksLater || row.spoil == fillsLater || row.spoil == madeMeanwhile;
    if (!pending)
        spoil(row.spoil, x);
    const Outcome outcome = drive(join, x + "1", "", {Answer::ok}, [&](platform::Window) {
        if (pending && !Files::workFile(fs::path(x).parent_path()).empty()) {
            spoil(row.spoil, x);
            pending = false;
        }
    });
    std::string report = row.report;
    if (const auto at = report.find("<x>"); at != std::string::npos)
        report.replace(at, 3, x);
    // Segment 1 reached the target, or part of segment 2 too where the medium filled up. A link
    // to nowhere ends the set at segment 1 from the start.
    Bar bar = row.bar;
    if (bar == stopped) {
        bar = bytesMoved(row.spoil == gone2 ? MiB + 1 : 3 * MiB + 1, MiB + 1);
        if (row.spoil == fillsUp || row.spoil == fillsLater) {
            EXPECT_GT(outcome.after.position, bar.position);
            EXPECT_LT(outcome.after.position, bar.position + int(MiB));
            bar.position = outcome.after.position;
        }
    }
    EXPECT_EQ(outcome.boxes, (std::vector<Box>{{report, app, row.type, bar}}));
    EXPECT_EQ(outcome.after, bar);
    EXPECT_TRUE(outcome.open);
    const std::string left = fs::is_regular_file(x) ? Files::read(x) : "";
    const std::string expected[] = {"", "old", segments[1], segments[2], "E", "later"};
    EXPECT_TRUE(left == expected[row.left]) << left.size() << " bytes";
    for (const std::string& name : Files::listing(fs::path(x).parent_path()))
        EXPECT_EQ(name.find(".sundrel-"), std::string::npos) << name << " left behind";
    for (int k = 1; k <= 3; ++k)
        EXPECT_TRUE((row.spoil == gone2 && k == 2) ||
                    Files::read(x + std::to_string(k)) ==
                        segments[linksLater && k == 2 ? 0 : k - 1])
            << "segment " << k;
}
INSTANTIATE_TEST_SUITE_P(Rows, JoinFileError, testing::ValuesIn(faults), rowName);

// Without Sundrel, in the set's folder: sha256sum -c finds every segment whole and only the
// rebuilt file missing, and after the join everything whole.
TEST(SplitAndJoin, Sha256sumChecksTheSetAndItsRebuiltFile) {
    TempDir dir;
    const std::string name = "back\\slash.bin", source = dir.file(name);
    Files::write(source, Files::pattern(3 * MiB + 5));
    const Box split = success(byNumber, filled(3 * MiB + 5));
    EXPECT_EQ(drive(byNumber, source, "3").boxes, std::vector<Box>{split});
    fs::rename(source, dir.file("original"));
    const std::string check =
        "cd '" + dir.path() + "' && sha256sum -c '" + name + ".sundrel.sha256sums' 2>/dev/null";
    EXPECT_NE(std::system((check + " >/dev/null").c_str()), 0);
    EXPECT_EQ(std::system((check + " | grep -c ': OK$' | grep -qx 3").c_str()), 0);
    EXPECT_EQ(std::system((check + " | grep -c ': FAILED open or read$' | grep -qx 1").c_str()), 0);
    EXPECT_EQ(drive(join, source + "1").boxes,
              std::vector<Box>{success(join, filled(3 * MiB + 5))});
    EXPECT_EQ(std::system((check + " >/dev/null").c_str()), 0);
    EXPECT_EQ(Files::read(source), Files::read(dir.file("original")));
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// On a tmpfs when one can be mounted, so that 4 GiB never wait for a disk. Each segment holds
// more than 2^31 bytes and the source's end lies beyond 2^32, and neither passes through memory
// whole. The segments are made sparse again before the join, so that they and the joined file
// never lie there together.
TEST(SplitAndJoin, ASparseSourceOver4GiBRoundTripsInFlatMemory) {
    TempDir dir;
    ScratchTmpfs memory(dir.path(), "size=4200m");
    const std::string place = memory.mounted() ? memory.path() : dir.path();
    const std::string source = place + "/big.iso", original = place + "/original";
    const std::uint64_t length = 4 * GiB + 1000, half = length / 2;
    // Marks at both ends and across every GiB, the cut and 4 GiB, where 32-bit offsets wrap.
    std::vector<std::pair<std::uint64_t, std::string>> marks;
    for (std::uint64_t k = 0, at = 0; k <= 4; ++k, at = k * GiB - 2048)
        marks.push_back({at, Files::pattern(std::min<std::uint64_t>(4096, length - at), k)});
    Files::makeSparse(source, length, marks);
    Files::makeSparse(original, length, marks);
    const long peakBefore = peakResidentKiB();
    const Outcome split = drive(byNumber, source, "2");
    EXPECT_EQ(split.boxes, std::vector<Box>{success(byNumber, filled(length))});
    EXPECT_EQ(Files::segmentLengths(source), (std::vector<std::uint64_t>{half, half}));
    const std::string segments = source + "1 " + source + "2";
    EXPECT_EQ(std::system(("cat " + segments + " | cmp - " + original).c_str()), 0);
    ASSERT_EQ(
        std::system(("for s in " + segments + "; do fallocate -d $s || exit 1; done").c_str()), 0);
    EXPECT_EQ(drive(join, source + "1").boxes, std::vector<Box>{success(join, filled(length))});
    EXPECT_EQ(std::system(("cmp " + source + " " + original).c_str()), 0) << "joined back";
    EXPECT_LT(peakResidentKiB() - peakBefore, 64 * 1024);
}

} // namespace
