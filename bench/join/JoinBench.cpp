// Times the join through the real dialog code (offscreen, message boxes answered by a script)
// against cat on the same segments in the same run, and reports peak memory.
//
// usage: bench_join [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)

#include "common/CSegmentName.h"
#include "operations/CJoinDlg.h"
#include "platform/Application.h"
#include "platform/DialogHost.h"
#include "platform/MessageBoxService.h"
#include "platform/Services.h"

#include <QTimer>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int joinButton = 1009;
constexpr int escape = 2;
constexpr std::uint64_t MiB = 1024 * 1024;

// Answers every box with OK and keeps its text, so a failed join is seen.
class AnsweringMessageBoxes final : public platform::MessageBoxService {
  public:
    AnsweringMessageBoxes() { platform::Services::install(this); }
    ~AnsweringMessageBoxes() override {
        platform::Services::install(static_cast<platform::MessageBoxService*>(nullptr));
    }
    int show(const platform::MessageBoxRequest& request) override {
        m_texts.push_back(request.text);
        return 1;
    }
    const std::vector<std::string>& texts() const { return m_texts; }

  private:
    std::vector<std::string> m_texts;
};

double seconds(Clock::duration elapsed) {
    return std::chrono::duration<double>(elapsed).count();
}

long peakKiB(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

// base1 .. baseN of random bytes, cut as a split by number cuts: N - 1 equal quotients, the
// rest in the last.
std::vector<std::string> writeSet(const std::string& base, std::uint64_t length, int count) {
    std::mt19937_64 random(20240601);
    std::vector<std::uint64_t> block(4 * MiB / sizeof(std::uint64_t));
    std::vector<std::string> names;
    const std::uint64_t quotient = length / static_cast<std::uint64_t>(count);
    for (int k = 1; k <= count; ++k) {
        const std::uint64_t size =
            k < count ? quotient : length - static_cast<std::uint64_t>(count - 1) * quotient;
        names.push_back(CSegmentName::Make(base, k));
        std::ofstream out(names.back(), std::ios::binary | std::ios::trunc);
        for (std::uint64_t written = 0; written < size; written += 4 * MiB) {
            std::generate(block.begin(), block.end(), std::ref(random));
            out.write(
                reinterpret_cast<const char*>(block.data()),
                static_cast<std::streamsize>(std::min<std::uint64_t>(4 * MiB, size - written)));
        }
        if (!out)
            throw std::runtime_error("cannot write " + names.back());
    }
    return names;
}

// One press of "&Join" in a freshly opened dialog; the time of the press alone.
double joinWithSundrel(const std::string& firstSegment) {
    CJoinDlg dialog;
    dialog.m_strFirstSegment = firstSegment;
    AnsweringMessageBoxes boxes;
    Clock::duration elapsed{};
    QTimer::singleShot(0, [&] {
        const platform::Window window = dialog.GetSafeHwnd();
        const Clock::time_point start = Clock::now();
        platform::DialogHost::sendCommand(window, joinButton);
        elapsed = Clock::now() - start;
        platform::DialogHost::sendCommand(window, escape);
    });
    dialog.DoModal();
    if (boxes.texts() != std::vector<std::string>{"File Joined "})
        throw std::runtime_error("the join did not succeed: " +
                                 (boxes.texts().empty() ? "no message" : boxes.texts().front()));
    return seconds(elapsed);
}

// cat segment1 ... segmentN > target, timed from start to exit.
double joinWithCat(const std::vector<std::string>& segments, const std::string& target) {
    std::vector<char*> arguments{const_cast<char*>("cat")};
    for (const std::string& segment : segments)
        arguments.push_back(const_cast<char*>(segment.c_str()));
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t output;
    posix_spawn_file_actions_init(&output);
    posix_spawn_file_actions_addopen(&output, STDOUT_FILENO, target.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int started = posix_spawnp(&child, "cat", &output, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&output);
    if (started != 0)
        throw std::runtime_error("cannot start cat");
    int status = 0;
    waitpid(child, &status, 0);
    const Clock::duration elapsed = Clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("cat failed");
    return seconds(elapsed);
}

// Both results must hold the same bytes: read side by side, then removed.
void checkSameAndRemove(const std::string& ours, const std::string& theirs, std::uint64_t length) {
    std::ifstream a(ours, std::ios::binary);
    std::ifstream b(theirs, std::ios::binary);
    std::vector<char> left(4 * MiB);
    std::vector<char> right(4 * MiB);
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int run(const std::string& parent, std::uint64_t length, int repeats) {
    std::string scratch = parent + "/sundrel-bench-join-XXXXXX";
    if (mkdtemp(scratch.data()) == nullptr)
        throw std::runtime_error("cannot make a directory below " + parent);
    std::printf("file: %llu bytes in %s, median of %d runs each\n",
                static_cast<unsigned long long>(length), scratch.c_str(), repeats);
    std::printf("%9s %12s %9s %8s\n", "segments", "Sundrel (s)", "cat (s)", "ratio");
    long before = 0;
    for (int count : {3, 100}) {
        const std::string base = scratch + "/set" + std::to_string(count) + ".bin";
        const std::vector<std::string> segments = writeSet(base, length, count);
        if (before == 0)
            before = peakKiB(RUSAGE_SELF);
        std::vector<double> ours;
        std::vector<double> cat;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            // Each tool starts with the earlier run's output written back and removed, and
            // they take turns at going first.
            for (int turn = 0; turn < 2; ++turn) {
                sync();
                if ((turn + repeat) % 2 == 0)
                    ours.push_back(joinWithSundrel(segments.front()));
                else
                    cat.push_back(joinWithCat(segments, base + ".cat"));
            }
            checkSameAndRemove(base, base + ".cat", length);
        }
        std::printf("%9d %12.3f %9.3f %8.2f\n", count, median(ours), median(cat),
                    median(ours) / median(cat));
        for (const std::string& segment : segments)
            fs::remove(segment);
    }
    // cat's own peak is not shown: a spawned child is charged the parent's pages until it execs.
    std::printf("peak memory: Sundrel %ld KiB (%ld KiB before the first join)\n",
                peakKiB(RUSAGE_SELF), before);
    fs::remove_all(scratch);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string parent = argc > 1 ? argv[1] : "/tmp";
    const std::uint64_t length = (argc > 2 ? std::stoull(argv[2]) : 1024) * MiB;
    const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    int noArguments = 0;
    platform::Application desktop(noArguments, argv);
    try {
        return run(parent, length, repeats);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_join: %s\n", error.what());
        return 1;
    }
}
