#include "operations/CSegmentWriter.h"

#include "common/CByteProgress.h"
#include "common/CFileException.h"
#include "common/CSegmentName.h"
#include "common/CSegmentTransfer.h"
#include "common/CSetChecksum.h"
#include "operations/CLeftoverSegments.h"

#include "platform/files/FileEntries.h"
#include "platform/files/FileNames.h"
#include "platform/files/Folder.h"
#include "platform/files/NameLimits.h"
#include "platform/files/SharedFolder.h"
#include "platform/files/WorkFileSweep.h"

#include <vector>

namespace {

constexpr unsigned createMode = CFile::modeCreate | CFile::modeWrite | CFile::typeBinary;

} // namespace

CSegmentWriter::CSegmentWriter(platform::Window dialog, std::initializer_list<int> greyed,
                               CFile& source, CProgressCtrl& progress)
    : m_busy(dialog, greyed), m_source(source), m_progress(progress) {}

// Every join starts from segment 1, so a set without it is no set: segment 1 is written under a
// work file's name and takes its own only after the checksum file, as the last step. However
// the split ends early, what stands under the segments' names is never taken for a whole set.
void CSegmentWriter::WriteSet(const std::string& baseName, std::uint64_t sourceLength,
                              std::uint64_t fullSegments, std::uint64_t segmentLength) {
    m_baseName = baseName;
    CByteProgress progress(m_progress, sourceLength);
    const std::string first = CSegmentName::Make(baseName, 1);
    // The last segment carries exactly what the full ones left, never more than the source holds.
    const std::uint64_t rest = sourceLength - fullSegments * segmentLength;
    CSetChecksum checksum(baseName);
    checksum.RemoveEarlier();
    // A split that writes no segment leaves a file under segment 1's name to the leftovers'
    // question.
    if (fullSegments != 0 || rest != 0)
        CLeftoverSegments::RemoveEarlier(first, baseName);
    const platform::WorkFileSweep sweep(first);
    const platform::Folder folder(baseName);
    try {
        CSegmentTransfer::StartRepaintClock();
        for (std::uint64_t number = 1; number <= fullSegments; ++number)
            WriteSegment(baseName, number, segmentLength, checksum, folder);
        if (rest != 0)
            WriteSegment(baseName, fullSegments + 1, rest, checksum, folder);
        if (!checksum.Write())
            throw CFileException(CFileException::diskFull, -1, CSetChecksum::FileName(baseName));
        if (!m_firstWork.empty())
            NameFirstSegment(first);
        progress.Fill();
    } catch (CFileException& error) {
        // A report names the segment, not the name it was written under.
        if (!m_firstWork.empty() && error.m_strFileName == m_firstWork)
            error.m_strFileName =
                platform::FileNames::fullPath(platform::FileNames::resolve(first).value_or(first));
        RemoveFirstWork();
        throw;
    } catch (const CException&) {
        RemoveFirstWork();
        throw;
    }
    m_firstWork.clear();
}

// Without segment 1 the checksum file would list a set that is not there: it goes as well. A
// file put under segment 1's name meanwhile is not replaced.
void CSegmentWriter::NameFirstSegment(const std::string& first) {
    try {
        // Renamed while still open, and so locked: no sweep takes it meanwhile.
        if (!CFile::Rename(m_firstWork, first, false, m_removable.value_or(false)))
            throw CFileException(CFileException::accessDenied, -1, first);
        m_first.Close();
    } catch (const CFileException&) {
        platform::FileEntries::removeOwn(CSetChecksum::FileName(m_baseName));
        throw;
    }
}

// Before segment 1's work file goes: the report of what ended the split is the one to show.
void CSegmentWriter::LetGoOfFirst() {
    try {
        m_first.Close();
    } catch (const CFileException&) {
    }
}

void CSegmentWriter::RemoveFirstWork() {
    LetGoOfFirst();
    if (!m_firstWork.empty())
        platform::FileEntries::removeOwn(m_firstWork);
}

// Every segment is tried, so one that cannot go leaves no others behind; the first failure is
// then reported.
long long CSegmentWriter::RemoveWritten() {
    std::optional<CFileException> failed;
    for (long long number = 1; number <= m_made; ++number) {
        try {
            if (number == 1) {
                LetGoOfFirst();
                CFile::RemoveOwn(m_firstWork);
            } else
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
    // Segment 1 stays open, and so locked, until it has its name: no sweep of work files, in this
    // process or another, takes it for one that a killed operation left.
    CFile other;
    CFile& segment = number == 1 ? m_first : other;
    CFileException error;
    const std::string name = CSegmentName::Make(baseName, static_cast<long long>(number));
    if (number == 1 ? !segment.OpenWork(name, &error)
                    : !segment.Open(name, createMode, &error, &folder))
        throw error;
    if (number == 1)
        m_firstWork = segment.GetFilePath();
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
    if (number != 1)
        segment.Close();
    checksum.EndSegment(name);
    CSegmentTransfer::RepaintNowAndThen();
}
