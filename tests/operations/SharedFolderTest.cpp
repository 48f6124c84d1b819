// In a sticky folder that others may write to, another user plants a link or a file under a name
// a split or a join is about to use. The kernel's own protections are left as this machine has
// them: the program must keep the victim's bytes whatever they are set to.

#include "operations/SplitJoinDriver.h"
#include "support/Files.h"
#include "support/RowName.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace {

using namespace test;

enum Kind { link, file };
enum Owner { stranger, theUser, theFolderOwner };
struct Planted {
    const char* name;
    Operation operation;
    mode_t folder;
    const char* under; // the name planted in the folder; a link leads to own/victim
    Kind kind;
    Owner owner;
    const char* report; // nullptr: the operation works as it does anywhere
};

const Box cannotCreate{"Error opening target for writing ! ", app, BoxType::ok, untouched};
// clang-format off
const Planted rows[] = {
    {"ByNumber_AStrangersLinkAsSegment2", byNumber, 01777, "report.bin2", link, stranger, "report.bin2"},
    {"ByNumber_AStrangersFileAsSegment2", byNumber, 01777, "report.bin2", file, stranger, "report.bin2"},
    {"ByNumber_AStrangersFileInAGroupsStickyFolder", byNumber, 01770, "report.bin2", file, stranger, "report.bin2"},
    {"ByNumber_TheUsersOwnLinkFollowed", byNumber, 01777, "report.bin2", link, theUser, nullptr},
    {"ByNumber_TheFolderOwnersLinkFollowed", byNumber, 01777, "report.bin2", link, theFolderOwner, nullptr},
    {"ByNumber_TheUsersOwnFileReplaced", byNumber, 01777, "report.bin2", file, theUser, nullptr},
    {"ByNumber_AStrangersLinkWithoutTheStickyBitFollowed", byNumber, 0777, "report.bin2", link, stranger, nullptr},
    {"Join_AStrangersLinkAsTheTarget", join, 01777, "report.bin", link, stranger, ""},
    {"Join_AStrangersFileAsTheTarget", join, 01777, "report.bin", file, stranger, ""},
    {"Join_AStrangersLinkAsSegment3", join, 01777, "report.bin3", link, stranger, "report.bin3"},
    {"Join_TheUsersOwnLinkAsSegment3Followed", join, 01777, "report.bin3", link, theUser, nullptr},
};
// clang-format on

const std::string strangersBytes = "the stranger's own", victimsBytes = Files::pattern(700, 9);

// As root: the folder, owned by root and writable by the user's group, and what is planted in it.
void plant(const Planted& row, const std::string& folder, uid_t user) {
    const uid_t owners[] = {Unprivileged::stranger(), user, 0};
    const uid_t owner = owners[row.owner];
    const std::string name = folder + "/" + row.under;
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(chown(folder.c_str(), 0, Unprivileged::user()), 0);
    ASSERT_EQ(chmod(folder.c_str(), row.folder), 0);
    if (row.kind == link) {
        ASSERT_EQ(symlink("own/victim", name.c_str()), 0);
        ASSERT_EQ(lchown(name.c_str(), owner, owner), 0);
    } else {
        Files::write(name, strangersBytes);
        ASSERT_EQ(chown(name.c_str(), owner, owner) | chmod(name.c_str(), 0666), 0);
    }
}

// As whichever user runs it: the victim, the source or the segments, the operation and what it
// left. A split by 3 of 3000 bytes, or a join of two segments of 1000.
void act(const Planted& row, const std::string& folder) {
    ASSERT_EQ(mkdir((folder + "/own").c_str(), 0755), 0);
    const std::string victim = folder + "/own/victim", base = folder + "/report.bin";
    const std::string planted = folder + "/" + row.under, bytes = Files::pattern(3000);
    Files::write(victim, victimsBytes);
    if (row.operation == join) {
        for (int k = 1; k <= 2; ++k)
            Files::write(base + std::to_string(k), bytes.substr((k - 1) * 1000, 1000));
    } else {
        Files::write(base, bytes);
    }
    const Outcome outcome = drive(row.operation, row.operation == join ? base + "1" : base, "3");
    const bool refused = row.report != nullptr;
    // A join counts what the planted segment 3 leads to in the bytes it will move.
    const bool third = std::string(row.under) == "report.bin3";
    const std::uint64_t total = row.operation != join ? 3000 : third ? 2700 : 2000;
    const Box report =
        !refused ? success(row.operation, filled(total))
        : *row.report == '\0'
            ? cannotCreate
            : Box{"Access to " + folder + "/" + row.report + " was denied.", app, BoxType::iconStop,
                  // a split refuses before it readies the bar
                  row.operation == join ? bytesMoved(total, 2000) : untouched};
    EXPECT_EQ(outcome.boxes, std::vector<Box>{report});
    // What stands under the planted name, or where it leads, when the operation is done.
    const std::string written = row.operation == byNumber                ? bytes.substr(1000, 1000)
                                : std::string(row.under) == "report.bin" ? bytes.substr(0, 2000)
                                                                         : victimsBytes;
    const std::string under = row.kind == link ? victim : planted;
    const std::string kept = row.kind == link ? victimsBytes : strangersBytes;
    EXPECT_TRUE(Files::read(under) == (refused ? kept : written)) << under;
    if (row.operation == byNumber) {
        // Every name is checked before the first segment is written.
        EXPECT_EQ(Files::exists(base + "1"), !refused);
    } else if (row.under == std::string("report.bin3")) {
        // A join that fails leaves nothing under the target's name.
        const std::string joined = Files::exists(base) ? Files::read(base) : "";
        EXPECT_TRUE(joined == (refused ? "" : bytes.substr(0, 2000) + victimsBytes));
    }
}

class SharedFolder : public testing::TestWithParam<Planted> {};

TEST_P(SharedFolder, NoStrangersLinkFollowedNorStrangersFileWritten) {
    const Planted& row = GetParam();
    if (Unprivileged::isRerun())
        return act(row, Unprivileged::scene());
    if (geteuid() != 0)
        GTEST_SKIP() << "planting another user's link needs root";
    for (const uid_t user : {uid_t(0), Unprivileged::user()}) {
        TempDir dir;
        ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
        const std::string folder = dir.file("shared");
        plant(row, folder, user);
        if (user == 0) {
            act(row, folder);
        } else {
            EXPECT_EQ(Unprivileged::rerun(folder), "");
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, SharedFolder, testing::ValuesIn(rows), rowName);

} // namespace
