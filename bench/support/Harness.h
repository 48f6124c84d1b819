#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace bench {

// What every benchmark program shares: its command line, the offscreen desktop the dialogs run
// on, a scratch folder and the memory it used.
//
// usage: <program> [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)
class Harness final {
  public:
    static constexpr std::uint64_t MiB = 1024 * 1024;

    struct Arguments {
        std::string scratch;  // a new folder below the directory, for the run alone
        std::uint64_t length; // bytes of the file to work on
        int repeats;
        std::string command; // the command line that started the run, to print beside the figures
    };

    // Makes the scratch folder (named scratchStem and six random characters), runs `run` on an
    // offscreen desktop, removes the folder and answers 0. An exception is reported on stderr,
    // after the program's name, and answers 1; the folder is then left for a look.
    static int main(int argc, char** argv, const char* program, const std::string& scratchStem,
                    const std::function<void(const Arguments&)>& run);
    // The most memory this process has held so far. A child's own peak cannot be told apart:
    // a spawned child is charged the parent's pages until it execs.
    static long peakKiB();

  private:
    static std::string makeScratch(const std::string& parent, const std::string& stem);
};

} // namespace bench
