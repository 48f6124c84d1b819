#include "common/CSegmentTransfer.h"
#include "common/CFile.h"
#include "common/CSegmentName.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/ForkedChild.h"
#include "support/ScratchTmpfs.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <vector>

namespace {

constexpr unsigned readMode = CFile::typeBinary | CFile::modeRead;
constexpr unsigned createMode = CFile::typeBinary | CFile::modeCreate | CFile::modeWrite;
constexpr std::uint64_t MiB = 1024 * 1024;
constexpr std::uint64_t GiB = 1024 * MiB;

std::string expected(int cause, long osError, const std::string& name, const std::string& message) {
    return test::FileFaults::describe({cause, osError, name, message});
}

std::string failure(const std::function<void()>& request) {
    try {
        request();
    } catch (const CFileException& error) {
        return test::FileFaults::describe(error);
    }
    return "no error";
}

// A sparse file of that length with the given bytes written at the given offsets.
void makeSparse(const std::string& path, std::uint64_t length,
                const std::vector<std::pair<std::uint64_t, std::string>>& pieces) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(ftruncate(descriptor, static_cast<off_t>(length)), 0);
    for (const auto& [offset, bytes] : pieces)
        ASSERT_EQ(pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
    close(descriptor);
}

// The offset of the first byte in which two files differ, or their common length when they are
// equal; read side by side in bounded chunks, whatever the length.
std::uint64_t firstDifference(const std::string& one, const std::string& other) {
    std::ifstream first(one, std::ios::binary);
    std::ifstream second(other, std::ios::binary);
    std::vector<char> firstChunk(MiB);
    std::vector<char> secondChunk(MiB);
    std::uint64_t offset = 0;
    while (first && second) {
        first.read(firstChunk.data(), MiB);
        second.read(secondChunk.data(), MiB);
        const auto got = static_cast<std::size_t>(std::min(first.gcount(), second.gcount()));
        if (std::memcmp(firstChunk.data(), secondChunk.data(), got) != 0) {
            const auto mismatch =
                std::mismatch(firstChunk.begin(), firstChunk.begin() + got, secondChunk.begin());
            return offset + static_cast<std::uint64_t>(mismatch.first - firstChunk.begin());
        }
        offset += got;
        if (first.gcount() != second.gcount())
            break;
    }
    return offset;
}

// Splits source into segments of the given sizes, the way the split operations do.
void split(const std::string& source, const std::vector<std::uint64_t>& sizes) {
    CFile input;
    ASSERT_TRUE(input.Open(source, readMode));
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        CFile segment;
        ASSERT_TRUE(
            segment.Open(CSegmentName::Make(source, static_cast<long long>(k + 1)), createMode));
        CSegmentTransfer::Move(input, segment, sizes[k]);
        segment.Close();
    }
}

void join(const std::string& base, std::size_t count, const std::string& target) {
    CFile output;
    ASSERT_TRUE(output.Open(target, createMode));
    for (std::size_t k = 1; k <= count; ++k) {
        CFile segment;
        ASSERT_TRUE(segment.Open(CSegmentName::Make(base, static_cast<long long>(k)), readMode));
        CSegmentTransfer::Move(segment, output, segment.GetLength());
    }
}

TEST(CSegmentTransfer, AFileLargerThan4GiBSurvivesASplitAndAJoin) {
    test::TempDir dir;
    const std::string source = dir.file("big.bin");
    const std::uint64_t length = 4 * GiB + 1000;
    makeSparse(source, length,
               {{0, test::Files::pattern(4096, 1)},
                {4 * GiB - 2048, test::Files::pattern(4096, 2)},
                {length - 700, test::Files::pattern(700, 3)}});
    // The second segment runs across the 4 GiB mark; the last is the 1000 bytes past it, less 93.
    const std::vector<std::uint64_t> sizes = {2 * GiB - 7, 2 * GiB + 100, 907};
    split(source, sizes);
    for (std::size_t k = 0; k < sizes.size(); ++k)
        EXPECT_EQ(test::Files::size(CSegmentName::Make(source, static_cast<long long>(k + 1))),
                  sizes[k]);

    join(source, sizes.size(), dir.file("joined.bin"));
    EXPECT_EQ(test::Files::size(dir.file("joined.bin")), length);
    EXPECT_EQ(firstDifference(source, dir.file("joined.bin")), length);
}

TEST(CSegmentTransfer, ASourceThatEndsEarlyIsReportedAndNothingIsMadeUp) {
    test::TempDir dir;
    const std::string bytes = test::Files::pattern(MiB + 300);
    test::Files::write(dir.file("source.bin"), bytes);
    CFile source;
    CFile segment;
    ASSERT_TRUE(source.Open(dir.file("source.bin"), readMode));
    ASSERT_TRUE(segment.Open(dir.file("source.bin1"), createMode));
    EXPECT_EQ(
        failure([&] { CSegmentTransfer::Move(source, segment, 3 * MiB); }),
        expected(14, -1, dir.file("source.bin"),
                 "An attempt was made to access " + dir.file("source.bin") + " past its end."));
    segment.Close();
    EXPECT_EQ(test::Files::read(dir.file("source.bin1")), bytes);
}

