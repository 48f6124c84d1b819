#include "resources/VersionInfo.h"

namespace resources {

namespace {

// The numbers are the project version, which the build passes in: the version has one source.
#ifndef SUNDREL_VERSION_MAJOR
#error "the build passes the project version as SUNDREL_VERSION_MAJOR .. SUNDREL_VERSION_TWEAK"
#endif

constexpr std::array<unsigned, 4> projectVersion{SUNDREL_VERSION_MAJOR, SUNDREL_VERSION_MINOR,
                                                 SUNDREL_VERSION_PATCH, SUNDREL_VERSION_TWEAK};
constexpr unsigned allFileFlags = 0x3F;
constexpr unsigned windows32 = 0x00000004; // VOS__WINDOWS32
constexpr unsigned application = 0x1;      // VFT_APP
constexpr unsigned usEnglish = 0x0409;
constexpr unsigned unicode = 0x04B0;

VersionInfo make() {
    VersionInfo info;
    info.fileVersion = projectVersion;
    info.productVersion = projectVersion;
    info.fileFlagsMask = allFileFlags;
    info.fileOS = windows32;
    info.fileType = application;
    info.stringTableKey = "040904b0";
    const std::string version = VersionInfo::versionText(projectVersion);
    info.strings = {
        {"Comments", ""},
        {"CompanyName", "Sundrel developers"},
        {"FileDescription",
         "Sundrel Application: cuts a file into numbered segments and joins them"},
        {"FileVersion", version},
        {"InternalName", "Sundrel"},
        {"LegalCopyright", "Copyright (C) Sundrel developers"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "Sundrel.EXE"},
        {"PrivateBuild", ""},
        {"ProductName", "Sundrel Application"},
        {"ProductVersion", version},
        {"SpecialBuild", ""},
    };
    info.translation = {usEnglish, unicode};
    return info;
}

} // namespace

std::optional<std::string> VersionInfo::value(const std::string& key) const {
    for (const auto& [name, text] : strings) {
        if (name == key)
            return text;
    }
    return std::nullopt;
}

const VersionInfo& VersionInfo::program() {
    static const VersionInfo info = make();
    return info;
}

std::string VersionInfo::versionText(const std::array<unsigned, 4>& version) {
    std::string text;
    for (unsigned part : version) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(part);
    }
    return text;
}

} // namespace resources
