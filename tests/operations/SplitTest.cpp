#include "operations/SplitJoinDriver.h"
#include "platform/files/WorkFiles.h"
#include "support/Files.h"
#include "support/RowName.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

namespace {

using namespace test;

struct Worked {
    const char* name;
    Operation operation;
    std::size_t length;
    const char* amount;
    std::vector<std::uint64_t> segments;
    bool askedFirst = false; // more segments than bytes: the count question, answered OK
};

// Asked before a split by number that would write empty segments; Cancel is the default.
Box countQuestion(std::uint64_t length, int count) {
    return {"The file holds only " + std::to_string(length) + (length == 1 ? " byte" : " bytes") +
                ", so " + std::to_string(count - 1) + " of the " + std::to_string(count) +
                " segments would be empty files. Split it anyway?",
            "Sundrel - split by number ",
            BoxType::okCancel | BoxType::iconExclamation | BoxType::defaultButton2, untouched};
}

// clang-format off
const Worked worked[] = {
    {"ByNumber_TheLastTakesTheRest", byNumber, 10, "3", {3, 3, 4}},
    {"ByNumber_FourEmptyThenAll", byNumber, 3, "5", {0, 0, 0, 0, 3}, true},
    {"ByNumber_EmptyByFour_ThreeEmptyNoFourth", byNumber, 0, "4", {0, 0, 0}, true},
    {"ByNumber_OneIsACopy", byNumber, 10, "1", {10}},
    {"ByNumber_TwelveUnpaddedNames", byNumber, 100, "12", {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 12}},
    {"BySize_TheLastTakesTheRest", bySize, 10, "4", {4, 6}},
    {"BySize_OverHalfTheLength_ACopy", bySize, 10, "6", {10}},
    {"BySize_ShorterThanTheSize_ACopy", bySize, 10, "64", {10}},
    {"BySize_EmptySource_NoSegment", bySize, 0, "4", {}},
};
// clang-format on

class Split : public testing::TestWithParam<Worked> {};

// The segments hold the source's bytes under names 1, 2, ... (cat joins them into the source) and
// nothing else is made; the one message comes up with the bar full and the
// source still held.
TEST_P(Split, WorkedCase) {
    const Worked& row = GetParam();
    TempDir dir;
    const std::string source = dir.file("a.bin"), bytes = Files::pattern(row.length);
    Files::write(source, bytes);
    std::vector<Box> boxes{success(row.operation, filled(row.length))};
    if (row.askedFirst)
        boxes.insert(boxes.begin(), countQuestion(row.length, std::stoi(row.amount)));
    const Outcome outcome =
        drive(row.operation, source, row.amount, std::vector<int>(boxes.size(), Answer::ok));
    EXPECT_EQ(outcome.boxes, boxes);
    EXPECT_TRUE(outcome.held && outcome.open);
    EXPECT_EQ(Files::segmentLengths(source), row.segments);
    EXPECT_EQ(Files::listing(dir.path()).size(), row.segments.size() + 2);
    std::string cat = "cat /dev/null";
    std::vector<std::string> listed;
    for (std::size_t k = 1; k <= row.segments.size(); ++k) {
        cat += " " + source + std::to_string(k);
        listed.push_back("a.bin" + std::to_string(k));
    }
    EXPECT_EQ(std::system((cat + " | cmp - " + source).c_str()), 0);
    // The checksum file is what sha256sum writes for the segments and then the source.
    listed.push_back("a.bin");
    EXPECT_EQ(Files::read(source + ".sundrel.sha256sums"), Files::sha256sum(dir.path(), listed));
}
INSTANTIATE_TEST_SUITE_P(Rows, Split, testing::ValuesIn(worked), rowName);

enum Source { aFile, noPath, missing, folder, held, longName, readOnly1, strangers1 };
struct Refusal {
    const char* name;
    Operation operation;
    Source source;
    const char* amount;
    Box box; // "%1" in its text stands for the source's path
    Hook beforeTheClick = nullptr;
    int answer = Answer::ok;
};

// The arrows stop at 2 and at 1000, which they write as plain digits where the locale groups
// thousands.
void pressTheArrows(platform::Window dialog) {
    for (const auto& [key, presses, shown] :
         {std::tuple{Qt::Key_Down, 3, "2"}, {Qt::Key_Up, 998, "1000"}}) {
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
    {"ByNumber_CountBeyond32Bits", byNumber, aFile, "2147483648", integer},
    {"ByNumber_CountNegative", byNumber, aFile, "-3", positive},
    {"ByNumber_TheArrowsThousandAboveTheLength_Cancel", byNumber, aFile, "3", countQuestion(10, 1000), pressTheArrows, Answer::cancel},
    {"ByNumber_NamesTooLongForTheFolder", byNumber, longName, "12", {"%112 contains an invalid path.", app, BoxType::iconStop, untouched}},
    {"ByNumber_NoSuchSource", byNumber, missing, "3", cannotOpen},
    {"ByNumber_ADirectoryAsSource", byNumber, folder, "3", cannotOpen},
    {"ByNumber_ASourceHeldByAnotherOpen", byNumber, held, "3", cannotOpen},
    {"BySize_Negative", bySize, aFile, "-5", positive},
    {"BySize_Empty", bySize, aFile, "", positive},
    {"BySize_Beyond63Bits", bySize, aFile, "9223372036854775808", positive},
    {"BySize_Zero", bySize, aFile, "0", {" Please give the size of segments required (non-zero) ", "Sun Drel - split by size", BoxType::iconInformation, untouched}},
    {"BySize_NoSuchSource", bySize, missing, "3", {" Error Opening File for reading ", app, 0, untouched}},
    // A segment 1 of an earlier split goes before anything is written, unless it may not.
    {"ByNumber_AReadOnlySegment1Kept", byNumber, readOnly1, "3", {"Access to %11 was denied.", app, BoxType::iconStop, bytesMoved(10, 0)}},
    {"BySize_AnotherUsersSegment1Kept", bySize, strangers1, "3", {"Access to %11 was denied.", app, BoxType::iconStop, bytesMoved(10, 0)}},
};
// clang-format on

class SplitRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(SplitRefusal, ShowsItsMessageAndWritesNothing) {
    const Refusal& row = GetParam();
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TempDir dir;
    const std::string longest(254, 'n'); // the longest name a folder takes here is 255 bytes
    Files::write(dir.file("a"), "0123456789");
    Files::write(dir.file(longest), std::string(1200, 'x'));
    std::filesystem::create_directory(dir.file("folder"));
    CFile holder;
    ASSERT_TRUE(row.source != held || holder.Open(dir.file("a"), CFile::modeRead));
    std::vector<std::string> left{"a", "folder", longest};
    if (row.source == readOnly1 || row.source == strangers1) {
        if (row.source == strangers1 && geteuid() != 0)
            GTEST_SKIP() << "giving a file to another user needs root";
        Files::write(dir.file("a1"), "old");
        ASSERT_EQ(row.source == readOnly1 ? chmod(dir.file("a1").c_str(), 0444)
                                          : chown(dir.file("a1").c_str(), 65534, 65534),
                  0);
        left.insert(left.begin() + 1, "a1");
    }
    const std::string paths[] = {dir.file("a"),       "",
                                 dir.file("missing"), dir.file("folder"),
                                 dir.file("a"),       dir.file(longest),
                                 dir.file("a"),       dir.file("a")};
    const Outcome outcome =
        drive(row.operation, paths[row.source], row.amount, {row.answer}, {}, {row.beforeTheClick});
    Box box = row.box;
    if (const auto at = box.text.find("%1"); at != std::string::npos)
        box.text.replace(at, 2, paths[row.source]);
    EXPECT_EQ(outcome.boxes, std::vector<Box>{box});
    EXPECT_EQ(Files::listing(dir.path()), left);
    EXPECT_TRUE(left.size() == 3 || Files::read(dir.file("a1")) == "old");
    EXPECT_TRUE(outcome.open);
    QLocale::setDefault(previous);
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitRefusal, testing::ValuesIn(refusals), rowName);

enum Fault { folderMovedAway, readOnly, fillsUp, plants1 };
struct FileFault {
    const char* name;
    Fault fault;
    Operation operation;
    std::uint64_t length;
    const char* amount;
    const char *before, *after; // the report: before, the segment that failed, after
    int written;                // the segments finished first
    int segments;
    int named = -1; // the segment the report names: -1 the one after those finished, 0 none
                    // (the checksum file)
};

// clang-format off
const FileFault faults[] = {
    {"ByNumber_FolderMovedAwayAfterSegment1", folderMovedAway, byNumber, 6 << 20, "3", "", " contains an invalid path.", 1, 3},
    {"BySize_ReadOnlyMedium", readOnly, bySize, 6 << 20, "2097152", "Access to ", " was denied.", 0, 3},
    {"ByNumber_MediumFillsUpInSegment2", fillsUp, byNumber, 3 << 20, "4", "Disk full while accessing ", ".", 1, 4},
    // The source and the segments take every page of the medium.
    {"ByNumber_NoRoomForTheChecksumFile", fillsUp, byNumber, (2 << 20) - 4097, "3", "Disk full while accessing ", ".sundrel.sha256sums.", 3, 3, 0},
    // A file put under segment 1's name while the split works is not replaced.
    {"ByNumber_AFileMadeUnderSegment1sName", plants1, byNumber, 6 << 20, "3", "Access to ", " was denied.", 3, 3, 1},
};
// clang-format on

class SplitFault : public testing::TestWithParam<FileFault> {};

// The dialog stays open with its values, and what was written stays but segment 1, without which
// no join takes the rest for a set: the finished segments whole, the failed one with at most the
// bytes read for it.
TEST_P(SplitFault, EndsTheSplitWithItsReportAndKeepsWhatWasWritten) {
    const FileFault& row = GetParam();
    TempDir dir;
    ScratchTmpfs medium(dir.path(), row.fault == fillsUp ? "size=4m" : "size=16m");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    std::filesystem::create_directory(medium.file("in"));
    const std::string source = medium.file("in/a"), bytes = Files::pattern(row.length);
    Files::write(source, bytes);
    const std::string sums = source + ".sundrel.sha256sums";
    if (row.fault != readOnly) // one from an earlier split, gone before the first segment
        Files::write(sums, std::string(64, '0') + "  a1\n" + std::string(64, '0') + "  a\n");
    ASSERT_TRUE(row.fault != readOnly || medium.remountReadOnly());
    bool moved = false;
    const auto move = [&](platform::Window) {
        if (row.fault == folderMovedAway && !moved && !Files::workFile(medium.file("in")).empty())
            moved = std::rename(medium.file("in").c_str(), medium.file("out").c_str()) == 0;
        if (row.fault == plants1 && !Files::exists(source + "1") && Files::exists(source + "2"))
            Files::write(source + "1", "planted");
    };
    const Outcome outcome = drive(row.operation, source, row.amount, {Answer::ok}, move);
    EXPECT_TRUE(outcome.open);
    // Segments of several chunks pump events: the look while working is seen and checked.
    EXPECT_TRUE(row.fault == readOnly || row.named == 0 || outcome.busyPumps > 0);
    EXPECT_EQ(outcome.kept, source + "|" + row.amount);
    const std::string base = moved ? medium.file("out/a") : source;
    const std::uint64_t each = row.length / row.segments;
    EXPECT_EQ(Files::exists(base + "1") ? Files::read(base + "1") : "",
              row.fault == plants1 ? "planted" : "");
    EXPECT_TRUE(moved || Files::workFile(medium.file("in")).empty());
    // Segment 1 reached the medium before it went again.
    std::uint64_t reached = row.written == row.segments ? row.length : row.written * each;
    for (int k = 2; k <= row.written + 1; ++k) {
        const std::string segment = base + std::to_string(k);
        const std::string got = Files::exists(segment) ? Files::read(segment) : "";
        EXPECT_EQ(got, bytes.substr((k - 1) * each, k <= row.written ? each : got.size()));
        reached += k == row.written + 1 ? got.size() : 0;
    }
    // The bar stands where the bytes stopped.
    const int named = row.named < 0 ? row.written + 1 : row.named;
    const std::string failed = source + (named == 0 ? "" : std::to_string(named));
    EXPECT_EQ(outcome.boxes,
              (std::vector<Box>{{row.before + failed + row.after, app, BoxType::iconStop,
                                 bytesMoved(row.length, reached)}}));
    EXPECT_FALSE(Files::exists(base + std::to_string(row.written + 2)));
    for (const char* left : {".sundrel.sha256sums", ".sundrel.sha256part"})
        EXPECT_FALSE(Files::exists(base + left)) << left;
    const Box noSet{"Segment File Missing !", app, BoxType::ok, bytesMoved(0, 0)};
    EXPECT_TRUE(row.fault == plants1 || drive(join, base + "1").boxes == std::vector<Box>{noSet});
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitFault, testing::ValuesIn(faults), rowName);

enum Earlier { ownFile, aLink, anotherUsers, aFolder };
struct EarlierChecksum {
    const char* name;
    Earlier earlier;
    const char* report; // nullptr: the split succeeds
};
// clang-format off
const EarlierChecksum earlierChecksums[] = {
    {"OwnFile_Replaced", ownFile, nullptr},
    {"ALink_TheLinkReplaced_WhatItLeadsToKept", aLink, nullptr},
    {"AnotherUsersFile_Refused", anotherUsers, "Access to <c> was denied."},
    {"AFolder_Refused", aFolder, "Access to <c> was denied."},
};
// clang-format on

class SplitEarlierChecksum : public testing::TestWithParam<EarlierChecksum> {};

// A checksum file already under the set's name never survives to describe the new set: it is
// replaced, or the split is refused as for a segment that cannot be created, writing nothing.
TEST_P(SplitEarlierChecksum, IsReplacedOrRefusesTheSplit) {
    const EarlierChecksum& row = GetParam();
    TempDir dir;
    const std::string source = dir.file("a"), sums = source + ".sundrel.sha256sums";
    const std::string old = std::string(64, 'f') + "  a\n";
    Files::write(source, "0123456789");
    Files::write(dir.file("kept"), old);
    switch (row.earlier) {
    case ownFile:
        Files::write(sums, old);
        break;
    case aLink:
        std::filesystem::create_symlink("kept", sums);
        break;
    case anotherUsers:
        Files::write(sums, old);
        if (chown(sums.c_str(), 65534, 65534) != 0)
            GTEST_SKIP() << "cannot give a file to another user here";
        break;
    case aFolder:
        std::filesystem::create_directory(sums);
        break;
    }
    const Outcome outcome = drive(byNumber, source, "2");
    std::string report = row.report ? row.report : "";
    if (const auto at = report.find("<c>"); at != std::string::npos)
        report.replace(at, 3, sums);
    const Box expected = row.report ? Box{report, app, BoxType::iconStop, bytesMoved(10, 0)}
                                    : success(byNumber, filled(10));
    EXPECT_EQ(outcome.boxes, std::vector<Box>{expected});
    EXPECT_EQ(Files::read(dir.file("kept")), old);
    EXPECT_EQ(Files::exists(source + "1"), row.report == nullptr);
    if (row.report == nullptr)
        EXPECT_EQ(Files::read(sums), Files::sha256sum(dir.path(), {"a1", "a2", "a"}));
    else
        EXPECT_TRUE(row.earlier == aFolder || Files::read(sums) == old);
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitEarlierChecksum, testing::ValuesIn(earlierChecksums), rowName);

// What stands beside the source under a segment number before a split.
enum Standing { oldBytes, folderThere, linkOut, hardLinkToTheSource, readOnlyFile, strangers };
struct Leftovers {
    const char* name;
    Operation operation;
    std::size_t length;
    const char* amount;
    std::vector<std::pair<int, Standing>> beside;
    int answer;
    int first, last, count;                        // the leftovers the question names
    std::vector<std::pair<int, const char*>> kept; // and why
    std::vector<int> left;                         // what stands beside the new set afterwards
    bool writeProtected = false; // the folder's medium turns read-only before the split
};

// clang-format off
const Leftovers leftovers[] = {
    {"ByNumber_FiveThenThree_YesRemovesFourAndFive", byNumber, 1000, "3", {{4, oldBytes}, {5, oldBytes}}, Answer::yes, 4, 5, 2, {}, {}},
    {"ByNumber_FiveThenThree_NoKeepsThemAndSplits", byNumber, 1000, "3", {{4, oldBytes}, {5, oldBytes}}, Answer::no, 4, 5, 2, {}, {4, 5}},
    {"ByNumber_FiveThenThree_CancelLeavesEveryFile", byNumber, 1000, "3", {{1, oldBytes}, {2, oldBytes}, {3, oldBytes}, {4, oldBytes}, {5, oldBytes}}, Answer::cancel, 4, 5, 2, {}, {1, 2, 3, 4, 5}},
    {"BySize_AnEmptiedSourceFromNumber1", bySize, 0, "4", {{1, oldBytes}, {2, oldBytes}}, Answer::yes, 1, 2, 2, {}, {}},
    {"ByNumber_OnlyTheUsersOwnFilesAndLinksGo", byNumber, 1000, "3", {{4, linkOut}, {5, hardLinkToTheSource}, {6, folderThere}, {7, readOnlyFile}, {15, oldBytes}}, Answer::yes, 4, 15, 5, {{5, "the file being split"}, {6, "a folder"}, {7, "read-only"}}, {5, 6, 7}},
    {"BySize_AnotherUsersFileStays", bySize, 1000, "500", {{3, strangers}}, Answer::yes, 3, 3, 1, {{3, "another user's"}}, {3}},
    {"ByNumber_ARemovalThatFailsIsReportedBeforeAnyWrite", byNumber, 1000, "3", {{4, oldBytes}}, Answer::yes, 4, 4, 1, {}, {4}, true},
    {"ByNumber_TheRunEndsEightFreeNumbersPastAFind", byNumber, 1000, "3", {{12, oldBytes}, {21, oldBytes}}, Answer::yes, 12, 12, 1, {}, {21}},
};
// clang-format on

class SplitLeftovers : public testing::TestWithParam<Leftovers> {};

// Files under the numbers past the new set would be appended by a join: the split asks first,
// and removes only what the user lets go and may be lost.
TEST_P(SplitLeftovers, AreNamedInAQuestionAndGoOnlyOnYes) {
    const Leftovers& row = GetParam();
    TempDir scratch, elsewhere;
    std::optional<ScratchTmpfs> medium; // only where it turns read-only
    if (row.writeProtected && !medium.emplace(scratch.path(), "size=1m").mounted())
        GTEST_SKIP() << medium->failure();
    const std::string folder = medium ? medium->path() : scratch.path();
    const std::string source = folder + "/a", bytes = Files::pattern(row.length);
    Files::write(source, bytes);
    Files::write(elsewhere.file("target"), "not a segment");
    const auto segment = [&](int k) { return source + std::to_string(k); };
    const uid_t stranger = geteuid() == 65534 ? 65533 : 65534;
    for (const auto& [number, standing] : row.beside) {
        const std::string name = segment(number);
        if (standing == folderThere)
            std::filesystem::create_directory(name);
        else if (standing == linkOut)
            std::filesystem::create_symlink(elsewhere.file("target"), name);
        else if (standing == hardLinkToTheSource)
            std::filesystem::create_hard_link(source, name);
        else
            Files::write(name, "old " + std::to_string(number));
        if (standing == readOnlyFile)
            std::filesystem::permissions(name, std::filesystem::perms::owner_read);
        if (standing == strangers && chown(name.c_str(), stranger, stranger) != 0)
            GTEST_SKIP() << "cannot give a file to another user here";
    }
    std::string list = segment(row.first) + (row.count > 1 ? " to " + segment(row.last) : "");
    list += " (" + std::to_string(row.count) + (row.count == 1 ? " file)" : " files)");
    std::string kept;
    for (const auto& [number, why] : row.kept)
        kept += (kept.empty() ? "" : ", ") + segment(number) + " (" + why + ")";
    const Box question{
        "The numbers that follow the new segments are taken: " + list +
            ". A join of the new segments would append them to the rebuilt file.\n\n" +
            (kept.empty() ? "" : "Kept whatever the answer: " + kept + ".\n\n") +
            "Remove them before splitting? Yes removes them, No keeps them and splits, Cancel "
            "splits nothing.",
        row.operation == byNumber ? "Sundrel - split by number " : "Sundrel - split by size",
        BoxType::yesNoCancel | BoxType::iconExclamation | BoxType::defaultButton3, untouched};
    ASSERT_TRUE(!row.writeProtected || medium->remountReadOnly());
    const bool splits = row.answer != Answer::cancel && !row.writeProtected;
    const Outcome outcome =
        drive(row.operation, source, row.amount,
              row.answer != Answer::cancel ? std::vector<int>{row.answer, Answer::ok}
                                           : std::vector<int>{row.answer});
    std::vector<Box> boxes{question};
    if (splits)
        boxes.push_back(success(row.operation, filled(row.length)));
    if (row.writeProtected)
        boxes.push_back({"Access to " + segment(row.first) + " was denied.", app, BoxType::iconStop,
                         untouched});
    EXPECT_EQ(outcome.boxes, boxes);

    std::vector<std::string> expected{"a"};
    if (splits)
        expected.push_back("a.sundrel.sha256sums");
    const auto written = splits ? Files::segmentLengths(source).size() : 0;
    for (std::size_t k = 1; k <= written; ++k)
        expected.push_back("a" + std::to_string(k));
    for (const int number : row.left) {
        if (number > static_cast<int>(written))
            expected.push_back("a" + std::to_string(number));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files::listing(folder), expected);
    EXPECT_EQ(Files::read(source), bytes);
    EXPECT_EQ(Files::read(elsewhere.file("target")), "not a segment");
    for (const auto& [number, standing] : row.beside) {
        const bool left = std::find(row.left.begin(), row.left.end(), number) != row.left.end();
        if (left && (standing == oldBytes || standing == readOnlyFile || standing == strangers)) {
            EXPECT_EQ(Files::read(segment(number)), "old " + std::to_string(number));
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, SplitLeftovers, testing::ValuesIn(leftovers), rowName);

// exFAT (and FAT, NTFS) keeps names as at most 255 UTF-16 units, whatever the bytes of their
// UTF-8 and what its driver reports in bytes. The longest name a split makes is its checksum
// file's, 19 characters past the source's: a source name of 237 characters, 54 of them two bytes
// long, is refused before segment 1, and one of 236 characters is split into 12.
TEST(SplitOnExfat, ChecksTheLongestNameInUtf16UnitsBeforeWriting) {
    TempDir dir;
    const std::string image = dir.file("exfat.img"), point = dir.file("stick");
    std::filesystem::create_directory(point);
    const std::string sh = "{ PATH=$PATH:/sbin:/usr/sbin; ";
    const std::string mount = sh + "truncate -s 8M " + image + " && mkfs.exfat " + image +
                              " && mount.exfat-fuse $(losetup -f --show " + image + ") " + point +
                              "; } >/dev/null 2>&1";
    if (std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "cannot make and mount an exFAT image here (mkfs.exfat, loop, FUSE)";
    for (const auto& [plain, written] : {std::pair{183, 0}, {182, 12}}) {
        std::string name(std::size_t(plain), 'n');
        for (int k = 0; k < 54; ++k)
            name += "\xc3\xa9"; // é
        const std::string source = point + "/" + name;
        Files::write(source, Files::pattern(100));
        const Outcome outcome = drive(byNumber, source, "12");
        const Box refused{source + ".sundrel.sha256sums contains an invalid path.", app,
                          BoxType::iconStop, untouched};
        EXPECT_EQ(outcome.boxes.at(0), written == 0 ? refused : success(byNumber, filled(100)));
        EXPECT_EQ(Files::segmentLengths(source).size(), std::size_t(written));
    }
    const std::string unmount = sh + "umount " + point + " || umount -l " + point +
                                "; losetup -j " + image + " | cut -d: -f1 | xargs -r losetup -d" +
                                "; } >/dev/null 2>&1";
    EXPECT_EQ(std::system(unmount.c_str()), 0);
}
// Segment 1 waits under its work name while the rest are written: a sweep for the work files of
// killed runs, made meanwhile by another split or join in the folder, leaves it alone.
TEST(SplitAndSweep, Segment1sWorkFileIsHeldUntilItHasItsName) {
    TempDir dir;
    // Segments of several chunks: windows repaint inside each, so the sweep comes in segment 2.
    const std::string source = dir.file("a"), bytes = Files::pattern(3 * ((3 << 20) + 1));
    Files::write(source, bytes);
    bool swept = false;
    const Outcome outcome = drive(byNumber, source, "3", {Answer::ok}, [&](platform::Window) {
        if (!swept && Files::exists(source + "2")) {
            platform::WorkFiles::sweep(source);
            swept = true;
        }
    });
    EXPECT_TRUE(swept);
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(byNumber, filled(bytes.size()))});
    EXPECT_EQ(Files::segmentLengths(source), std::vector<std::uint64_t>(3, (3 << 20) + 1));
}

// A size beyond 32 bits is taken as typed: a sparse file of two segments over 4 GiB each, on XFS,
// whose 300 MiB could not hold them unless each segment shares the source's blocks (a reflink).
TEST(SplitOnXfs, ASizeBeyond32BitsMakesSegmentsOver4GiB) {
    constexpr std::uint64_t size = (std::uint64_t(1) << 32) + 4096;
    TempDir dir;
    const std::string image = dir.file("xfs.img"), point = dir.file("disk");
    std::filesystem::create_directory(point);
    const std::string sh = "{ PATH=$PATH:/sbin:/usr/sbin; ";
    if (std::system((sh + "truncate -s 300M " + image + " && mkfs.xfs -q -f " + image +
                     " && mount -o loop " + image + " " + point + "; } >/dev/null 2>&1")
                        .c_str()) != 0)
        GTEST_SKIP() << "cannot make and mount an XFS image here (mkfs.xfs, loop)";
    const std::string source = point + "/big";
    const std::uint64_t length = 2 * size + 4096;
    const std::vector<std::pair<std::uint64_t, std::string>> pieces = {
        {0, "first"}, {size - 5, "edge1"}, {size, "second"}, {length - 4, "last"}};
    Files::makeSparse(source, length, pieces);
    const Outcome outcome = drive(bySize, source, std::to_string(size));
    EXPECT_EQ(outcome.boxes, std::vector<Box>{success(bySize, filled(length))});
    EXPECT_EQ(Files::segmentLengths(source), (std::vector<std::uint64_t>{size, size + 4096}));
    for (const auto& [offset, bytes] : pieces) {
        const std::string segment = source + (offset < size ? "1" : "2");
        std::ifstream in(segment, std::ios::binary);
        std::string got(bytes.size(), '\0');
        in.seekg(static_cast<std::streamoff>(offset < size ? offset : offset - size))
            .read(got.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_EQ(got, bytes) << segment << " at " << offset;
    }
    EXPECT_EQ(
        std::system(
            (sh + "umount " + point + " || umount -l " + point + "; } >/dev/null 2>&1").c_str()),
        0);
}

// Esc or the close box while a split or join works asks whether to stop; the work waits. OK
// removes what the run wrote and says so, Cancel goes on to the end.
struct Stop {
    const char* name;
    Operation operation;
    bool closeBox; // else Esc
    int answer;
    std::vector<std::string> boxes; // "%1" stands for the join's target
    bool listed = false;            // the set has its checksum file
    bool older = false;             // a file stands under the join's target
    bool throughALink = false;      // the join's target a link to a file not there yet
};
const std::string stopTheSplit =
    "Stop the split? The segments it has written so far will be removed.";
const std::string stopTheJoin = "Stop the join? The file it is rebuilding will be removed.";
// clang-format off
const Stop stops[] = {
    {"ByNumber_EscThenOk_RemovesTheSegments", byNumber, false, Answer::ok, {stopTheSplit, "The split was stopped. The 2 segments it had written were removed. The file itself is as it was."}},
    {"ByNumber_CloseBoxThenCancel_GoesOn", byNumber, true, Answer::cancel, {stopTheSplit, " The file has been split ! "}},
    {"Join_CloseBoxThenOk_WritesNothing", join, true, Answer::ok, {stopTheJoin, "The join was stopped. Nothing was written under %1, and the segments are as they were."}},
    {"Join_OverAnOlderFile_EscThenOk_KeepsIt", join, false, Answer::ok, {stopTheJoin, "The join was stopped. Nothing was written under %1, and the segments are as they were."}, false, true},
    {"Join_EscThenCancel_GoesOn", join, false, Answer::cancel, {stopTheJoin, "File Joined "}},
    {"Join_Listed_CloseBoxThenOk_WritesNothing", join, true, Answer::ok, {stopTheJoin, "The join was stopped. Nothing was written under %1, and the segments are as they were."}, true},
    {"Join_ThroughALinkToNothingYet_EscThenOk_RemovesWhatItWrote", join, false, Answer::ok, {stopTheJoin, "The join was stopped. %1, which it had not finished, was removed. The segments are as they were."}, false, false, true},
};
// clang-format on

class StopWhileWorking : public testing::TestWithParam<Stop> {};

TEST_P(StopWhileWorking, AsksAndRemovesWhatTheRunWroteOnOk) {
    const Stop& row = GetParam();
    TempDir dir;
    const std::string source = dir.file("a"), bytes = Files::pattern(9 << 20);
    Files::write(source, bytes);
    for (int k = 1; row.operation == join && k <= 3; ++k)
        Files::write(source + std::to_string(k), bytes.substr((k - 1) * (3 << 20), 3 << 20));
    if (row.operation == join)
        std::filesystem::rename(source, dir.file("original"));
    if (row.listed)
        Files::write(source + ".sundrel.sha256sums",
                     Files::sha256sum(dir.path(), {"a1", "a2", "a3"}) +
                         Files::sha256sum(dir.path(), {"original"}).substr(0, 64) + "  a\n");
    if (row.older)
        Files::write(source, "old");
    const std::string linkedTo = dir.file("out/a");
    if (row.throughALink) {
        std::filesystem::create_directory(dir.file("out"));
        std::filesystem::create_symlink("out/a", source);
    }
    // A join rebuilds the file under a name of its own first, or where a link to nothing leads.
    const auto joining = [&] {
        const std::string written = row.throughALink ? linkedTo : Files::workFile(dir.path());
        std::error_code gone;
        return !written.empty() && std::filesystem::file_size(written, gone) > 0;
    };
    bool asked = false;
    const Outcome outcome = drive(row.operation, row.operation == join ? source + "1" : source, "3",
                                  {row.answer, Answer::ok}, [&](platform::Window dialog) {
                                      const bool midway = row.operation == join
                                                              ? joining()
                                                              : Files::exists(source + "2");
                                      if (!midway || std::exchange(asked, true))
                                          return;
                                      if (row.closeBox)
                                          Ui::widget(dialog)->close();
                                      else
                                          Ui::key(dialog, Qt::Key_Escape);
                                  });
    std::vector<std::string> texts;
    for (const Box& box : outcome.boxes)
        texts.push_back(box.text);
    std::vector<std::string> expected = row.boxes;
    if (const auto at = expected.back().find("%1"); at != std::string::npos)
        expected.back().replace(at, 2, source);
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(outcome.open);
    const bool stopped = row.answer == Answer::ok;
    std::vector<std::string> files = row.operation == join
                                         ? std::vector<std::string>{"a1", "a2", "a3", "original"}
                                         : std::vector<std::string>{"a"};
    if (!stopped || row.older || row.throughALink)
        files.insert(files.begin(), row.operation == join ? "a" : "a1");
    if (row.throughALink) // the link stays, and what it leads to is gone
        files.push_back("out");
    if (row.listed)
        files.push_back("a.sundrel.sha256sums");
    if (!stopped && row.operation != join)
        files.insert(files.end(), {"a2", "a3", "a.sundrel.sha256sums"});
    std::sort(files.begin(), files.end());
    EXPECT_EQ(Files::listing(dir.path()), files);
    // What is left whole is the source cut in three, or rebuilt from three, or what stood there.
    if (row.older && stopped) {
        EXPECT_EQ(Files::read(source), "old");
    }
    if (row.throughALink) {
        EXPECT_TRUE(std::filesystem::is_symlink(source));
        EXPECT_FALSE(Files::exists(linkedTo));
    }
    if (!stopped) {
        const std::string cat = "cat " + source + "1 " + source + "2 " + source + "3";
        EXPECT_EQ(std::system((cat + " | cmp - " + source).c_str()), 0);
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, StopWhileWorking, testing::ValuesIn(stops), rowName);

} // namespace
