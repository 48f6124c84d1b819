#pragma once

#include "support/ForkedChild.h"
#include "support/Strace.h"

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
                   std::vector<std::string> options;
                   for (const std::string& injection : injections)
                       options.insert(options.end(), {"-e", "inject=" + injection});
                   const Strace strace(options);
                   return strace.attached() ? body() : std::string("strace did not attach");
               })
            .value_or("the child did not report back");
    }
};

} // namespace test
