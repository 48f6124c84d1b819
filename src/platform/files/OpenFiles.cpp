#include "platform/files/OpenFiles.h"

#include "platform/files/FileNames.h"

#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>

namespace platform {

namespace {

struct Held {
    FileIdentity identity;
    bool writing;
};

// Files are opened and closed on more than one thread.
struct Registry {
    std::mutex guard;
    std::map<int, Held> descriptors;
    std::vector<FileIdentity> reserved;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

void OpenFiles::add(int descriptor, FileIdentity identity, bool writing) {
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    r.descriptors[descriptor] = {identity, writing};
}

void OpenFiles::remove(int descriptor) {
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    r.descriptors.erase(descriptor);
}

bool OpenFiles::inUse(FileIdentity identity) {
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    return std::ranges::count(r.reserved, identity) != 0 ||
           std::ranges::any_of(r.descriptors,
                               [&](const auto& held) { return held.second.identity == identity; });
}

bool OpenFiles::heldForWriting(FileIdentity identity) {
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    return std::ranges::any_of(r.descriptors, [&](const auto& held) {
        return held.second.writing && held.second.identity == identity;
    });
}

OpenFiles::Reservation::~Reservation() {
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    // Newest first, each found from the back: a join reserves every segment of its set, and
    // releasing them costs no more than taking them.
    for (auto identity = m_identities.rbegin(); identity != m_identities.rend(); ++identity)
        r.reserved.erase(
            std::prev(std::find(r.reserved.rbegin(), r.reserved.rend(), *identity).base()));
}

bool OpenFiles::Reservation::add(const std::string& name) {
    const auto path = FileNames::resolve(name);
    struct stat status {};
    if (!path || stat(path->c_str(), &status) != 0)
        return false;
    const FileIdentity identity{status.st_dev, status.st_ino};
    m_bytes += static_cast<std::uint64_t>(status.st_size);
    Registry& r = registry();
    const std::lock_guard lock(r.guard);
    r.reserved.push_back(identity);
    m_identities.push_back(identity);
    return true;
}

} // namespace platform