// The transfer's faults, each provoked for real. The segment is the file being written.
struct TransferFault {
    const char* label;
    std::function<std::string(const std::string& sourcePath)> source; // returns a name to open
    std::function<std::string(const std::string& segmentDir)> segment;
    std::uint64_t count;
    int cause;
    int osError;
    bool namesSegment;
    const char* message; // "%1" stands for the file named
};

TEST(CSegmentTransfer, FailuresNameTheSideThatFailed) {
    test::TempDir dir;
    test::ScratchTmpfs medium(dir.path(), "size=2m");
    if (!medium.mounted())
        GTEST_SKIP() << medium.failure();
    const auto regularSource = [](const std::string& path) { return path; };
    const auto memorySource = [](const std::string&) { return std::string("/proc/self/mem"); };
    const auto onMedium = [&](const std::string&) { return medium.file("seg1"); };
    const auto onDisk = [&](const std::string& path) { return path + "1"; };
    const auto fullDevice = [](const std::string&) { return std::string("/dev/full"); };
    const TransferFault rows[] = {
        {"the medium fills up", regularSource, onMedium, 3 * MiB, 13, ENOSPC, true,
         "Disk full while accessing %1."},
        {"the device refuses every byte", regularSource, fullDevice, 3 * MiB, 13, ENOSPC, true,
         "Disk full while accessing %1."},
        {"the source cannot be read", memorySource, onDisk, MiB, 10, EIO, false,
         "A hardware I/O error was reported while accessing %1."},
    };
    const std::string sourcePath = dir.file("source.bin");
    test::Files::write(sourcePath, test::Files::pattern(3 * MiB));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        CFile source;
        CFile segment;
        ASSERT_TRUE(source.Open(row.source(sourcePath), readMode));
        ASSERT_TRUE(segment.Open(row.segment(sourcePath), createMode));
        const std::string named = row.namesSegment ? segment.GetFilePath() : "";
        std::string message = row.message;
        message.replace(message.find("%1"), 2, named.empty() ? "an unnamed file" : named);
        EXPECT_EQ(failure([&] { CSegmentTransfer::Move(source, segment, row.count); }),
                  expected(row.cause, row.osError, named, message));
    }
    // What reached the full medium before it filled up stays there.
    const std::string kept = test::Files::read(medium.file("seg1"));
    EXPECT_GT(kept.size(), 0u);
    EXPECT_EQ(kept, test::Files::pattern(3 * MiB).substr(0, kept.size()));
}

TEST(CSegmentTransfer, ASegmentPastTheFileSizeLimitNamesTheSegment) {
    test::TempDir dir;
    test::Files::write(dir.file("source.bin"), test::Files::pattern(3 * MiB));
    const auto report = test::ForkedChild::run([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{MiB + 5, MiB + 5};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("cannot limit the file size");
        CFile source;
        CFile segment;
        if (!source.Open(dir.file("source.bin"), readMode) ||
            !segment.Open(dir.file("source.bin1"), createMode))
            return std::string("cannot open");
        return failure([&] { CSegmentTransfer::Move(source, segment, 3 * MiB); });
    });
    ASSERT_TRUE(report.has_value()) << "the child did not report back";
    const std::string segment = dir.file("source.bin1");
    EXPECT_EQ(*report, expected(1, EFBIG, segment,
                                "An unknown error occurred while accessing " + segment + "."));
    EXPECT_EQ(test::Files::read(segment), test::Files::pattern(3 * MiB).substr(0, MiB + 5));
}

TEST(CSegmentTransfer, TimersRunWhileASegmentIsMoved) {
    test::TempDir dir;
    makeSparse(dir.file("source.bin"), 64 * MiB, {});
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(0);
    CFile source;
    CFile segment;
    ASSERT_TRUE(source.Open(dir.file("source.bin"), readMode));
    ASSERT_TRUE(segment.Open(dir.file("source.bin1"), createMode));
    CSegmentTransfer::Move(source, segment, 64 * MiB);
    EXPECT_GT(ticks, 0);
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(CSegmentTransfer, MemoryStaysFlatWhateverTheSegmentSize) {
    test::TempDir dir;
    makeSparse(dir.file("source.bin"), GiB, {{GiB - 10, "last bytes"}});
    // A regular file takes the in-kernel copy; a device takes the bounded buffer.
    for (const std::string& target : {dir.file("source.bin1"), std::string("/dev/null")}) {
        SCOPED_TRACE(target);
        const long before = peakResidentKiB();
        CFile source;
        CFile segment;
        ASSERT_TRUE(source.Open(dir.file("source.bin"), readMode));
        ASSERT_TRUE(segment.Open(target, createMode));
        CSegmentTransfer::Move(source, segment, GiB);
        EXPECT_LT(peakResidentKiB() - before, 64 * 1024);
    }
    EXPECT_EQ(test::Files::size(dir.file("source.bin1")), GiB);
}

} // namespace
