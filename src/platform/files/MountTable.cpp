#include "platform/files/MountTable.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
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

namespace {

// The table as last read, read again only when the kernel says it changed: /proc/self/mountinfo
// is pollable, and a mount or unmount since the last poll marks it with POLLPRI. A split asks
// about the table for every segment; reading and parsing it each time cost more than the segment.
struct CachedTable {
    std::mutex mutex;
    int descriptor = -1;
    bool read = false;
    std::vector<MountTable::Mount> mounts;
};

CachedTable& cache() {
    static CachedTable table;
    return table;
}

// Nothing when the table cannot be read whole.
std::optional<std::string> readFrom(int descriptor) {
    std::string text;
    char chunk[16384];
    if (lseek(descriptor, 0, SEEK_SET) != 0)
        return std::nullopt;
    for (ssize_t got; (got = ::read(descriptor, chunk, sizeof chunk)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
}

std::vector<MountTable::Mount> readAnew() {
    std::ifstream file("/proc/self/mountinfo");
    std::ostringstream text;
    text << file.rdbuf();
    return MountTable::parse(text.str());
}

bool changedSinceLastLook(int descriptor) {
    pollfd watched{descriptor, POLLPRI, 0};
    int ready;
    do {
        ready = poll(&watched, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready != 0;
}

// Calls use(mounts) with the current table, under the cache's lock.
template <typename Use> auto withCurrent(Use use) {
    CachedTable& table = cache();
    const std::lock_guard lock(table.mutex);
    if (table.descriptor < 0)
        table.descriptor = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (table.descriptor < 0)
        return use(readAnew());
    if (!table.read || changedSinceLastLook(table.descriptor)) {
        const auto text = readFrom(table.descriptor);
        table.read = text.has_value(); // a table read in part is never kept
        if (!text)
            return use(readAnew());
        table.mounts = MountTable::parse(*text);
    }
    return use(table.mounts);
}

} // namespace

std::vector<MountTable::Mount> MountTable::current() {
    return withCurrent([](const std::vector<Mount>& mounts) { return mounts; });
}

std::optional<MountTable::Mount> MountTable::currentWithId(int id) {
    return withCurrent([id](const std::vector<Mount>& mounts) { return withId(mounts, id); });
}

bool MountTable::anyCurrent(const std::function<bool(const Mount&)>& matches) {
    return withCurrent([&](const std::vector<Mount>& mounts) {
        return std::any_of(mounts.begin(), mounts.end(), matches);
    });
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
    return currentWithId(static_cast<int>(status.stx_mnt_id));
}

} // namespace platform
