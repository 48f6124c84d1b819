// A split or join that SIGTERM, SIGHUP or SIGINT stops in a real process: what the run wrote is
// removed, the source and the segments stay, and the process ends by the signal (128 + its
// number to a shell). One that SIGKILL ends leaves nothing a join takes for whole.

#include "operations/SplitJoinDriver.h"
#include "platform/gui/TerminationSignals.h"
#include "support/Files.h"
#include "support/RowName.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace test;

constexpr const char* childJob = "SUNDREL_SIGNAL_CHILD";

struct Signalled {
    const char* name;
    Operation operation;
    int signal;
    bool listed = false; // the set has a checksum file
    bool older = false;  // a file stands under the join's target
};

// A join writes a work file beside the target.
bool joinBegun(const std::string& folder) {
    const std::string written = Files::workFile(folder);
    std::error_code gone;
    return !written.empty() && std::filesystem::file_size(written, gone) > 0;
}

class SignalWhileWorking : public testing::TestWithParam<Signalled> {};

// A killed run removes nothing: its work file stays, but no name a join trusts holds a part. The
// next run in the folder removes that work file.
void checkWhatAKillLeft(Operation operation, const std::string& source, const std::string& bytes) {
    const std::string folder = std::filesystem::path(source).parent_path();
    EXPECT_FALSE(Files::workFile(folder).empty());
    if (operation == join) {
        EXPECT_EQ(Files::read(source), "old");
        EXPECT_EQ(drive(join, source + "1").boxes,
                  std::vector<Box>{success(join, filled(bytes.size()))});
        EXPECT_EQ(Files::read(source), bytes);
    } else {
        const Box noSet{"Segment File Missing !", app, BoxType::ok, bytesMoved(0, 0)};
        EXPECT_EQ(drive(join, source + "1").boxes, std::vector<Box>{noSet});
        EXPECT_EQ(drive(operation, source, "3").boxes,
                  std::vector<Box>{success(operation, filled(bytes.size()))});
        EXPECT_EQ(Files::segmentLengths(source), std::vector<std::uint64_t>(3, 3 << 20));
    }
    EXPECT_EQ(Files::workFile(folder), "");
}

// Runs this test program again for the child's half, with the job in its environment.
pid_t spawnChild(const std::string& job) {
    std::vector<std::string> words{"/proc/self/exe",
                                   "--gtest_filter=SignalChild.WorksUntilSignalled"};
    std::vector<std::string> variables{std::string(childJob) + "=" + job};
    for (char** variable = environ; *variable != nullptr; ++variable)
        variables.emplace_back(*variable);
    std::vector<char*> argv, envp;
    for (std::string& word : words)
        argv.push_back(word.data());
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t child = -1;
    return posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 ? child
                                                                                         : -1;
}

// Waits up to the bound for the child to end; its status, or -1 when it had to be killed.
int statusWithin(pid_t child, std::chrono::seconds bound) {
    const auto until = std::chrono::steady_clock::now() + bound;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}

TEST_P(SignalWhileWorking, RemovesWhatTheRunWroteAndEndsByTheSignal) {
    if (std::getenv(childJob) != nullptr)
        GTEST_SKIP() << "the child runs SignalChild only";
    const Signalled& row = GetParam();
    TempDir dir;
    const std::string source = dir.file("a"), bytes = Files::pattern(9 << 20);
    Files::write(source, bytes);
    if (row.operation == join) {
        for (int k = 1; k <= 3; ++k)
            Files::write(source + std::to_string(k), bytes.substr((k - 1) * (3 << 20), 3 << 20));
        std::filesystem::rename(source, dir.file("original"));
    }
    const std::string checksums = "a.sundrel.sha256sums";
    if (row.listed) {
        ASSERT_EQ(std::system(("cd " + dir.path() + " && sha256sum a1 a2 a3 original | sed " +
                               "'s/original$/a/' > " + checksums)
                                  .c_str()),
                  0);
    }
    if (row.older)
        Files::write(source, "old");
    const pid_t child = spawnChild(std::to_string(row.operation) + dir.path());
    ASSERT_GT(child, 0) << "cannot start the child";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!Files::exists(dir.file("midway")) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(child, row.signal);
    const int status = statusWithin(child, std::chrono::seconds(60));
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), row.signal);
    std::filesystem::remove(dir.file("midway"));
    if (row.signal == SIGKILL)
        return checkWhatAKillLeft(row.operation, source, bytes);
    std::vector<std::string> left = row.operation == join
                                        ? std::vector<std::string>{"a1", "a2", "a3", "original"}
                                        : std::vector<std::string>{"a"};
    if (row.listed)
        left.insert(left.begin(), checksums);
    if (row.older) // an older file under the target's name stays as it was
        left.insert(left.begin(), "a");
    EXPECT_EQ(Files::listing(dir.path()), left);
    EXPECT_TRUE(!row.older || Files::read(source) == "old");
    EXPECT_EQ(Files::read(row.operation == join ? dir.file("original") : source), bytes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, SignalWhileWorking, testing::Values(
    Signalled{"ByNumber_Sigterm", byNumber, SIGTERM},
    Signalled{"ByNumber_Sighup", byNumber, SIGHUP},
    Signalled{"Join_Sigint", join, SIGINT},
    Signalled{"Join_Sigterm", join, SIGTERM},
    Signalled{"Join_OverAnOlderFile_Sighup", join, SIGHUP, false, true},
    Signalled{"JoinWithAChecksumFile_Sigterm", join, SIGTERM, true},
    Signalled{"ByNumber_Sigkill", byNumber, SIGKILL},
    Signalled{"Join_OverAnOlderFile_Sigkill", join, SIGKILL, false, true}), rowName);
// clang-format on

// The child's half: a split or join into three of the folder's "a", that says when it is midway
// and then works on while no signal has come (up to ten seconds). Its end is the parent's to see.
TEST(SignalChild, WorksUntilSignalled) {
    const char* job = std::getenv(childJob);
    if (job == nullptr)
        GTEST_SKIP() << "run by SignalWhileWorking";
    platform::TerminationSignals::install();
    const auto operation = static_cast<Operation>(job[0] - '0');
    const std::string folder = job + 1, source = folder + "/a";
    bool said = false;
    drive(operation, operation == join ? source + "1" : source, "3", {}, [&](platform::Window) {
        const bool midway = operation == join ? joinBegun(folder) : Files::exists(source + "2");
        if (!midway || std::exchange(said, true))
            return;
        Files::write(folder + "/midway", "");
        for (int waited = 0; waited < 1000 && !platform::TerminationSignals::stopForced(); ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    ADD_FAILURE() << "the work ended without a signal";
}

} // namespace
