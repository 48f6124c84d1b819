#include "support/Files.h"

#include "common/CSegmentName.h"

#include <QCryptographicHash>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace test {

void Files::write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string Files::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Files::exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

std::uint64_t Files::size(const std::string& path) { return std::filesystem::file_size(path); }

std::string Files::pattern(std::size_t length, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(length, '\0');
    for (auto& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::vector<std::uint64_t> Files::segmentLengths(const std::string& base) {
    std::vector<std::uint64_t> lengths;
    for (long long number = 1; Files::exists(CSegmentName::Make(base, number)); ++number)
        lengths.push_back(Files::size(CSegmentName::Make(base, number)));
    return lengths;
}

std::vector<std::string> Files::listing(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Files::makeSparse(const std::string& path, std::uint64_t length,
                            const std::vector<std::pair<std::uint64_t, std::string>>& pieces) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descriptor, 0) << path;
    ASSERT_EQ(ftruncate(descriptor, static_cast<off_t>(length)), 0);
    for (const auto& [offset, bytes] : pieces)
        ASSERT_EQ(pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
                  static_cast<ssize_t>(bytes.size()));
    close(descriptor);
}

std::string Files::checksum(const std::vector<std::string>& paths, bool removeAfterReading) {
    QCryptographicHash hash(QCryptographicHash::Md5);
    std::vector<char> buffer(4 << 20);
    for (const std::string& path : paths) {
        const int descriptor = open(path.c_str(), O_RDONLY);
        if (descriptor < 0)
            return {};
        ssize_t got = 0;
        while ((got = ::read(descriptor, buffer.data(), buffer.size())) > 0)
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
