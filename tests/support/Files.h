#pragma once

#include "common/CSegmentName.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace test {

// Small helpers for making and checking files on disk in tests.
class Files final {
  public:
    static void write(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
            throw std::runtime_error("cannot write " + path);
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read " + path);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static bool exists(const std::string& path) {
        std::error_code ignored;
        return std::filesystem::exists(path, ignored);
    }
    static std::uint64_t size(const std::string& path) { return std::filesystem::file_size(path); }
    // Bytes that differ from one offset to the next, reproducible from the seed.
    static std::string pattern(std::size_t length, unsigned seed = 1) {
        std::mt19937 generator(seed);
        std::string bytes(length, '\0');
        for (auto& byte : bytes)
            byte = static_cast<char>(generator() & 0xFF);
        return bytes;
    }
    // A sparse file of that length with the given bytes at the given offsets.
    static void makeSparse(const std::string& path, std::uint64_t length,
                           const std::vector<std::pair<std::uint64_t, std::string>>& pieces) {
        write(path, "");
        std::filesystem::resize_file(path, length);
        std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [offset, bytes] : pieces)
            out.seekp(static_cast<std::streamoff>(offset)).write(bytes.data(), bytes.size());
    }
    // The lengths of base1, base2, ... up to the first number that does not exist.
    static std::vector<std::uint64_t> segmentLengths(const std::string& base) {
        std::vector<std::uint64_t> lengths;
        for (long long k = 1; exists(CSegmentName::Make(base, k)); ++k)
            lengths.push_back(size(CSegmentName::Make(base, k)));
        return lengths;
    }
    // What sha256sum writes for the named files in the directory, one line each, in that order.
    static std::string sha256sum(const std::string& directory,
                                 const std::vector<std::string>& names) {
        std::string command = "cd '" + directory + "' && sha256sum --";
        for (const std::string& name : names)
            command += " '" + name + "'";
        FILE* output = popen(command.c_str(), "r");
        if (output == nullptr)
            throw std::runtime_error("cannot run sha256sum");
        std::string text;
        char chunk[4096];
        for (std::size_t got; (got = fread(chunk, 1, sizeof chunk, output)) > 0;)
            text.append(chunk, got);
        pclose(output);
        return text;
    }
    // The work file that a split or join writes in the directory (.sundrel-XXXXXXXX.part), or
    // "" when there is none.
    static std::string workFile(const std::string& directory) {
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".sundrel-") && name.ends_with(".part"))
                return entry.path().string();
        }
        return {};
    }
    // The names in a directory, sorted.
    static std::vector<std::string> listing(const std::string& directory) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace test
