#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace test {

// Our users are not root. A test that runs as root runs its rows again in a fresh copy of the
// test program started by setpriv as a user no account on this machine has: a fresh process, so
// nothing is forked once Qt's threads are running. What the root run prepared (mounts, files
// owned by others) reaches the re-run by the one variable scene().
class Unprivileged final {
  public:
    // Two user ids that no account has: the user the rows re-run as, and a stranger.
    static uid_t user() { return unused(0); }
    static uid_t stranger() { return unused(1); }

    // Whether this process is such a re-run.
    static bool isRerun() { return std::getenv(variable) != nullptr; }
    // What the root run handed down.
    static std::string scene() { return isRerun() ? std::getenv(variable) : ""; }

    // Runs the current test again as user(), handing scene down; answers its output unless it
    // ran and passed. Bounded: a re-run that hangs is killed and fails.
    static std::string rerun(const std::string& scene) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // The program and the leak check's suppressions may lie where only root can reach (a
        // clone in /root): the user runs copies, from a folder of the copies' own.
        TempDir copies;
        const std::string program = copies.file("test"), suppressions = copies.file("lsan.supp");
        std::error_code failed;
        std::filesystem::copy_file("/proc/self/exe", program, failed);
        if (failed || chmod(copies.path().c_str(), 0755) != 0)
            return "cannot copy the test program for another user";
        std::string leakOptions = std::getenv("LSAN_OPTIONS") ? std::getenv("LSAN_OPTIONS") : "";
        if (const auto at = leakOptions.find("suppressions="); at != std::string::npos) {
            const auto end = leakOptions.find(':', at);
            const auto from = at + std::strlen("suppressions=");
            std::filesystem::copy_file(leakOptions.substr(from, end - from), suppressions, failed);
            leakOptions.replace(from, end - from, suppressions);
        }
        const std::string id = std::to_string(user());
        const std::string command = "cd " + copies.path() + " && " + variable + "='" + scene +
                                    "' LSAN_OPTIONS='" + leakOptions + "' timeout 240 setpriv" +
                                    " --reuid=" + id + " --regid=" + id + " --clear-groups " +
                                    program + " --gtest_filter='" + test->test_suite_name() + "." +
                                    test->name() + "' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr)
            return "cannot start setpriv";
        std::string output;
        char buffer[4096];
        for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        const bool passed =
            pclose(pipe) == 0 && output.find("[  PASSED  ] 1 test.") != std::string::npos;
        return passed ? "" : "as user " + id + ":\n" + output;
    }

  private:
    static constexpr const char* variable = "SUNDREL_TEST_SCENE";
    static uid_t unused(int which) {
        uid_t uid = 61000;
        for (int found = -1; found < which; ++uid)
            found += getpwuid(uid) == nullptr ? 1 : 0;
        return uid - 1;
    }
};

} // namespace test
