#include "common/CFile.h"

#include "platform/files/FileEntries.h"
#include "platform/files/FileNames.h"
#include "platform/files/PosixFile.h"
#include "platform/files/RemovableMedium.h"
#include "platform/files/SpaceReservation.h"
#include "platform/files/WorkFiles.h"
#include "platform/gui/WorkerThread.h"

#include <utility>

using platform::PosixFile;

namespace {

constexpr unsigned accessBits = 0x0003;

PosixFile::Access accessOf(unsigned flags) {
    switch (flags & accessBits) {
    case CFile::modeRead:
        return PosixFile::Access::read;
    case CFile::modeWrite:
        return PosixFile::Access::write;
    default:
        return PosixFile::Access::readWrite;
    }
}

} // namespace

CFile::CFile() = default;

CFile::~CFile() {
    if (m_descriptor == noDescriptor || !m_closeOnDelete)
        return;
    try {
        Close();
    } catch (const CFileException&) {
        // Destroyed on the way out of a failed operation: its own report is the one to show.
    }
}

bool CFile::Open(const std::string& fileName, unsigned openFlags, CFileException* error,
                 const platform::Folder* folder) {
    Reset();
    openFlags &= ~static_cast<unsigned>(typeBinary);

    return Take(
        PosixFile::open(fileName, accessOf(openFlags), (openFlags & modeCreate) != 0, folder),
        fileName, error);
}

bool CFile::OpenNew(const std::string& fileName, CFileException* error) {
    Reset();
    return Take(PosixFile::createNew(fileName), fileName, error);
}

bool CFile::OpenWork(const std::string& besideName, CFileException* error) {
    Reset();
    return Take(platform::WorkFiles::create(besideName), besideName, error);
}

void CFile::KeepAttributesOf(const CFile& other) {
    if (const platform::FileError error =
            platform::WorkFiles::copyAttributes(other.m_descriptor, m_descriptor))
        throw CFileException(error, GetFilePath());
}

void CFile::Reset() {
    // A descriptor still held here would keep its file locked until the program ends.
    if (m_descriptor != noDescriptor)
        PosixFile::close(m_descriptor);
    m_descriptor = noDescriptor;
    m_closeOnDelete = false;
    m_strFileName.clear();
    m_path.clear();
    m_onRemovableMedium.reset();
    m_lengthWhenHeld.reset();
}

template <typename Opened>
bool CFile::Take(Opened&& opened, const std::string& fileName, CFileException* error) {
    if (opened.descriptor == PosixFile::noDescriptor) {
        if (error != nullptr)
            *error = CFileException(opened.error, fileName);
        return false;
    }
    m_descriptor = opened.descriptor;
    m_closeOnDelete = true;
    m_path = std::move(opened.path);
    m_lengthWhenHeld = opened.length;
    return true;
}

std::uint64_t CFile::Read(void* buffer, std::uint64_t count) {
    if (count == 0)
        return 0;
    const PosixFile::Transfer read = PosixFile::read(m_descriptor, buffer, count);
    if (read.error)
        throw CFileException(read.error);
    return read.count;
}

void CFile::Write(const void* buffer, std::uint64_t count) {
    if (count == 0)
        return;
    const PosixFile::Transfer written = PosixFile::write(m_descriptor, buffer, count);
    if (written.error)
        throw CFileException(written.error, GetFilePath());
    if (written.count < count)
        throw CFileException(CFileException::diskFull, -1, GetFilePath());
}

void CFile::Close() {
    if (m_descriptor == noDescriptor)
        return;
    const platform::FileError error = PosixFile::close(m_descriptor);
    m_descriptor = noDescriptor;
    m_closeOnDelete = false;
    m_strFileName.clear();
    m_path.clear();
    m_onRemovableMedium.reset();
    m_lengthWhenHeld.reset();
    if (error)
        throw CFileException(error);
}

std::uint64_t CFile::GetLength() const {
    if (m_lengthWhenHeld)
        return *m_lengthWhenHeld;
    const PosixFile::Length length = PosixFile::length(m_descriptor);
    if (length.error)
        throw CFileException(length.error);
    return length.length;
}

// Worked out when first asked: only reports name the file, and most files are never reported.
const std::string& CFile::GetFilePath() const {
    if (m_strFileName.empty() && !m_path.empty())
        m_strFileName = platform::FileNames::fullPath(m_path);
    return m_strFileName;
}

bool CFile::IsOpen() const {
    return m_descriptor != noDescriptor;
}

void CFile::Flush() {
    platform::FileError error;
    platform::WorkerThread::runWhilePumping(
        [&] { error = PosixFile::flush(m_descriptor, m_path); });
    if (error)
        throw CFileException(error, GetFilePath());
}

std::uint64_t CFile::Reserve(std::uint64_t count) {
    return platform::SpaceReservation::reserve(m_descriptor, count);
}

void CFile::Remove(const std::string& fileName) {
    if (const platform::FileError error = PosixFile::remove(fileName))
        throw CFileException(error, fileName);
}

void CFile::RemoveOwn(const std::string& fileName) {
    if (const platform::FileError error = platform::FileEntries::removeOwn(fileName))
        throw CFileException(error, fileName);
}

bool CFile::Rename(const std::string& from, const std::string& to, bool replace, bool flush) {
    const platform::FileError error = platform::FileEntries::rename(from, to, replace, flush);
    if (!replace && platform::FileEntries::nameTaken(error))
        return false;
    if (error)
        throw CFileException(error, to);
    return true;
}

bool CFile::IsOnRemovableMedium() const {
    if (!m_onRemovableMedium)
        m_onRemovableMedium = platform::RemovableMedium::holds(m_descriptor);
    return *m_onRemovableMedium;
}
