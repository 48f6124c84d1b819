#include "platform/files/Folder.h"

#include "platform/files/FileNames.h"
#include "platform/files/FileSystemKind.h"
#include "platform/files/SharedFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace platform {

Folder::Folder(const std::string& name) {
    const auto path = FileNames::resolve(name);
    if (!path || FileNames::onDriveA(name))
        return;
    m_path = FileNames::directoryOf(*path);
    // O_PATH: a folder the user may write to but not list still receives files.
    do {
        m_descriptor = ::open(m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    } while (m_descriptor < 0 && errno == EINTR);
    struct stat status {};
    if (m_descriptor < 0 || fstat(m_descriptor, &status) != 0) {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
        return;
    }
    m_device = status.st_dev;
    m_shared = SharedFolder::othersMayPlantIn(status);
    m_owner = status.st_uid;
    m_pseudo = FileSystemKind::isPseudo(m_descriptor);
    m_deviceNodes = FileSystemKind::holdsDeviceNodes(m_descriptor);
}

Folder::~Folder() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

const char* Folder::entryOf(const std::string& path) const {
    if (m_descriptor < 0)
        return nullptr;
    const auto slash = path.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const char* entry = path.c_str() + start;
    const std::string_view name(entry);
    if (name.empty() || name == "." || name == ".." || FileNames::directoryOf(path) != m_path)
        return nullptr;
    return entry;
}

} // namespace platform
