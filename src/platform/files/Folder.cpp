#include "platform/files/Folder.h"

#include "platform/files/FileNames.h"
#include "platform/files/FileSystemKind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

Folder::Folder(const std::string& name) {
    const auto path = FileNames::resolve(name);
    if (!path)
        return;
    // O_PATH: a folder the user may write to but not list is looked at all the same.
    const int descriptor =
        ::open(FileNames::directoryOf(*path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    struct stat status {};
    if (fstat(descriptor, &status) == 0) {
        m_known = true;
        m_device = status.st_dev;
        m_pseudo = FileSystemKind::isPseudo(descriptor);
        m_deviceNodes = FileSystemKind::holdsDeviceNodes(descriptor);
    }
    ::close(descriptor);
}

} // namespace platform
