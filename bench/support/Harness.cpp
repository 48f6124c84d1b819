#include "support/Harness.h"

#include "platform/gui/Application.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>

namespace bench {

int Harness::main(int argc, char** argv, const char* program, const std::string& scratchStem,
                  const std::function<void(const Arguments&)>& run) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string parent = argc > 1 ? argv[1] : "/tmp";
    const std::uint64_t length = (argc > 2 ? std::stoull(argv[2]) : 1024) * MiB;
    const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::string command = argv[0];
    for (int k = 1; k < argc; ++k)
        command.append(" ").append(argv[k]);
    int noArguments = 0;
    platform::Application desktop(noArguments, argv);
    try {
        const Arguments arguments{makeScratch(parent, scratchStem), length, repeats, command};
        run(arguments);
        std::filesystem::remove_all(arguments.scratch);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", program, error.what());
        return 1;
    }
}

std::string Harness::makeScratch(const std::string& parent, const std::string& stem) {
    std::string scratch = parent + "/" + stem + "XXXXXX";
    if (mkdtemp(scratch.data()) == nullptr)
        throw std::runtime_error("cannot make a directory below " + parent);
    return scratch;
}

long Harness::peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace bench
