#pragma once

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
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
        char self[PATH_MAX] = {};
        if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
            return "cannot find the test program";
        const std::string id = std::to_string(user());
        const std::string command = std::string(variable) + "='" + scene + "' timeout 240 " +
                                    "setpriv --reuid=" + id + " --regid=" + id +
                                    " --clear-groups " + self + " --gtest_filter='" +
                                    test->test_suite_name() + "." + test->name() + "' 2>&1";
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
