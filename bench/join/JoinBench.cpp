// Times the join through the real dialog code (offscreen, message boxes answered by a script)
// against cat on the same segments in the same run, and reports peak memory. A last case joins
// 1,024 reflinked segments of 1 MiB on a loop-mounted XFS image, where the bytes cost almost
// nothing and what is left is the work done per segment.
//
// usage: bench_join [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)

#include "ReflinkVolume.h"

#include "support/Contest.h"
#include "support/DialogPress.h"
#include "support/Harness.h"
#include "support/RandomBytes.h"
#include "support/RivalTool.h"

#include "common/CSegmentName.h"
#include "operations/CJoinDlg.h"
#include "resources/ControlIds.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Harness;

// base1 .. baseN of random bytes, cut as a split by number cuts: N - 1 equal quotients, the
// rest in the last.
std::vector<std::string> writeSet(const std::string& base, std::uint64_t length, int count) {
    bench::RandomBytes random;
    std::vector<std::string> names;
    const std::uint64_t quotient = length / static_cast<std::uint64_t>(count);
    for (int k = 1; k <= count; ++k) {
        const std::uint64_t size =
            k < count ? quotient : length - static_cast<std::uint64_t>(count - 1) * quotient;
        names.push_back(CSegmentName::Make(base, k));
        random.write(names.back(), size);
    }
    return names;
}

double joinWithSundrel(const std::string& firstSegment) {
    CJoinDlg dialog;
    dialog.m_strFirstSegment = firstSegment;
    return bench::DialogPress::timed(dialog, resources::ControlIds::Join::join, "File Joined ",
                                     "the join");
}

// cat segment1 ... segmentN > target.
double joinWithCat(const std::vector<std::string>& segments, const std::string& target) {
    std::vector<std::string> arguments{"cat"};
    arguments.insert(arguments.end(), segments.begin(), segments.end());
    return bench::RivalTool("cat", arguments).writingTo(target).timed();
}

// Both results must hold the same bytes: read side by side, then removed.
void checkSameAndRemove(const std::string& ours, const std::string& theirs, std::uint64_t length) {
    std::ifstream a(ours, std::ios::binary);
    std::ifstream b(theirs, std::ios::binary);
    std::vector<char> left(4 * Harness::MiB);
    std::vector<char> right(4 * Harness::MiB);
    std::uint64_t total = 0;
    while (a && b) {
        a.read(left.data(), static_cast<std::streamsize>(left.size()));
        b.read(right.data(), static_cast<std::streamsize>(right.size()));
        if (a.gcount() != b.gcount() ||
            std::memcmp(left.data(), right.data(), static_cast<std::size_t>(a.gcount())) != 0)
            throw std::runtime_error("the join and cat made different files");
        total += static_cast<std::uint64_t>(a.gcount());
    }
    if (total != length)
        throw std::runtime_error("the joined file has " + std::to_string(total) + " bytes");
    fs::remove(ours);
    fs::remove(theirs);
}

// base1 .. baseN, each a reflinked copy of one MiB of random bytes.
std::vector<std::string> reflinkSet(const std::string& base, int count) {
    std::vector<std::string> names{CSegmentName::Make(base, 1)};
    bench::RandomBytes().write(names.front(), Harness::MiB);
    for (int k = 2; k <= count; ++k) {
        names.push_back(CSegmentName::Make(base, k));
        bench::RivalTool("cp", {"cp", "--reflink=always", names.front(), names.back()}).timed();
    }
    return names;
}

void runPerSegment(const Harness::Arguments& arguments) {
    constexpr int count = 1024;
    std::string why;
    const auto volume = bench::ReflinkVolume::make(arguments.scratch, why);
    if (!volume) {
        std::printf("%d reflinked segments of 1 MiB on XFS: skipped, %s\n", count, why.c_str());
        return;
    }
    const std::string base = volume->root() + "/set.bin";
    const std::vector<std::string> segments = reflinkSet(base, count);
    bench::Contest contest;
    contest.run(
        arguments.repeats, [&] { return joinWithSundrel(segments.front()); },
        [&] { return joinWithCat(segments, base + ".cat"); },
        [&] { checkSameAndRemove(base, base + ".cat", count * Harness::MiB); });
    const auto perSegment = [&](double seconds) { return seconds * 1e6 / count; };
    std::printf("%d reflinked segments of 1 MiB on XFS: Sundrel %.3f s (%.0f us a segment), "
                "cat %.3f s (%.0f us a segment), ratio %.2f\n",
                count, contest.ours(), perSegment(contest.ours()), contest.rival(),
                perSegment(contest.rival()), contest.ratio());
    for (const std::string& segment : segments)
        fs::remove(segment);
}

void run(const Harness::Arguments& arguments) {
    const std::uint64_t length = arguments.length;
    const std::string& scratch = arguments.scratch;
    std::printf("file: %llu bytes in %s, median of %d runs each\n",
                static_cast<unsigned long long>(length), scratch.c_str(), arguments.repeats);
    std::printf("%9s %12s %9s %8s\n", "segments", "Sundrel (s)", "cat (s)", "ratio");
    long before = 0;
    for (int count : {3, 100}) {
        const std::string base = scratch + "/set" + std::to_string(count) + ".bin";
        const std::vector<std::string> segments = writeSet(base, length, count);
        if (before == 0)
            before = Harness::peakKiB();
        // Both outputs of a round are compared and removed before the next round starts.
        bench::Contest contest;
        contest.run(
            arguments.repeats, [&] { return joinWithSundrel(segments.front()); },
            [&] { return joinWithCat(segments, base + ".cat"); },
            [&] { checkSameAndRemove(base, base + ".cat", length); });
        std::printf("%9d %12.3f %9.3f %8.2f\n", count, contest.ours(), contest.rival(),
                    contest.ratio());
        for (const std::string& segment : segments)
            fs::remove(segment);
    }
    std::printf("peak memory: Sundrel %ld KiB (%ld KiB before the first join)\n",
                Harness::peakKiB(), before);
    runPerSegment(arguments);
}

} // namespace

int main(int argc, char** argv) {
    return Harness::main(argc, argv, "bench_join", "sundrel-bench-join-", run);
}
