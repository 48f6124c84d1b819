#include "common/CFileException.h"

#include "common/CUtf8Text.h"

#include "resources/StringTable.h"

#include <utility>

namespace {

using platform::FileCause;

// The platform's causes are these causes by number.
static_assert(static_cast<int>(FileCause::none) == CFileException::none);
static_assert(static_cast<int>(FileCause::generic) == CFileException::genericException);
static_assert(static_cast<int>(FileCause::fileNotFound) == CFileException::fileNotFound);
static_assert(static_cast<int>(FileCause::badPath) == CFileException::badPath);
static_assert(static_cast<int>(FileCause::tooManyOpenFiles) == CFileException::tooManyOpenFiles);
static_assert(static_cast<int>(FileCause::accessDenied) == CFileException::accessDenied);
static_assert(static_cast<int>(FileCause::directoryFull) == CFileException::directoryFull);
static_assert(static_cast<int>(FileCause::badSeek) == CFileException::badSeek);
static_assert(static_cast<int>(FileCause::hardIO) == CFileException::hardIO);
static_assert(static_cast<int>(FileCause::sharingViolation) == CFileException::sharingViolation);
static_assert(static_cast<int>(FileCause::lockViolation) == CFileException::lockViolation);
static_assert(static_cast<int>(FileCause::diskFull) == CFileException::diskFull);

constexpr std::size_t longestMessage = 511;

} // namespace

CFileException::CFileException(int cause, long osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

CFileException::CFileException(const platform::FileError& error, std::string fileName)
    : CFileException(static_cast<int>(error.cause), error.osError, std::move(fileName)) {}

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
