#pragma once

#include "support/ForkedChild.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

namespace test {

// Runs a piece of a test in a child process with strace attached to it, failing the system
// calls that `injections` name (strace's "inject=" specs, such as "flock:error=EBADF:when=1"),
// and brings back the text that the piece returns. Counting starts when the piece starts.
class InjectedFaults final {
  public:
    static std::string run(const std::vector<std::string>& injections,
                           const std::function<std::string()>& body) {
        return ForkedChild::run([&] {
                   const std::string traced = std::to_string(getpid());
                   const pid_t tracer = fork();
                   if (tracer == 0) {
                       std::vector<std::string> words{"strace", "-f",        "-qq",
                                                      "-o",     "/dev/null", "-p",
                                                      traced,   "-e",        "inject=" + probe};
                       for (const std::string& injection : injections)
                           words.insert(words.end(), {"-e", "inject=" + injection});
                       std::vector<char*> argv;
                       for (std::string& word : words)
                           argv.push_back(word.data());
                       argv.push_back(nullptr);
                       execvp("strace", argv.data());
                       _exit(127);
                   }
                   // The probe fails once strace has attached and injects.
                   bool injecting = false;
                   for (int waited = 0; tracer > 0 && !injecting && waited < 2000; ++waited) {
                       injecting = getpgid(0) == -1;
                       if (!injecting)
                           usleep(10000);
                   }
                   std::string text = injecting ? body() : "strace did not attach";
                   if (tracer > 0) {
                       kill(tracer, SIGTERM); // detaches from this process
                       waitpid(tracer, nullptr, 0);
                   }
                   return text;
               })
            .value_or("the child did not report back");
    }

  private:
    static inline const std::string probe = "getpgid:error=ESRCH";
};

} // namespace test
