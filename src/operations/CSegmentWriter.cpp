#include "operations/CSegmentWriter.h"

#include "common/CFileException.h"
#include "common/CSegmentName.h"
#include "common/CSegmentTransfer.h"
#include "common/CSetChecksum.h"

#include "platform/files/Folder.h"
#include "platform/files/NameLimits.h"
#include "platform/files/SharedFolder.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr unsigned createMode = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;

} // namespace

CSegmentWriter::CSegmentWriter(platform::Window dialog, std::initializer_list<int> greyed,
                               CFile& source, CProgressCtrl& progress)
    : m_busy(dialog, greyed), m_source(source), m_progress(progress) {}

void CSegmentWriter::PrepareProgress(long long segments) {
    m_progress.SetRange32(0, 0);
    m_progress.SetRange32(0, static_cast<int>(std::clamp<long long>(segments, INT_MIN, INT_MAX)));
    m_progress.SetStep(1);
}

void CSegmentWriter::WriteSet(const std::string& baseName, std::uint64_t sourceLength,
                              std::uint64_t fullSegments, std::uint64_t segmentLength) {
    m_baseName = baseName;
    CSetChecksum checksum(baseName);
    checksum.RemoveEarlier();
    const platform::Folder folder(baseName);
    CSegmentTransfer::StartRepaintClock();
    for (std::uint64_t number = 1; number <= fullSegments; ++number)
        WriteSegment(baseName, number, segmentLength, checksum, folder);
    // The last segment carries exactly what the full ones left, never more than the source holds.
    const std::uint64_t rest = sourceLength - fullSegments * segmentLength;
    if (rest != 0)
        WriteSegment(baseName, fullSegments + 1, rest, checksum, folder);
    if (!checksum.Write())
        throw CFileException(CFileException::diskFull, -1, CSetChecksum::FileName(baseName));
}

// Every segment is tried, so one that cannot go leaves no others behind; the first failure is
// then reported.
long long CSegmentWriter::RemoveWritten() {
    std::optional<CFileException> failed;
    for (long long number = 1; number <= m_made; ++number) {
        try {
            CFile::Remove(CSegmentName::Make(m_baseName, number));
        } catch (const CFileException& error) {
            if (!failed)
                failed = error;
        }
    }
    if (failed)
        throw *failed;
    return m_made;
}

void CSegmentWriter::CheckNames(const std::string& baseName, long long segments) {
    std::vector<std::string> longest;
    if (segments != 0)
        longest.push_back(CSegmentName::Make(baseName, segments));
    // The checksum file's name, and its temporary one of the same length, are longer still.
    longest.push_back(CSetChecksum::FileName(baseName));
    longest.push_back(CSetChecksum::TemporaryName(baseName));
    for (const std::string& name : longest) {
        if (const platform::FileError error = platform::NameLimits::check(name))
            throw CFileException(error, name);
    }
    // Only a shared folder can hold a stranger's name: elsewhere a count of millions costs no look.
    if (!platform::SharedFolder::holds(baseName))
        return;
    for (long long number = 1; number <= segments; ++number) {
        const std::string name = CSegmentName::Make(baseName, number);
        if (const platform::FileError refused = platform::SharedFolder::refusal(name, true))
            throw CFileException(refused, name);
    }
}

void CSegmentWriter::WriteSegment(const std::string& baseName, std::uint64_t number,
                                  std::uint64_t length, CSetChecksum& checksum,
                                  const platform::Folder& folder) {
    CFile segment;
    CFileException error;
    const std::string name = CSegmentName::Make(baseName, static_cast<long long>(number));
    if (!segment.Open(name, createMode, &error, &folder))
        throw error;
    m_made = static_cast<long long>(number);
    if (m_removable)
        segment.SetOnRemovableMedium(*m_removable);
    else
        m_removable = segment.IsOnRemovableMedium();
    checksum.Move(m_source, segment, length);
    // A segment on a removable medium is on it before its step, and so before the user is told
    // to take the medium out; the machine's own disks write back in their own time.
    if (segment.IsOnRemovableMedium())
        segment.Flush();
    segment.Close();
    checksum.EndSegment(name);
    m_progress.StepIt();
    CSegmentTransfer::RepaintNowAndThen();
}
