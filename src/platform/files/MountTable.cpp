#include "platform/files/MountTable.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace platform {

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes in names as three octal digits.
std::string unescape(const std::string& field) {
    std::string plain;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto digit = [&](std::size_t at, char highest) {
            return at < field.size() && field[at] >= '0' && field[at] <= highest;
        };
        const bool octal =
            field[i] == '\\' && digit(i + 1, '3') && digit(i + 2, '7') && digit(i + 3, '7');
        if (!octal) {
            plain += field[i];
            continue;
        }
        plain += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                   (field[i + 3] - '0'));
        i += 3;
    }
    return plain;
}

} // namespace

std::vector<MountTable::Mount> MountTable::parse(const std::string& mountInfo) {
    std::vector<Mount> mounts;
    std::istringstream lines(mountInfo);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> fields{std::istream_iterator<std::string>(words),
                                        std::istream_iterator<std::string>()};
        // id, parent, major:minor, root, mount point, options, optional fields..., "-", type, ...
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        if (separator + 1 >= fields.size())
            continue;
        mounts.push_back({std::atoi(fields[0].c_str()), fields[2], unescape(fields[4]),
                          unescape(fields[separator + 1])});
    }
    return mounts;
}

std::vector<MountTable::Mount> MountTable::current() {
    std::ifstream file("/proc/self/mountinfo");
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

std::optional<MountTable::Mount> MountTable::withId(const std::vector<Mount>& mounts, int id) {
    for (const Mount& mount : mounts) {
        if (mount.id == id)
            return mount;
    }
    return std::nullopt;
}

std::optional<MountTable::Mount> MountTable::holding(const std::string& path) {
    struct statx status {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_MNT_ID, &status) != 0 ||
        (status.stx_mask & STATX_MNT_ID) == 0)
        return std::nullopt;
    return withId(current(), static_cast<int>(status.stx_mnt_id));
}

} // namespace platform
