#include "operations/SplitFiles.h"

#include "common/CSegmentName.h"
#include "support/Files.h"

#include <QCryptographicHash>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

namespace test {

std::vector<std::uint64_t> SplitFiles::segmentLengths(const std::string& base) {
    std::vector<std::uint64_t> lengths;
    for (long long number = 1; Files::exists(CSegmentName::Make(base, number)); ++number)
        lengths.push_back(Files::size(CSegmentName::Make(base, number)));
    return lengths;
}

std::vector<std::string> SplitFiles::listing(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void SplitFiles::makeSparse(const std::string& path, std::uint64_t length,
                            const std::vector<std::pair<std::uint64_t, std::string>>& pieces) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descriptor, 0) << path;
    ASSERT_EQ(ftruncate(descriptor, static_cast<off_t>(length)), 0);
    for (const auto& [offset, bytes] : pieces)
        ASSERT_EQ(pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
    close(descriptor);
}

std::string SplitFiles::checksum(const std::vector<std::string>& paths, bool removeAfterReading) {
    QCryptographicHash hash(QCryptographicHash::Md5);
    std::vector<char> buffer(4 << 20);
    for (const std::string& path : paths) {
        const int descriptor = open(path.c_str(), O_RDONLY);
        if (descriptor < 0)
            return {};
        ssize_t got = 0;
        while ((got = read(descriptor, buffer.data(), buffer.size())) > 0)
            hash.addData(QByteArrayView(buffer.data(), got));
        close(descriptor);
        if (got < 0)
            return {};
        if (removeAfterReading)
            std::filesystem::remove(path);
    }
    return hash.result().toHex().toStdString();
}

} // namespace test
