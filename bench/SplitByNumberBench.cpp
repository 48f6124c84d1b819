// Times split by number through the real dialog code (offscreen, message boxes answered by a
// script) against GNU split -n on the same file in the same run, and reports peak memory.
//
// usage: bench_split_by_number [directory [MiB [repeats]]]   (defaults: /tmp 1024 3)

#include "operations/CSplitByNumberDlg.h"
#include "platform/Application.h"
#include "platform/DialogHost.h"
#include "platform/MessageBoxService.h"
#include "platform/Services.h"

#include <QTimer>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int splitButton = 1003;
constexpr int escape = 2;
constexpr std::uint64_t MiB = 1024 * 1024;

// Answers every box with OK and keeps its text, so a failed split is seen.
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

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeRandomFile(const std::string& path, std::uint64_t length) {
    std::mt19937_64 random(20240601);
    std::vector<std::uint64_t> block(4 * MiB / sizeof(std::uint64_t));
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t written = 0; written < length; written += 4 * MiB) {
        std::generate(block.begin(), block.end(), std::ref(random));
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(std::min<std::uint64_t>(4 * MiB, length - written)));
    }
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// Every file whose name starts with prefix, removed; answers their count and total length.
std::pair<int, std::uint64_t> removeAll(const std::string& directory, const std::string& prefix) {
    int count = 0;
    std::uint64_t total = 0;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0 || name == prefix)
            continue;
        ++count;
        total += entry.file_size();
        fs::remove(entry.path());
    }
    return {count, total};
}

// One press of "Split &File !" in a freshly opened dialog; the time of the press alone.
double splitWithSundrel(const std::string& source, int count) {
    CSplitByNumberDlg dialog;
    dialog.m_strPath = source;
    dialog.m_nSegments = count;
    AnsweringMessageBoxes boxes;
    Clock::duration elapsed{};
    QTimer::singleShot(0, [&] {
        const platform::Window window = dialog.GetSafeHwnd();
        const Clock::time_point start = Clock::now();
        platform::DialogHost::sendCommand(window, splitButton);
        elapsed = Clock::now() - start;
        platform::DialogHost::sendCommand(window, escape);
    });
    dialog.DoModal();
    if (boxes.texts() != std::vector<std::string>{" The file has been split ! "})
        throw std::runtime_error("the split did not succeed: " +
                                 (boxes.texts().empty() ? "no message" : boxes.texts().front()));
    return seconds(elapsed);
}

double splitWithGnu(const std::string& source, int count, const std::string& prefix) {
    const std::string countText = std::to_string(count);
    std::vector<char*> arguments{
        const_cast<char*>("split"),           const_cast<char*>("-n"),
        const_cast<char*>(countText.c_str()), const_cast<char*>(source.c_str()),
        const_cast<char*>(prefix.c_str()),    nullptr};
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, "split", nullptr, nullptr, arguments.data(), environ) != 0)
        throw std::runtime_error("cannot start GNU split");
    int status = 0;
    waitpid(child, &status, 0);
    const Clock::duration elapsed = Clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("GNU split failed");
    return seconds(elapsed);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void checkSegments(const std::string& directory, const std::string& prefix, int count,
                   std::uint64_t length) {
    const auto [found, total] = removeAll(directory, prefix);
    if (found != count || total != length)
        throw std::runtime_error(prefix + ": " + std::to_string(found) + " files holding " +
                                 std::to_string(total) + " bytes");
}

int run(const std::string& parent, std::uint64_t length, int repeats) {
    std::string scratch = parent + "/sundrel-bench-XXXXXX";
    if (mkdtemp(scratch.data()) == nullptr)
        throw std::runtime_error("cannot make a directory below " + parent);
    const std::string source = scratch + "/source.bin";
    writeRandomFile(source, length);
    std::printf("source: %llu bytes in %s, median of %d runs of each tool\n",
                static_cast<unsigned long long>(length), scratch.c_str(), repeats);
    const long before = peakKiB();
    std::printf("%9s %12s %18s %8s\n", "segments", "Sundrel (s)", "GNU split -n (s)", "ratio");
    for (int count : {3, 100}) {
        std::vector<double> ours;
        std::vector<double> gnu;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            // Each tool starts with the earlier run's segments gone and written back, and the
            // two take turns at going first.
            for (int turn = 0; turn < 2; ++turn) {
                sync();
                if ((repeat + turn) % 2 == 0) {
                    ours.push_back(splitWithSundrel(source, count));
                    checkSegments(scratch, "source.bin", count, length);
                } else {
                    gnu.push_back(splitWithGnu(source, count, scratch + "/gnu."));
                    checkSegments(scratch, "gnu.", count, length);
                }
            }
        }
        std::printf("%9d %12.3f %18.3f %8.2f\n", count, median(ours), median(gnu),
                    median(ours) / median(gnu));
    }
    // A child's own peak cannot be told apart here: it starts from this process's pages.
    std::printf("peak memory of Sundrel: %ld KiB (%ld KiB before the first split)\n", peakKiB(),
                before);
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
        std::fprintf(stderr, "bench_split_by_number: %s\n", error.what());
        return 1;
    }
}
