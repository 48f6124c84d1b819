// Times what a split and a join cost per segment, through the real dialog code (offscreen,
// message boxes answered by a script), against GNU split and cat on the same files in the same
// run: a split by size 1000 of 100 MiB (104,857 segments) and a split by number into 1,000 of the
// given size, each without and with its checksum file, and the join of its segments.
//
// usage: bench_many_segments [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)

#include "support/Contest.h"
#include "support/DialogPress.h"
#include "support/Harness.h"
#include "support/RandomBytes.h"
#include "support/RivalTool.h"

#include "common/CSegmentName.h"
#include "common/CSetChecksum.h"
#include "operations/CJoinDlg.h"
#include "operations/CSplitByNumberDlg.h"
#include "operations/CSplitBySizeDlg.h"
#include "resources/ControlIds.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Harness;

// One way of cutting the source: how Sundrel is told, and the same cut told to GNU split.
struct Cut {
    const char* title;
    std::uint64_t length;
    bool bySize;
    std::uint64_t amount; // the size or the count
    std::vector<std::string> gnuOptions;
};

double splitWithSundrel(const std::string& source, const Cut& cut) {
    const int button = resources::ControlIds::Split::split;
    const char* success = " The file has been split ! ";
    if (cut.bySize) {
        CSplitBySizeDlg dialog;
        dialog.m_strPath = source;
        dialog.m_nSize = cut.amount;
        return bench::DialogPress::timed(dialog, button, success, "the split");
    }
    CSplitByNumberDlg dialog;
    dialog.m_strPath = source;
    dialog.m_nSegments = static_cast<int>(cut.amount);
    return bench::DialogPress::timed(dialog, button, success, "the split");
}

double joinWithSundrel(const std::string& firstSegment) {
    CJoinDlg dialog;
    dialog.m_strFirstSegment = firstSegment;
    return bench::DialogPress::timed(dialog, resources::ControlIds::Join::join, "File Joined ",
                                     "the join");
}

// The files whose names start with prefix (and are longer; when numbered, followed by digits
// alone), in the order of their names' ends as numbers when numbered, else as text: the order a
// join or cat takes them in.
std::vector<std::string> filesOf(const std::string& directory, const std::string& prefix,
                                 bool numbered) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        const bool digits =
            name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            (digits || !numbered))
            names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return numbered && a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

std::uint64_t removeAll(const std::vector<std::string>& files) {
    std::uint64_t total = 0;
    for (const std::string& file : files) {
        total += fs::file_size(file);
        fs::remove(file);
    }
    return total;
}

// cat of every segment in order, through xargs: a hundred thousand names do not fit one command.
double joinWithCat(const std::vector<std::string>& segments, const std::string& list,
                   const std::string& target) {
    std::ofstream names(list, std::ios::binary | std::ios::trunc);
    for (const std::string& segment : segments)
        names << segment << '\0';
    names.close();
    return bench::RivalTool("cat", {"xargs", "-0", "-a", list, "cat"}).writingTo(target).timed();
}

// cmp fails the run when the two differ.
void expectSame(const std::string& a, const std::string& b) {
    bench::RivalTool("cmp", {"cmp", "-s", a, b}).timed();
}

// Times the split against GNU split, the checksum file first left out and then written, as it
// always is outside this benchmark: the split's own cost and the checksum's apart.
bench::Contest splitContest(const Harness::Arguments& arguments, const Cut& cut,
                            const std::string& source, bool withChecksum) {
    const std::string& scratch = arguments.scratch;
    std::vector<std::string> gnuSplit{"split"};
    gnuSplit.insert(gnuSplit.end(), cut.gnuOptions.begin(), cut.gnuOptions.end());
    gnuSplit.insert(gnuSplit.end(), {source, scratch + "/gnu."});
    CSetChecksum::SetWritten(withChecksum);
    bench::Contest splits;
    splits.run(
        arguments.repeats, [&] { return splitWithSundrel(source, cut); },
        [&] { return bench::RivalTool("GNU split", gnuSplit).timed(); },
        [&] {
            const bool written = fs::remove(CSetChecksum::FileName(source));
            const auto ours = filesOf(scratch, "source.bin", true);
            const auto theirs = filesOf(scratch, "gnu.", false);
            if (removeAll(ours) != cut.length || removeAll(theirs) != cut.length)
                throw std::runtime_error("a split did not cover the source");
            if (written != withChecksum)
                throw std::runtime_error("the split's checksum file was not as asked");
        });
    CSetChecksum::SetWritten(true);
    return splits;
}

void runCut(const Harness::Arguments& arguments, const Cut& cut) {
    const std::string& scratch = arguments.scratch;
    const std::string source = scratch + "/source.bin";
    bench::RandomBytes().write(source, cut.length);
    const bench::Contest plain = splitContest(arguments, cut, source, false);
    const bench::Contest checked = splitContest(arguments, cut, source, true);
    // Without its checksum file the join is the plain one that cat stands for.
    CSetChecksum::SetWritten(false);
    splitWithSundrel(source, cut);
    CSetChecksum::SetWritten(true);
    const auto segments = filesOf(scratch, "source.bin", true);
    fs::rename(source, scratch + "/original.bin");
    bench::Contest joins;
    joins.run(
        arguments.repeats, [&] { return joinWithSundrel(CSegmentName::Make(source, 1)); },
        [&] { return joinWithCat(segments, scratch + "/list", scratch + "/cat.bin"); },
        [&] {
            expectSame(source, scratch + "/original.bin");
            expectSame(scratch + "/cat.bin", scratch + "/original.bin");
            fs::remove(source);
        });
    removeAll(segments);
    fs::remove(scratch + "/original.bin");
    std::printf("%s\n", cut.title);
    std::printf("  split without checksum %8.3f s, GNU split %8.3f s: %5.2f\n", plain.ours(),
                plain.rival(), plain.ratio());
    std::printf(
        "  split with checksum    %8.3f s, GNU split %8.3f s: %5.2f (the checksum: %+.3f s)\n",
        checked.ours(), checked.rival(), checked.ratio(), checked.ours() - plain.ours());
    std::printf("  join                   %8.3f s, cat       %8.3f s: %5.2f\n", joins.ours(),
                joins.rival(), joins.ratio());
}

void run(const Harness::Arguments& arguments) {
    constexpr std::uint64_t bySizeLength = 100 * Harness::MiB;
    std::printf("%s\nin %s, median of %d runs of each tool; ratio = Sundrel / rival\n",
                arguments.command.c_str(), arguments.scratch.c_str(), arguments.repeats);
    runCut(arguments, {"100 MiB by size 1000 (104,857 segments)",
                       bySizeLength,
                       true,
                       1000,
                       {"-b", "1000", "-a", "6"}});
    const std::string title =
        std::to_string(arguments.length / Harness::MiB) + " MiB by number into 1,000";
    runCut(arguments, {title.c_str(), arguments.length, false, 1000, {"-n", "1000", "-a", "4"}});
}

} // namespace

int main(int argc, char** argv) {
    return Harness::main(argc, argv, "bench_many_segments", "sundrel-bench-many-", run);
}
