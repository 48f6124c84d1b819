// Times what the checksum file costs: a split by size that writes one, and a join that checks a
// set against one, through the real dialog code (offscreen, message boxes answered by a script),
// against the tools a user would otherwise run on the same bytes in the same run. The join's rival
// is the slower of cat and one openssl dgst -sha256 pass; the split hashes every byte twice (its
// segment's line and the whole file's), so its rival is the slower of GNU split and two openssl
// passes side by side. The same again for 1,024 segments of 1 MiB on a loop-mounted XFS image,
// where the split's own copy is a reflink and the bytes are only read for the digests.
//
// usage: bench_checksum [directory [MiB [repeats]]]   (defaults: /tmp 1024 3; use a tmpfs such as
// /dev/shm for the first part)

#include "join/ReflinkVolume.h"

#include "support/Contest.h"
#include "support/DialogPress.h"
#include "support/Harness.h"
#include "support/RandomBytes.h"
#include "support/RivalTool.h"

#include "common/CSegmentName.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "resources/ControlIds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Harness;

double splitWithSundrel(const std::string& source, std::uint64_t size) {
    CSplitBySizeDlg dialog;
    dialog.m_strPath = source;
    dialog.m_nSize = static_cast<unsigned>(size);
    return bench::DialogPress::timed(dialog, resources::ControlIds::Split::split,
                                     " The file has been split ! ", "the split");
}

double joinWithSundrel(const std::string& firstSegment) {
    CJoinDlg dialog;
    dialog.m_strFirstSegment = firstSegment;
    return bench::DialogPress::timed(dialog, resources::ControlIds::Join::join, "File Joined ",
                                     "the join");
}

bench::RivalTool openssl(const std::string& file, const std::string& digest) {
    return std::move(
        bench::RivalTool("openssl", {"openssl", "dgst", "-sha256", file}).writingTo(digest));
}

// Two runs of openssl on the file at once, timed until both have ended.
double twoOpensslSideBySide(const std::string& file, const std::string& scratch) {
    const auto start = std::chrono::steady_clock::now();
    auto first =
        std::async(std::launch::async, [&] { return openssl(file, scratch + "/digest1").timed(); });
    auto second =
        std::async(std::launch::async, [&] { return openssl(file, scratch + "/digest2").timed(); });
    first.get();
    second.get();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> segmentNames(const std::string& base, int count) {
    std::vector<std::string> names;
    for (int k = 1; k <= count; ++k)
        names.push_back(CSegmentName::Make(base, k));
    return names;
}

void removeSet(const std::string& base, int count) {
    for (const std::string& name : segmentNames(base, count))
        fs::remove(name);
    fs::remove(base + ".sundrel.sha256sums");
}

struct Times {
    double ours, copy, hashing;
};

void report(const char* what, const bench::Contest& contest, const Times& rivals, const char* copy,
            const char* hashing) {
    std::printf("%s: Sundrel %.3f s; %s %.3f s, %s %.3f s; ratio to the slower %.2f\n", what,
                contest.ours(), copy, rivals.copy, hashing, rivals.hashing, contest.ratio());
}

// A split by size into segments of `size`, with its checksum file, against GNU split -b and two
// openssl passes side by side.
void raceSplit(const char* what, const std::string& source, std::uint64_t length,
               std::uint64_t size, const std::string& scratch, int repeats) {
    const int count = static_cast<int>((length + size - 1) / size);
    Times rivals{};
    bench::Contest contest;
    contest.run(
        repeats,
        [&] {
            const double seconds = splitWithSundrel(source, size);
            if (!fs::exists(source + ".sundrel.sha256sums"))
                throw std::runtime_error("the split wrote no checksum file");
            removeSet(source, count);
            return seconds;
        },
        [&] {
            rivals.copy = bench::RivalTool("GNU split", {"split", "-b", std::to_string(size),
                                                         source, scratch + "/gnu."})
                              .timed();
            rivals.hashing = twoOpensslSideBySide(source, scratch);
            for (const auto& entry : fs::directory_iterator(scratch))
                if (entry.path().filename().string().rfind("gnu.", 0) == 0)
                    fs::remove(entry.path());
            return std::max(rivals.copy, rivals.hashing);
        });
    report(what, contest, rivals, "GNU split", "two openssl side by side");
}

// A join of the set that the split left with its checksum file, against cat and one openssl
// pass over the joined bytes.
void raceJoin(const char* what, const std::string& base, int count, const std::string& original,
              const std::string& scratch, int repeats) {
    const std::vector<std::string> segments = segmentNames(base, count);
    Times rivals{};
    bench::Contest contest;
    contest.run(
        repeats, [&] { return joinWithSundrel(segments.front()); },
        [&] {
            std::vector<std::string> arguments{"cat"};
            arguments.insert(arguments.end(), segments.begin(), segments.end());
            rivals.copy = bench::RivalTool("cat", arguments).writingTo(base + ".cat").timed();
            rivals.hashing = openssl(original, scratch + "/digest1").timed();
            return std::max(rivals.copy, rivals.hashing);
        },
        [&] {
            bench::RivalTool("cmp", {"cmp", "-s", base, base + ".cat"}).timed(); // same bytes
            fs::remove(base);
            fs::remove(base + ".cat");
        });
    report(what, contest, rivals, "cat", "openssl");
}

void runOnXfs(const Harness::Arguments& arguments) {
    constexpr int count = 1024;
    std::string why;
    const auto volume = bench::ReflinkVolume::make(arguments.scratch, why);
    if (!volume) {
        std::printf("%d segments of 1 MiB on XFS: skipped, %s\n", count, why.c_str());
        return;
    }
    const std::string source = volume->root() + "/set.bin", original = source + ".original";
    bench::RandomBytes().write(source, count * Harness::MiB);
    bench::RivalTool("cp", {"cp", "--reflink=always", source, original}).timed();
    raceSplit("split by size into 1,024 on XFS", source, count * Harness::MiB, Harness::MiB,
              volume->root(), arguments.repeats);
    splitWithSundrel(source, Harness::MiB);
    fs::remove(source);
    raceJoin("join of 1,024 on XFS", source, count, original, volume->root(), arguments.repeats);
    removeSet(source, count);
}

void run(const Harness::Arguments& arguments) {
    const std::uint64_t length = arguments.length;
    const std::string& scratch = arguments.scratch;
    std::printf("file: %llu bytes in %s, median of %d runs each\n",
                static_cast<unsigned long long>(length), scratch.c_str(), arguments.repeats);
    // Hashing overlaps the copy on a core of its own: on a busy machine the ratios grow.
    std::ifstream load("/proc/loadavg");
    std::string average;
    load >> average;
    std::printf("load average at the start: %s on %u cores\n", average.c_str(),
                std::thread::hardware_concurrency());
    const std::string source = scratch + "/set.bin", original = scratch + "/original.bin";
    bench::RandomBytes().write(source, length);
    const std::uint64_t size = (length + 3) / 4;
    raceSplit("split by size into 4", source, length, size, scratch, arguments.repeats);
    splitWithSundrel(source, size);
    fs::rename(source, original);
    raceJoin("join of 4", source, 4, original, scratch, arguments.repeats);
    removeSet(source, 4);
    fs::remove(original);
    runOnXfs(arguments);
}

} // namespace

int main(int argc, char** argv) {
    return Harness::main(argc, argv, "bench_checksum", "sundrel-bench-checksum-", run);
}
