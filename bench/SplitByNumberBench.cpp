// Times split by number through the real dialog code (offscreen, message boxes answered by a
// script) against GNU split -n on the same file in the same run, and reports peak memory.
//
// usage: bench_split_by_number [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)

#include "support/Contest.h"
#include "support/DialogPress.h"
#include "support/Harness.h"
#include "support/RandomBytes.h"
#include "support/RivalTool.h"

#include "operations/CSplitByNumberDlg.h"
#include "resources/ControlIds.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

namespace fs = std::filesystem;
using bench::Harness;

// Every file whose name starts with prefix, removed; answers their count and total length.
std::pair<int, std::uint64_t> removeAll(const std::string& directory, const std::string& prefix) {
    int count = 0;
    std::uint64_t total = 0;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0 || name == prefix)
            continue;
        if (name.ends_with(".sundrel.sha256sums")) { // the set's checksum file is no segment
            fs::remove(entry.path());
            continue;
        }
        ++count;
        total += entry.file_size();
        fs::remove(entry.path());
    }
    return {count, total};
}

void checkSegments(const std::string& directory, const std::string& prefix, int count,
                   std::uint64_t length) {
    const auto [found, total] = removeAll(directory, prefix);
    if (found != count || total != length)
        throw std::runtime_error(prefix + ": " + std::to_string(found) + " files holding " +
                                 std::to_string(total) + " bytes");
}

double splitWithSundrel(const std::string& source, int count) {
    CSplitByNumberDlg dialog;
    dialog.m_strPath = source;
    dialog.m_nSegments = count;
    return bench::DialogPress::timed(dialog, resources::ControlIds::Split::split,
                                     " The file has been split ! ", "the split");
}

double splitWithGnu(const std::string& source, int count, const std::string& prefix) {
    return bench::RivalTool("GNU split", {"split", "-n", std::to_string(count), source, prefix})
        .timed();
}

void run(const Harness::Arguments& arguments) {
    const std::uint64_t length = arguments.length;
    const std::string& scratch = arguments.scratch;
    const std::string source = scratch + "/source.bin";
    bench::RandomBytes().write(source, length);
    std::printf("source: %llu bytes in %s, median of %d runs of each tool\n",
                static_cast<unsigned long long>(length), scratch.c_str(), arguments.repeats);
    const long before = Harness::peakKiB();
    std::printf("%9s %12s %18s %8s\n", "segments", "Sundrel (s)", "GNU split -n (s)", "ratio");
    for (int count : {3, 100}) {
        // Each run's segments are checked and removed before the next run starts.
        bench::Contest contest;
        contest.run(
            arguments.repeats,
            [&] {
                const double elapsed = splitWithSundrel(source, count);
                checkSegments(scratch, "source.bin", count, length);
                return elapsed;
            },
            [&] {
                const double elapsed = splitWithGnu(source, count, scratch + "/gnu.");
                checkSegments(scratch, "gnu.", count, length);
                return elapsed;
            });
        std::printf("%9d %12.3f %18.3f %8.2f\n", count, contest.ours(), contest.rival(),
                    contest.ratio());
    }
    std::printf("peak memory of Sundrel: %ld KiB (%ld KiB before the first split)\n",
                Harness::peakKiB(), before);
}

} // namespace

int main(int argc, char** argv) {
    return Harness::main(argc, argv, "bench_split_by_number", "sundrel-bench-", run);
}
