#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace resources {

// The program's version block: the fixed part (numeric versions, flags, target system, file type)
// and one string table, U.S. English in Unicode, with its translation entry.
struct VersionInfo final {
    struct Translation {
        unsigned language = 0;
        unsigned codePage = 0;
    };

    std::array<unsigned, 4> fileVersion{};
    std::array<unsigned, 4> productVersion{};
    unsigned fileFlagsMask = 0;
    unsigned fileFlags = 0;
    unsigned fileOS = 0;
    unsigned fileType = 0;
    unsigned fileSubtype = 0;
    std::string stringTableKey;
    std::vector<std::pair<std::string, std::string>> strings;
    Translation translation;

    // The value of a key of the string table; nothing when the table has no such key.
    std::optional<std::string> value(const std::string& key) const;

    // The version block of this program; its numbers are the build's project version.
    static const VersionInfo& program();
    // "1, 2, 0, 1" for 1.2.0.1: how the string table writes a version.
    static std::string versionText(const std::array<unsigned, 4>& version);
};

} // namespace resources
