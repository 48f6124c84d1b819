#include "common/CFileException.h"

#include "common/CUtf8Text.h"

#include "resources/StringTable.h"

#include <cerrno>
#include <utility>

namespace {

constexpr std::size_t longestMessage = 511;

} // namespace

CFileException::CFileException(int cause, long osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

int CFileException::OsErrorToCause(int errnoValue, bool parentDirectoryExists) {
    switch (errnoValue) {
    case 0:
        return none;
    case ENOENT:
        return parentDirectoryExists ? fileNotFound : badPath;
    case EBADF:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return accessDenied;
    case EMLINK:
        return directoryFull;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case EREMOTEIO:
        return hardIO;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    default:
        return genericException;
    }
}

std::string CFileException::GetErrorMessage() const {
    const bool known = m_cause >= none && m_cause <= endOfFile;
    const std::string pattern =
        resources::StringTable::load(resources::StringTable::fileErrorNone +
                                     static_cast<unsigned>(known ? m_cause : genericException));
    const std::string name = m_strFileName.empty()
                                 ? resources::StringTable::load(resources::StringTable::unnamedFile)
                                 : m_strFileName;
    std::string message;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.compare(at, 2, "%1") == 0) {
            message += name;
            ++at;
        } else {
            message += pattern[at];
        }
    }
    return CUtf8Text::CutTo(std::move(message), longestMessage);
}
